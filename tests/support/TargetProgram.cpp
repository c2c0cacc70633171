// kz_target.exe, the captioned program of the end-to-end tests, the
// benchmarks and the demo: one process stands for one or many programs'
// windows. Each top-level window has a child control and answers the
// questions of TargetQuery.h about itself.
//   kz_target.exe [--count N] [--at X,Y] [--size W,H] [--step DX,DY]
//                 [--title TEXT] [--announce [--announce-with CLASS] [--announce-targets N]]
//                 [--own-caption] [--dark]
// A closed window is destroyed; the program ends with its last window.
// The program is aware of each monitor's scale, as programs of today are.
// --own-caption draws the caption itself, as browsers and editors do: no
// non-client area, a bar of its own at the top with its own minimise,
// maximise and close buttons, which it reports in WM_NCHITTEST.
// --dark asks the window manager for dark captions.
// --announce prints "ATTACHED n" on standard output once every window is
// attached to the hook library and the host's main window (its splash) is
// hidden: for scripts that cannot ask a window, such as the demo.
// --announce-with waits for a shown window of another program's class too;
// --announce-targets for N attached target windows on the desktop, of this
// program and others (a 32-bit target's among them).
#include "common/BindFunction.h"
#include "common/Handles.h"
#include "common/Product.h"
#include "tests/support/TargetQuery.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace kz;
using namespace kz::test;

constexpr UINT_PTR kAnnounceTimer = 1;
// Posted to itself: the program stops here for lParam milliseconds.
constexpr UINT kHangMessage = WM_APP + 1;

struct Options {
    bool ownCaption = false;
    bool dark = false;
    int count = 1;
    int x = 40, y = 40;
    int width = 560, height = 260;
    int dx = 24, dy = 24;
    bool announce = false;
    std::wstring announceWith;
    int announceTargets = 0;
    std::wstring title = L"Target";
};

UINT g_queryMessage = 0;
std::vector<HWND> g_windows;
std::wstring g_announceWith;  // the class of another program's window --announce waits for
std::size_t g_announceTargets = 0;  // how many attached target windows on the desktop --announce waits for
bool g_ownCaption = false;
LRESULT g_pressedOwnButton = HTNOWHERE;  // the own caption's button the mouse went down on
// One count for all the program's windows.
LONG g_ncPaints = 0;
// A subclass procedure of the program's own, put over whatever procedure a
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

// Whether the window's procedure lies in trelmo.dll: the library attached to it.
bool ProcedureLiesInHookLibrary(HWND window) {
    const auto procedure = reinterpret_cast<LPCWSTR>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              procedure, &module))
        return false;
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    return length >= 10 && ::_wcsicmp(path + length - 10, L"trelmo.dll") == 0;
}

UINT DpiOf(HWND window);

// The title bar as the system lays it out for this process's scale.
LRESULT TitleBarEdge(HWND window, LPARAM edge) {
    TITLEBARINFO info{};
    info.cbSize = sizeof info;
    RECT frame{};
    if (!::GetTitleBarInfo(window, &info) || !::GetWindowRect(window, &frame))
        return -1;
    const LONG edges[] = {info.rcTitleBar.left - frame.left, info.rcTitleBar.top - frame.top,
                          info.rcTitleBar.right - frame.left, info.rcTitleBar.bottom - frame.top};
    return edge >= 0 && edge < 4 ? edges[edge] : -1;
}

LRESULT TitleWidth(HWND window) {
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const ParametersForDpi forDpi = BindFunction(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, DpiOf(window)))
        return -1;
    wchar_t title[256] = L"";
    const int length = ::GetWindowTextW(window, title, 256);
    const UniqueFont font(::CreateFontIndirectW(&metrics.lfCaptionFont));
    const WindowDC dc = WindowDC::OfClient(window);
    const SelectGuard select(dc.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), title, length, &extent);
    return extent.cx;
}

LRESULT Answer(HWND window, WPARAM question, LPARAM argument) {
    switch (question) {
    case kAskAttached: return ProcedureLiesInHookLibrary(window) ? 1 : 0;
    case kAskNcPaints: return g_ncPaints;
    case kAskSystemMenuCount: return ::GetMenuItemCount(::GetSystemMenu(window, FALSE));
    case kAskSystemMenuId: return static_cast<LRESULT>(::GetMenuItemID(::GetSystemMenu(window, FALSE), argument));
    case kAskSubclassOver: return SubclassOver(window);
    case kAskOverSeen: return g_overSeen;
    case kAskHang: return ::PostMessageW(window, kHangMessage, 0, argument) ? 1 : 0;
    case kAskTitleBar: return TitleBarEdge(window, argument);
    case kAskTitleWidth: return TitleWidth(window);
    default: return -1;
    }
}

