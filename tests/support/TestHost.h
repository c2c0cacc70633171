// Test support: a stand-in for the host's main window that records every
// message the library sends it, and waiting on conditions with a time-out.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

namespace kz::test {

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A hidden top-level window on the calling thread that answers 0 to the
// protocol's messages and records them in order of arrival.
class RecordingHost {
public:
    RecordingHost();
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    HWND Window() const { return window_; }
    const std::vector<ReceivedMessage>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }
    // How many messages with this code (and, when given, this window) came.
    int Count(UINT message, HWND about = nullptr) const;

    // Called for each recorded message, inside the SendMessage of the sender.
    std::function<void(const ReceivedMessage&)> onMessage;

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    std::vector<ReceivedMessage> messages_;
};

// Pumps the calling thread's messages until condition() holds or the time is up.
// The time-out only bounds a failure: under load Wine may take seconds.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

// Pumps whatever is queued right now, without waiting.
void PumpPending();

// A mouse event at a screen point. Every event carries the point: a press
// without MOUSEEVENTF_MOVE happens wherever the pointer is, and under Wine the
// pointer may have been put back where the X server last saw it.
INPUT MouseInputAt(int x, int y, DWORD flags);

namespace detail {
template <typename Visit>
BOOL CALLBACK VisitEnumeratedWindow(HWND window, LPARAM context) {
    return (*reinterpret_cast<Visit*>(context))(window) ? TRUE : FALSE;
}
}  // namespace detail

// Calls visit(window) for every child of parent, or every top-level window
// when parent is null, until visit returns false. The system's callbacks
// have their own calling convention on i686, which no lambda has.
template <typename Visit>
void ForEachWindow(HWND parent, Visit visit) {
    const auto callback = &detail::VisitEnumeratedWindow<Visit>;
    if (parent)
        ::EnumChildWindows(parent, callback, reinterpret_cast<LPARAM>(&visit));
    else
        ::EnumWindows(callback, reinterpret_cast<LPARAM>(&visit));
}

}  // namespace kz::test
