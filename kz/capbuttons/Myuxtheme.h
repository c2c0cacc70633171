// The host's access to the visual-styles library. It is bound by name at run
// time: where it is missing the classic look is in force, and every call
// answers as if no visual style were active (no theme data, E_FAIL).
#pragma once

#include "common/Handles.h"

#include <windows.h>
#include <uxtheme.h>

namespace kz::uxtheme {

HTHEME OpenThemeData(HWND window, const wchar_t* classList);
HRESULT CloseThemeData(HTHEME theme);
HRESULT GetCurrentThemeName(wchar_t* fileName, int fileNameChars, wchar_t* colorName, int colorNameChars,
                            wchar_t* sizeName, int sizeNameChars);
HRESULT GetThemeBitmap(HTHEME theme, int part, int state, int property, ULONG flags, HBITMAP* bitmap);
HRESULT GetThemeFilename(HTHEME theme, int part, int state, int property, wchar_t* fileName, int fileNameChars);
HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int property, int* value);
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int property, RECT* rect, MARGINS* margins);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region);
// FALSE where the library is missing: nothing is transparent then.
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
HRESULT DrawThemeParentBackground(HWND window, HDC dc, RECT* rect);

}  // namespace kz::uxtheme

namespace kz {

inline void CloseThemeHandle(HTHEME theme) noexcept { uxtheme::CloseThemeData(theme); }
using UniqueTheme = UniqueHandle<NullHandleTraits<HTHEME, CloseThemeHandle>>;

}  // namespace kz