// WM_NCPAINT as the system paints it, counted once finished.
LRESULT OnNcPaint(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(window, WM_NCPAINT, wParam, lParam);
    ++g_ncPaints;
    return result;
}

// Target windows of every target program that answer they are attached.
std::size_t AttachedTargetWindows() {
    std::size_t attached = 0;
    for (HWND window = ::FindWindowExW(nullptr, nullptr, kTargetWindowClass, nullptr); window;
         window = ::FindWindowExW(nullptr, window, kTargetWindowClass, nullptr)) {
        DWORD_PTR answer = 0;
        attached += ::SendMessageTimeoutW(window, g_queryMessage, kAskAttached, 0, SMTO_ABORTIFHUNG, 1000, &answer) &&
                    answer == 1;
    }
    return attached;
}

// Prints once every window is attached and the host's splash is gone, then stops asking.
LRESULT OnAnnounceTimer(HWND timerWindow) {
    const HWND host = ::FindWindowW(kMainWindowClass, nullptr);
    if (!host || ::IsWindowVisible(host))
        return 0;
    if (!g_announceWith.empty()) {
        const HWND other = ::FindWindowW(g_announceWith.c_str(), nullptr);
        if (!other || !::IsWindowVisible(other))
            return 0;
    }
    for (HWND window : g_windows)
        if (!ProcedureLiesInHookLibrary(window))
            return 0;
    if (AttachedTargetWindows() < g_announceTargets)
        return 0;
    ::KillTimer(timerWindow, kAnnounceTimer);
    std::printf("ATTACHED %u\n", static_cast<unsigned>(g_windows.size()));
    std::fflush(stdout);
    return 0;
}

LRESULT OnHang(DWORD milliseconds) {
    ::Sleep(milliseconds);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), window), g_windows.end());
    if (g_windows.empty())
        ::PostQuitMessage(0);
    return 0;
}

// ---- the caption the program draws itself ----------------------------------

