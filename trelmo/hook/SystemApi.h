// Optional system functions, bound by name the first time they are needed
// (not at load: loading libraries under the loader lock can deadlock).
// A missing function is null and counts as failing; callers fall back.
#pragma once

#include <windows.h>
#include <dwmapi.h>
#include <uxtheme.h>

namespace kz {

struct SystemApi {
    DWORD osMajorVersion = 0;
    // The system's own version, which programs without a manifest that names
    // it are not told (they hear 6.2 on Windows 8 and later).
    DWORD realMajorVersion = 0;

    // dwmapi.dll, only on systems above major version 5
    HRESULT(WINAPI* DwmIsCompositionEnabled)(BOOL*) = nullptr;
    HRESULT(WINAPI* DwmGetWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
    HRESULT(WINAPI* DwmExtendFrameIntoClientArea)(HWND, const MARGINS*) = nullptr;
    HRESULT(WINAPI* DwmEnableBlurBehindWindow)(HWND, const DWM_BLURBEHIND*) = nullptr;

    // uxtheme.dll
    HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
    HRESULT(WINAPI* GetCurrentThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int) = nullptr;
    HRESULT(WINAPI* GetThemeBitmap)(HTHEME, int, int, int, ULONG, HBITMAP*) = nullptr;
    HRESULT(WINAPI* GetThemeFilename)(HTHEME, int, int, int, LPWSTR, int) = nullptr;
    HRESULT(WINAPI* GetThemeInt)(HTHEME, int, int, int, int*) = nullptr;
    HRESULT(WINAPI* GetThemeEnumValue)(HTHEME, int, int, int, int*) = nullptr;
    HRESULT(WINAPI* GetThemeBool)(HTHEME, int, int, int, BOOL*) = nullptr;
    HRESULT(WINAPI* GetThemeColor)(HTHEME, int, int, int, COLORREF*) = nullptr;
    HRESULT(WINAPI* GetThemeMargins)(HTHEME, HDC, int, int, int, LPCRECT, MARGINS*) = nullptr;
    HRESULT(WINAPI* GetThemePosition)(HTHEME, int, int, int, POINT*) = nullptr;
    HRESULT(WINAPI* GetThemePartSize)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*) = nullptr;
    HRESULT(WINAPI* GetThemeBackgroundContentRect)(HTHEME, HDC, int, int, LPCRECT, LPRECT) = nullptr;
    HRESULT(WINAPI* GetThemeBackgroundRegion)(HTHEME, HDC, int, int, LPCRECT, HRGN*) = nullptr;
    HPAINTBUFFER(WINAPI* BeginBufferedPaint)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*) = nullptr;
    HRESULT(WINAPI* EndBufferedPaint)(HPAINTBUFFER, BOOL) = nullptr;

    // user32, Windows 10 (1607) and later: metrics and fonts in a window's own scale
    BOOL(WINAPI* SystemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;

    // user32, both or neither
    BOOL(WINAPI* GetLayeredWindowAttributes)(HWND, COLORREF*, BYTE*, DWORD*) = nullptr;
    BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;

    // Composition is on: the function exists, succeeds and says so.
    bool CompositionEnabled() const;
};

// Binds on the first call in the process, on whichever thread comes first.
const SystemApi& Api();

// Owns an HTHEME from the bound OpenThemeData.
class ThemeHandle {
public:
    ThemeHandle(HWND window, const wchar_t* classList);
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;
    ~ThemeHandle();
    HTHEME get() const { return theme_; }
    explicit operator bool() const { return theme_ != nullptr; }

private:
    HTHEME theme_ = nullptr;
};

}  // namespace kz
