// kz_message_probe.dll: the hook procedures and shared counters of
// MessageProbe. Nothing here allocates or calls more than the hook chain.
#include "MessageProbe.h"

namespace {

using kz::test::ProbeSharedCounts;
constexpr int kMaxTimers = ProbeSharedCounts::kMaxTimers;
constexpr int kMaxCodes = ProbeSharedCounts::kMaxCodes;

__attribute__((section(".probe"), shared)) ProbeSharedCounts g_counts = {};

void CountTimer(HWND window, UINT_PTR id) {
    const LONG known = g_counts.timerCount;
    for (LONG i = 0; i < known; ++i)
        if (g_counts.timerWindows[i] == window && g_counts.timerIds[i] == id) {
            ::InterlockedIncrement(&g_counts.timerHits[i]);
            return;
        }
    if (known >= kMaxTimers)
        return;
    g_counts.timerWindows[known] = window;
    g_counts.timerIds[known] = id;
    g_counts.timerHits[known] = 1;
    g_counts.timerCount = known + 1;
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
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        ::InterlockedIncrement(&g_counts.retrieved);
        CountCode(message->message, g_counts.codeCount, g_counts.codes, g_counts.codeHits);
        if (message->message == WM_TIMER)
            CountTimer(message->hwnd, message->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK ProbeSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        ::InterlockedIncrement(&g_counts.sent);
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountCode(call->message, g_counts.sentCodeCount, g_counts.sentCodes, g_counts.sentCodeHits);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) void ProbeReset() {
    g_counts.timerCount = 0;
    g_counts.codeCount = 0;
    g_counts.sentCodeCount = 0;
    g_counts.retrieved = 0;
    g_counts.sent = 0;
}

__declspec(dllexport) const void* ProbeCounts() { return &g_counts; }

}  // extern "C"