UINT DpiOf(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFunction getDpi = BindFunction(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    const UINT dpi = getDpi ? getDpi(window) : 0;
    return dpi ? dpi : 96;
}

// The bar at the top and its three buttons, right to left: close, maximise, minimise.
int OwnCaptionHeight(HWND window) { return ::MulDiv(kOwnCaptionHeight, DpiOf(window), 96); }
int OwnButtonWidth(HWND window) { return ::MulDiv(kOwnButtonWidth, DpiOf(window), 96); }

LRESULT OwnCaptionHitTest(HWND window, LPARAM screenPoint) {
    POINT point{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    ::ScreenToClient(window, &point);
    RECT client{};
    ::GetClientRect(window, &client);
    if (point.y < 0 || point.y >= OwnCaptionHeight(window) || point.x < 0 || point.x >= client.right)
        return HTCLIENT;
    const int fromRight = (client.right - 1 - point.x) / OwnButtonWidth(window);
    switch (fromRight) {
    case 0: return HTCLOSE;
    case 1: return HTMAXBUTTON;
    case 2: return HTMINBUTTON;
    default: return HTCAPTION;
    }
}

void PaintOwnCaption(HWND window) {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window, &paint);
    RECT client{};
    ::GetClientRect(window, &client);
    RECT bar{0, 0, client.right, OwnCaptionHeight(window)};
    ::FillRect(dc, &bar, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
    const int width = OwnButtonWidth(window);
    for (int i = 1; i <= 3; ++i) {
        RECT button{client.right - i * width + 2, 2, client.right - (i - 1) * width - 2, bar.bottom - 2};
        ::FillRect(dc, &button, static_cast<HBRUSH>(::GetStockObject(i == 1 ? BLACK_BRUSH : DKGRAY_BRUSH)));
    }
    wchar_t title[128] = L"";
    ::GetWindowTextW(window, title, 128);
    ::SetBkMode(dc, TRANSPARENT);
    RECT text{8, 0, client.right - 3 * width, bar.bottom};
    ::DrawTextW(dc, title, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    ::EndPaint(window, &paint);
}

// The own buttons act when the mouse comes up on the one it went down on.
LRESULT OnOwnButtonDown(HWND window, WPARAM hit, LPARAM lParam) {
    if (hit != HTMINBUTTON && hit != HTMAXBUTTON && hit != HTCLOSE)
        return ::DefWindowProcW(window, WM_NCLBUTTONDOWN, hit, lParam);
    g_pressedOwnButton = static_cast<LRESULT>(hit);
    return 0;
}

LRESULT OnOwnButtonUp(HWND window, WPARAM hit, LPARAM lParam) {
    const LRESULT pressed = std::exchange(g_pressedOwnButton, HTNOWHERE);
    if (pressed != static_cast<LRESULT>(hit))
        return ::DefWindowProcW(window, WM_NCLBUTTONUP, hit, lParam);
    switch (pressed) {
    case HTMINBUTTON: ::ShowWindow(window, SW_MINIMIZE); break;
    case HTMAXBUTTON: ::ShowWindow(window, ::IsZoomed(window) ? SW_RESTORE : SW_MAXIMIZE); break;
    case HTCLOSE: ::PostMessageW(window, WM_CLOSE, 0, 0); break;
    default: break;
    }
    return 0;
}

LRESULT OwnCaptionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (message) {
    case WM_NCCALCSIZE:
        if (wParam)
            return 0;  // the client area is the whole window
        break;
    case WM_NCHITTEST: return OwnCaptionHitTest(window, lParam);
    case WM_PAINT: PaintOwnCaption(window); return 0;
    case WM_NCLBUTTONDOWN: return OnOwnButtonDown(window, wParam, lParam);
    case WM_NCLBUTTONUP: return OnOwnButtonUp(window, wParam, lParam);
    default: break;
    }
    *handled = false;
    return 0;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_queryMessage && g_queryMessage != 0)
        return Answer(window, wParam, lParam);
    if (g_ownCaption) {
        bool handled = false;
        const LRESULT result = OwnCaptionMessage(window, message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    switch (message) {
    case WM_NCPAINT: return OnNcPaint(window, wParam, lParam);
    case WM_TIMER: return wParam == kAnnounceTimer ? OnAnnounceTimer(window) : 0;
    case WM_DESTROY: return OnDestroy(window);
    case kHangMessage: return OnHang(static_cast<DWORD>(lParam));
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void MakeAwareOfEachMonitorsScale() {
    using SetContextFunction = BOOL(WINAPI*)(HANDLE);
    const SetContextFunction setContext =
        BindFunction(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext");
    if (setContext)
        setContext(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
}

void AskForDarkCaption(HWND window) {
    using SetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    // Stays loaded for the life of the program.
    const SetAttributeFunction setAttribute = BindFunction(::LoadLibraryW(L"dwmapi.dll"), "DwmSetWindowAttribute");
    const BOOL dark = TRUE;
    if (setAttribute)
        setAttribute(window, 20, &dark, sizeof dark);  // DWMWA_USE_IMMERSIVE_DARK_MODE
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
        if (name == L"--own-caption") {
            options.ownCaption = true;
            continue;
        }
        if (name == L"--dark") {
            options.dark = true;
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
        else if (name == L"--announce-with")
            options.announceWith = value;
        else if (name == L"--announce-targets")
            options.announceTargets = std::wcstol(value, nullptr, 10);
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
    g_ownCaption = options.ownCaption;
    MakeAwareOfEachMonitorsScale();

    g_queryMessage = TargetQueryMessage();
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);  // its tray icon can be seen
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTargetWindowClass;
    ::RegisterClassW(&wc);

    for (int i = 0; i < options.count; ++i) {
        const std::wstring title = options.count == 1 ? options.title : options.title + L" " + std::to_wstring(i + 1);
        // A dark caption is asked for before the window shows, as programs do.
        const DWORD shown = options.dark ? 0 : WS_VISIBLE;
        const HWND window = ::CreateWindowExW(0, kTargetWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | shown,
                                              options.x + i * options.dx, options.y + i * options.dy, options.width,
                                              options.height, nullptr, nullptr, instance, nullptr);
        if (!window)
            return 1;
        ::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 8, 8, 120, 20, window, nullptr, instance,
                          nullptr);
        g_windows.push_back(window);
        if (options.dark) {
            AskForDarkCaption(window);
            ::ShowWindow(window, SW_SHOW);
        }
    }
    g_announceWith = options.announceWith;
    g_announceTargets = static_cast<std::size_t>(std::max(options.announceTargets, 0));
    if (options.announce)
        ::SetTimer(g_windows.front(), kAnnounceTimer, 100, nullptr);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
