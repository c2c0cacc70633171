// A stand-in for the desktop window manager's library, for tests on a
// desktop that composes nothing (Wine): it reports composition on and
// records the calls the library makes. Loaded in place of the system's
// dwmapi.dll from beside the test programs with WINEDLLOVERRIDES="dwmapi=n,b".
// It answers as the window manager of Windows 10 and 11 does: where a
// window's caption buttons are, and the dark captions a window asked for.
#include <windows.h>
#include <dwmapi.h>

namespace {

// Shared by every process that loads the stand-in, so a driver can read what
// a target in another process asked for.
__attribute__((section(".dwmshared"), shared)) volatile LONG g_composition = TRUE;
__attribute__((section(".dwmshared"), shared)) volatile LONG g_glassCalls = 0;
__attribute__((section(".dwmshared"), shared)) volatile LONG g_blurCalls = 0;
__attribute__((section(".dwmshared"), shared)) volatile HWND g_lastGlassWindow = nullptr;
__attribute__((section(".dwmshared"), shared)) volatile LONG g_lastGlassLeft = 0;

// The windows that asked for dark captions. Windows answers the attribute of
// every window; builds before 20H1 answer none, which is what the stand-in
// answers for the windows that never set it.
constexpr DWORD kUseImmersiveDarkMode = 20;
constexpr LONG kDarkWindowSlots = 16;
__attribute__((section(".dwmshared"), shared)) volatile LONG g_darkCount = 0;
__attribute__((section(".dwmshared"), shared)) HWND g_darkWindows[kDarkWindowSlots] = {};
__attribute__((section(".dwmshared"), shared)) BOOL g_darkValues[kDarkWindowSlots] = {};

LONG DarkSlotOf(HWND window) {
    const LONG count = g_darkCount < kDarkWindowSlots ? g_darkCount : kDarkWindowSlots;
    for (LONG i = 0; i < count; ++i)
        if (g_darkWindows[i] == window)
            return i;
    return -1;
}

// Where Windows 10 reports the caption buttons: the system's buttons at the
// title bar's right end, in window coordinates. Wine draws them there too.
HRESULT CaptionButtonBounds(HWND window, RECT* bounds) {
    TITLEBARINFO info{};
    info.cbSize = sizeof info;
    RECT frame{};
    if (!::GetTitleBarInfo(window, &info) || !::GetWindowRect(window, &frame))
        return E_FAIL;
    int buttons = 0;
    for (int i = 2; i <= 5; ++i)  // minimise, maximise, help, close
        if (!(info.rgstate[i] & STATE_SYSTEM_INVISIBLE))
            ++buttons;
    const int width = ::GetSystemMetrics(SM_CXSIZE);
    *bounds = RECT{info.rcTitleBar.right - buttons * width - frame.left, info.rcTitleBar.top - frame.top,
                   info.rcTitleBar.right - frame.left, info.rcTitleBar.bottom - frame.top};
    return S_OK;
}

}  // namespace

extern "C" {

HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
    if (!enabled)
        return E_INVALIDARG;
    *enabled = g_composition ? TRUE : FALSE;
    return S_OK;
}

HRESULT WINAPI DwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size) {
    if (!::IsWindow(window) || !value)
        return E_INVALIDARG;
    if (attribute == DWMWA_NCRENDERING_ENABLED && size == sizeof(BOOL)) {
        *static_cast<BOOL*>(value) = g_composition ? TRUE : FALSE;
        return S_OK;
    }
    if (attribute == DWMWA_CAPTION_BUTTON_BOUNDS && size == sizeof(RECT))
        return CaptionButtonBounds(window, static_cast<RECT*>(value));
    if (attribute == kUseImmersiveDarkMode && size == sizeof(BOOL)) {
        const LONG slot = DarkSlotOf(window);
        if (slot < 0)
            return E_INVALIDARG;
        *static_cast<BOOL*>(value) = g_darkValues[slot];
        return S_OK;
    }
    return E_NOTIMPL;
}

HRESULT WINAPI DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
    if (!::IsWindow(window) || !value)
        return E_INVALIDARG;
    if (attribute != kUseImmersiveDarkMode || size != sizeof(BOOL))
        return E_NOTIMPL;
    LONG slot = DarkSlotOf(window);
    if (slot < 0) {
        slot = ::InterlockedIncrement(&g_darkCount) - 1;
        if (slot >= kDarkWindowSlots)
            return E_OUTOFMEMORY;
        g_darkWindows[slot] = window;
    }
    g_darkValues[slot] = *static_cast<const BOOL*>(value) ? TRUE : FALSE;
    return S_OK;
}

HRESULT WINAPI DwmExtendFrameIntoClientArea(HWND window, const MARGINS* margins) {
    if (!g_composition)
        return static_cast<HRESULT>(0x80263001);  // DWM_E_COMPOSITIONDISABLED
    if (!::IsWindow(window) || !margins)
        return E_INVALIDARG;
    g_lastGlassWindow = window;
    g_lastGlassLeft = margins->cxLeftWidth;
    ::InterlockedIncrement(&g_glassCalls);
    return S_OK;
}

HRESULT WINAPI DwmEnableBlurBehindWindow(HWND window, const DWM_BLURBEHIND* blur) {
    if (!::IsWindow(window) || !blur)
        return E_INVALIDARG;
    ::InterlockedIncrement(&g_blurCalls);
    return S_OK;
}

// The test's controls.
void WINAPI DwmStandInSetComposition(BOOL on) { g_composition = on ? TRUE : FALSE; }
LONG WINAPI DwmStandInGlassCalls() { return g_glassCalls; }
HWND WINAPI DwmStandInLastGlassWindow() { return g_lastGlassWindow; }
LONG WINAPI DwmStandInLastGlassLeft() { return g_lastGlassLeft; }

}  // extern "C"
