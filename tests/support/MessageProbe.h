// A probe that counts the messages one thread of another process handles:
// kz_message_probe.dll holds two hook procedures (retrieved messages and sent
// messages) and their counters in a section every process shares. The caller
// installs the hooks for the thread with MessageProbe; the system loads the
// library into the thread's process, and the counters are read here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kz::test {

// The counters as the library keeps them in its shared section: one set per
// probed thread, claimed by MessageProbe::Attach.
struct ProbeThreadCounts {
    static constexpr int kMaxTimers = 32;
    static constexpr int kMaxCodes = 64;
    volatile DWORD threadId;
    volatile LONG retrieved;
    volatile LONG sent;
    volatile LONG timerCount;
    HWND timerWindows[kMaxTimers];
    UINT_PTR timerIds[kMaxTimers];
    volatile LONG timerHits[kMaxTimers];
    volatile LONG codeCount;
    UINT codes[kMaxCodes];
    volatile LONG codeHits[kMaxCodes];
    volatile LONG sentCodeCount;
    UINT sentCodes[kMaxCodes];
    volatile LONG sentCodeHits[kMaxCodes];
};

struct ProbeSharedCounts {
    static constexpr int kMaxThreads = 8;
    ProbeThreadCounts threads[kMaxThreads];
};

struct ProbeTimer {
    HWND window;
    UINT_PTR id;
    long count;
};

struct ProbeMessage {
    UINT message;
    long count;
};

struct ProbeCounts {
    long retrieved = 0;  // messages taken from the queue (GetMessage, PeekMessage with PM_REMOVE)
    long sent = 0;       // messages sent to the thread's windows
    std::vector<ProbeTimer> timers;
    std::vector<ProbeMessage> retrievedByCode;
    std::vector<ProbeMessage> sentByCode;

    // How many messages with this code were retrieved or sent.
    long Count(UINT message) const;
};

class MessageProbe {
public:
    MessageProbe();
    ~MessageProbe();
    MessageProbe(const MessageProbe&) = delete;
    MessageProbe& operator=(const MessageProbe&) = delete;

    bool Loaded() const { return library_ != nullptr; }
    // Hooks the thread; counting starts from zero.
    bool Attach(DWORD threadId);
    void Reset();
    ProbeCounts Counts() const;

private:
    ProbeThreadCounts* Slot() const;

    HMODULE library_ = nullptr;
    DWORD threadId_ = 0;
    HHOOK retrievedHook_ = nullptr;
    HHOOK sentHook_ = nullptr;
};

}  // namespace kz::test
