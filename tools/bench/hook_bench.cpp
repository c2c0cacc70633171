// Prints what the hook library costs: per message in its hook procedure, per
// message sent to an attached window, and per attach. Runs the library's
// code in this process, so the system's own hook chain is left out.
#include "trelmo/hook/HookProcedure.h"
#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TestWindows.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>
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

// Nanoseconds per call of one run.
template <typename Body>
double RunNanoseconds(int calls, Body body) {
    const double start = Now();
    for (int i = 0; i < calls; ++i)
        body(i);
    return (Now() - start) / calls * 1e9;
}

// The best of several runs of two bodies taken in turns, so that a busy
// moment of the machine weighs on both alike.
template <typename First, typename Second>
std::pair<double, double> CompareNanoseconds(int calls, First first, Second second) {
    std::pair<double, double> best{1e30, 1e30};
    for (int run = 0; run < 9; ++run) {
        best.first = std::min(best.first, RunNanoseconds(calls, first));
        best.second = std::min(best.second, RunNanoseconds(calls, second));
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
        ::SetWindowLongPtrW(minimal, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MinimalSubclass)));
    library.Attach(attached);
    if (!library.IsAttached(attached)) {
        std::printf("the test window was not attached\n");
        return 1;
    }

    constexpr int kCalls = 50000;
    const UINT messages[] = {WM_MOUSEMOVE, WM_SETCURSOR, WM_NCHITTEST, WM_TIMER, WM_PAINT, WM_GETTEXT};
    std::vector<CWPRETSTRUCT> calls;
    for (UINT message : messages) {
        CWPRETSTRUCT call{};
        call.hwnd = attached;
        call.message = message;
        calls.push_back(call);
    }
    const auto callAt = [&](int i) { return reinterpret_cast<LPARAM>(&calls[static_cast<std::size_t>(i) % calls.size()]); };
    const auto [hook, empty] =
        CompareNanoseconds(kCalls, [&](int i) { HookProcedure(HC_ACTION, 0, callAt(i)); },
                           [&](int i) { EmptyHook(HC_ACTION, 0, callAt(i)); });
    std::printf("hook procedure, other messages: %.1f ns per call; empty hook procedure %.1f ns; ratio %.3f\n",
                hook, empty, hook / empty);

    constexpr int kSends = 200000;
    const auto [subclassed, unattached] =
        CompareNanoseconds(kSends, [&](int) { ::SendMessageW(attached, WM_USER + 5, 1, 2); },
                           [&](int) { ::SendMessageW(plain, WM_USER + 5, 1, 2); });
    const auto [passOn, unattachedAgain] =
        CompareNanoseconds(kSends, [&](int) { ::SendMessageW(minimal, WM_USER + 5, 1, 2); },
                           [&](int) { ::SendMessageW(plain, WM_USER + 5, 1, 2); });
    std::printf("SendMessage round trip: attached %.1f ns, unattached %.1f ns; ratio %.3f\n", subclassed, unattached,
                subclassed / unattached);
    std::printf("  a subclass procedure that only passes the message on: %.1f ns; ratio %.3f to unattached,\n"
                "  so the library's own share of an attached window's round trip is %.3f\n",
                passOn, passOn / unattachedAgain, subclassed / passOn);

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
