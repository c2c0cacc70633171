// kz_message_probe.dll: the hook procedures and shared counters of
// MessageProbe. Nothing here allocates or calls more than the hook chain.
#include "tests/support/MessageProbe.h"

namespace {

using kz::test::ProbeSharedCounts;
using kz::test::ProbeThreadCounts;
constexpr int kMaxTimers = ProbeThreadCounts::kMaxTimers;
constexpr int kMaxCodes = ProbeThreadCounts::kMaxCodes;

__attribute__((section(".probe"), shared)) ProbeSharedCounts g_counts = {};

// The counters of the calling thread; null when nobody probes it.
ProbeThreadCounts* CountsOfThisThread() {
    const DWORD id = ::GetCurrentThreadId();
    for (ProbeThreadCounts& thread : g_counts.threads)
        if (thread.threadId == id)
            return &thread;
    return nullptr;
}

void CountTimer(ProbeThreadCounts& counts, HWND window, UINT_PTR id) {
    const LONG known = counts.timerCount;
    for (LONG i = 0; i < known; ++i)
        if (counts.timerWindows[i] == window && counts.timerIds[i] == id) {
            ::InterlockedIncrement(&counts.timerHits[i]);
            return;
        }
    if (known >= kMaxTimers)
        return;
    counts.timerWindows[known] = window;
    counts.timerIds[known] = id;
    counts.timerHits[known] = 1;
    counts.timerCount = known + 1;
}

// One more message with this code in a table of codes and counts.
void CountCode(UINT message, volatile LONG& count, UINT* codes, volatile LONG* hits) {
    const LONG known = count;
    for (LONG i = 0; i < known; ++i)
        if (codes[i] == message) {
            ::InterlockedIncrement(&hits[i]);
            return;
        }
    if (known >= kMaxCodes)
        return;
    codes[known] = message;
    hits[known] = 1;
    count = known + 1;
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK ProbeRetrieved(int code, WPARAM wParam, LPARAM lParam) {
    ProbeThreadCounts* counts = code == HC_ACTION && wParam == PM_REMOVE ? CountsOfThisThread() : nullptr;
    if (counts) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        ::InterlockedIncrement(&counts->retrieved);
        CountCode(message->message, counts->codeCount, counts->codes, counts->codeHits);
        if (message->message == WM_TIMER)
            CountTimer(*counts, message->hwnd, message->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK ProbeSent(int code, WPARAM wParam, LPARAM lParam) {
    ProbeThreadCounts* counts = code == HC_ACTION ? CountsOfThisThread() : nullptr;
    if (counts) {
        ::InterlockedIncrement(&counts->sent);
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountCode(call->message, counts->sentCodeCount, counts->sentCodes, counts->sentCodeHits);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) ProbeSharedCounts* ProbeCounts() { return &g_counts; }

}  // extern "C"
