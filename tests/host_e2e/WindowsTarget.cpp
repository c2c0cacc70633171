// A captioned program with many top-level windows for the host's end-to-end
// tests and benchmarks: one process stands for many programs' windows. Each
// window has a child control and answers the questions of TargetQuery.h about
// itself.
//   kz_windows_target.exe [--count N] [--at X,Y] [--size W,H] [--step DX,DY]
//                         [--announce] [--title TEXT]
// --announce prints "ATTACHED n" on standard output once every window is
// attached to the hook library and the host's main window (its splash) is
// hidden: for scripts that cannot ask a window, such as the demo.
#include "tests/e2e/TargetAnswers.h"
#include "tests/e2e/TargetQuery.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace kz::test;

constexpr wchar_t kWindowClass[] = L"KzWindowsTarget";
constexpr UINT_PTR kAnnounceTimer = 1;

struct Options {
    int count = 1;
    int x = 40, y = 40;
    int width = 560, height = 260;
    int dx = 24, dy = 24;
    bool announce = false;
    std::wstring title = L"Target";
};

UINT g_queryMessage = 0;
std::vector<HWND> g_windows;

// Prints once every window is attached and the host's splash is gone, then stops asking.
void AnnounceWhenAttached(HWND timerWindow) {
    const HWND host = ::FindWindowW(L"TTQuorvane_Invisible_Buttons", nullptr);
    if (!host || ::IsWindowVisible(host))
        return;
    for (HWND window : g_windows)
        if (!ProcedureLiesInHookLibrary(window))
            return;
    ::KillTimer(timerWindow, kAnnounceTimer);
    std::printf("ATTACHED %u\n", static_cast<unsigned>(g_windows.size()));
    std::fflush(stdout);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_queryMessage && g_queryMessage != 0)
        return AnswerAboutWindow(window, wParam, lParam);
    switch (message) {
    case WM_NCPAINT: return PaintNonClientCounted(window, wParam, lParam);
    case WM_TIMER:
        if (wParam == kAnnounceTimer)
            AnnounceWhenAttached(window);
        return 0;
    case WM_CLOSE:
        // Closing any window ends the program with all its windows.
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : L"";
        if (name == L"--announce") {
            options.announce = true;
            continue;
        }
        if (name == L"--count")
            options.count = std::wcstol(value, nullptr, 10);
        else if (name == L"--at")
            std::swscanf(value, L"%d,%d", &options.x, &options.y);
        else if (name == L"--size")
            std::swscanf(value, L"%d,%d", &options.width, &options.height);
        else if (name == L"--step")
            std::swscanf(value, L"%d,%d", &options.dx, &options.dy);
        else if (name == L"--title")
            options.title = value;
        else
            continue;
        ++i;
    }
    return options;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const Options options = ParseOptions(argc, argv);
    ::LocalFree(argv);

    g_queryMessage = TargetQueryMessage();
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);  // its tray icon can be seen
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);

    for (int i = 0; i < options.count; ++i) {
        const std::wstring title = options.count == 1 ? options.title : options.title + L" " + std::to_wstring(i + 1);
        const HWND window = ::CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                              options.x + i * options.dx, options.y + i * options.dy, options.width,
                                              options.height, nullptr, nullptr, instance, nullptr);
        if (!window)
            return 1;
        ::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 8, 8, 120, 20, window, nullptr, instance,
                          nullptr);
        g_windows.push_back(window);
    }
    if (options.announce)
        ::SetTimer(g_windows.front(), kAnnounceTimer, 100, nullptr);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
