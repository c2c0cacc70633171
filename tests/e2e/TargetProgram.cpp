// A plain captioned program for the end-to-end tests: one top-level window,
// titled by its command line, that answers questions about itself.
#include "tests/e2e/TargetAnswers.h"
#include "tests/e2e/TargetQuery.h"

#include <windows.h>

namespace {

using namespace kz::test;

UINT g_queryMessage = 0;
// A subclass procedure of the program's own, put over whatever procedure the
// window has when asked (the library's, once it attached), as programs do.
WNDPROC g_below = nullptr;
LONG g_overSeen = 0;

LRESULT CALLBACK OverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_overSeen;
    return ::CallWindowProcW(g_below, window, message, wParam, lParam);
}

LRESULT SubclassOver(HWND window) {
    if (g_below)
        return 0;
    g_below = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverProcedure)));
    return 1;
}

LRESULT Answer(HWND window, WPARAM question, LPARAM argument) {
    switch (question) {
    case kAskSubclassOver: return SubclassOver(window);
    case kAskOverSeen: return g_overSeen;
    default: return AnswerAboutWindow(window, question, argument);
    }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_queryMessage && g_queryMessage != 0)
        return Answer(window, wParam, lParam);
    switch (message) {
    case WM_NCPAINT: return PaintNonClientCounted(window, wParam, lParam);
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    g_queryMessage = TargetQueryMessage();
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTargetWindowClass;
    ::RegisterClassW(&wc);
    const wchar_t* title = commandLine && *commandLine ? commandLine : L"Barquill target";
    const HWND window = ::CreateWindowExW(0, kTargetWindowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120,
                                          560, 300, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
