// Prints what the hook library costs: per message in its hook procedure, per
// message sent to an attached window, and per attach. Runs the library's
// code in this process, so the system's own hook chain is left out.
#include "HookProcedure.h"
#include "HookedWindow.h"
#include "LibraryInProcess.h"
#include "ScratchRegistry.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace kz;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of a few runs, in nanoseconds per call.
template <typename Body>
double NanosecondsPerCall(int calls, Body body) {
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
        const double start = Now();
        for (int i = 0; i < calls; ++i)
            body(i);
        best = std::min(best, (Now() - start) / calls * 1e9);
    }
    return best;
}

LRESULT CALLBACK EmptyHook(int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class IdleHandler : public WindowHandler {
public:
    LRESULT OnMessage(UINT, WPARAM*, LPARAM*) override { return 0; }
    LRESULT AfterMessage(UINT, WPARAM, LPARAM) override { return 0; }
};

// The least any subclassing costs: a procedure that only passes the message on.
WNDPROC g_minimalPrevious = nullptr;
LRESULT CALLBACK MinimalSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_minimalPrevious, window, message, wParam, lParam);
}

// What a window usually carries: the system-menu extension and a toolbar.
void InstallIdleHandlers(HookedWindow& record) {
    record.AddHandler(std::make_unique<IdleHandler>());
    record.AddHandler(std::make_unique<IdleHandler>());
}

}  // namespace

int main() {
    test::ScratchRegistry registry;
    test::LibraryInProcess library(InstallIdleHandlers);
    const HWND attached = test::CreateTestWindow();
    const HWND plain = test::CreateTestWindow();
    const HWND minimal = test::CreateTestWindow();
    g_minimalPrevious = reinterpret_cast<WNDPROC>(
        ::SetWindowLongW(minimal, GWL_WNDPROC, reinterpret_cast<LONG>(&MinimalSubclass)));
    library.Attach(attached);
    if (!library.IsAttached(attached)) {
        std::printf("the test window was not attached\n");
        return 1;
    }

    constexpr int kCalls = 200000;
    const UINT messages[] = {WM_MOUSEMOVE, WM_SETCURSOR, WM_NCHITTEST, WM_TIMER, WM_PAINT, WM_GETTEXT};
    std::vector<CWPRETSTRUCT> calls;
    for (UINT message : messages) {
        CWPRETSTRUCT call{};
        call.hwnd = attached;
        call.message = message;
        calls.push_back(call);
    }
    const auto callAt = [&](int i) { return reinterpret_cast<LPARAM>(&calls[static_cast<std::size_t>(i) % calls.size()]); };
    const double empty = NanosecondsPerCall(kCalls, [&](int i) { EmptyHook(HC_ACTION, 0, callAt(i)); });
    const double hook = NanosecondsPerCall(kCalls, [&](int i) { HookProcedure(HC_ACTION, 0, callAt(i)); });
    std::printf("hook procedure, other messages: %.1f ns per call; empty hook procedure %.1f ns; ratio %.3f\n",
                hook, empty, hook / empty);

    constexpr int kSends = 200000;
    const double unattached = NanosecondsPerCall(kSends, [&](int) { ::SendMessageW(plain, WM_USER + 5, 1, 2); });
    const double subclassed = NanosecondsPerCall(kSends, [&](int) { ::SendMessageW(attached, WM_USER + 5, 1, 2); });
    const double passOn = NanosecondsPerCall(kSends, [&](int) { ::SendMessageW(minimal, WM_USER + 5, 1, 2); });
    std::printf("SendMessage round trip: attached %.1f ns, unattached %.1f ns; ratio %.3f\n", subclassed, unattached,
                subclassed / unattached);
    std::printf("  (a subclass procedure that only passes the message on: %.1f ns; ratio %.3f)\n", passOn,
                passOn / unattached);

    constexpr int kWindows = 200;
    std::vector<HWND> windows;
    for (int i = 0; i < kWindows; ++i)
        windows.push_back(test::CreateTestWindow());
    const double start = Now();
    for (HWND window : windows)
        library.Attach(window);
    const double attach = (Now() - start) / kWindows * 1e6;
    std::printf("attach (eligibility, settings and blacklist read, subclassing): %.1f us per window\n", attach);

    for (HWND window : windows)
        ::DestroyWindow(window);
    ::DestroyWindow(attached);
    ::DestroyWindow(plain);
    ::DestroyWindow(minimal);
    return 0;
}
