// A stand-in for the desktop window manager's library, for tests on a
// desktop that composes nothing (Wine): it reports composition on and
// records the calls the library makes. Loaded in place of the system's
// dwmapi.dll from beside the test programs with WINEDLLOVERRIDES="dwmapi=n,b".
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
    if (attribute != DWMWA_NCRENDERING_ENABLED || size != sizeof(BOOL))
        return E_NOTIMPL;
    *static_cast<BOOL*>(value) = g_composition ? TRUE : FALSE;
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
