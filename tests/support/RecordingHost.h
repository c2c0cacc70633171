// Test support: a stand-in for the host's main window that records every
// message the library sends it.
#pragma once

#include "tests/support/TestWindows.h"

#include <windows.h>

#include <functional>
#include <optional>
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
    HWND Window() const { return window_.Window(); }
    const std::vector<ReceivedMessage>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }
    // How many messages with this code (and, when given, this window) came.
    int Count(UINT message, HWND about = nullptr) const;

    // Called for each recorded message, inside the SendMessage of the sender.
    std::function<void(const ReceivedMessage&)> onMessage;

private:
    std::optional<LRESULT> Record(UINT message, WPARAM wParam, LPARAM lParam);

    std::vector<ReceivedMessage> messages_;
    TestWindow window_{[this](UINT message, WPARAM wParam, LPARAM lParam) { return Record(message, wParam, lParam); }};
};

}  // namespace kz::test
