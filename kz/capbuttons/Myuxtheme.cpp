#include "kz/capbuttons/Myuxtheme.h"

#include "common/BindFunction.h"

namespace kz::uxtheme {

namespace {

// The library and its functions, loaded on first use and kept for the run.
// The function types are those the system header declares; nothing here
// links against the library itself.
class VisualStylesLibrary {
public:
    static const VisualStylesLibrary& Instance() {
        static const VisualStylesLibrary library;
        return library;
    }

    decltype(&::OpenThemeData) openThemeData = nullptr;
    decltype(&::CloseThemeData) closeThemeData = nullptr;
    decltype(&::GetCurrentThemeName) getCurrentThemeName = nullptr;
    decltype(&::GetThemeBitmap) getThemeBitmap = nullptr;
    decltype(&::GetThemeFilename) getThemeFilename = nullptr;
    decltype(&::GetThemeEnumValue) getThemeEnumValue = nullptr;
    decltype(&::GetThemeMargins) getThemeMargins = nullptr;
    decltype(&::GetThemeBackgroundRegion) getThemeBackgroundRegion = nullptr;
    decltype(&::IsThemeBackgroundPartiallyTransparent) isThemeBackgroundPartiallyTransparent = nullptr;
    decltype(&::DrawThemeParentBackground) drawThemeParentBackground = nullptr;

private:
    VisualStylesLibrary() : module_(::LoadLibraryA("uxtheme.dll")) {
        const HMODULE module = module_.get();
        openThemeData = BindFunction(module, "OpenThemeData");
        closeThemeData = BindFunction(module, "CloseThemeData");
        getCurrentThemeName = BindFunction(module, "GetCurrentThemeName");
        getThemeBitmap = BindFunction(module, "GetThemeBitmap");
        getThemeFilename = BindFunction(module, "GetThemeFilename");
        getThemeEnumValue = BindFunction(module, "GetThemeEnumValue");
        getThemeMargins = BindFunction(module, "GetThemeMargins");
        getThemeBackgroundRegion = BindFunction(module, "GetThemeBackgroundRegion");
        isThemeBackgroundPartiallyTransparent = BindFunction(module, "IsThemeBackgroundPartiallyTransparent");
        drawThemeParentBackground = BindFunction(module, "DrawThemeParentBackground");
    }

    UniqueModule module_;
};

const VisualStylesLibrary& Library() { return VisualStylesLibrary::Instance(); }

// Calls a bound function, or answers E_FAIL when the library lacks it.
template <typename Function, typename... Arguments>
HRESULT CallOrFail(Function function, Arguments... arguments) {
    return function ? function(arguments...) : E_FAIL;
}

}  // namespace

HTHEME OpenThemeData(HWND window, const wchar_t* classList) {
    const auto function = Library().openThemeData;
    return function ? function(window, classList) : nullptr;
}

HRESULT CloseThemeData(HTHEME theme) { return CallOrFail(Library().closeThemeData, theme); }

HRESULT GetCurrentThemeName(wchar_t* fileName, int fileNameChars, wchar_t* colorName, int colorNameChars,
                            wchar_t* sizeName, int sizeNameChars) {
    return CallOrFail(Library().getCurrentThemeName, fileName, fileNameChars, colorName, colorNameChars, sizeName,
                      sizeNameChars);
}

HRESULT GetThemeBitmap(HTHEME theme, int part, int state, int property, ULONG flags, HBITMAP* bitmap) {
    return CallOrFail(Library().getThemeBitmap, theme, part, state, property, flags, bitmap);
}

HRESULT GetThemeFilename(HTHEME theme, int part, int state, int property, wchar_t* fileName, int fileNameChars) {
    return CallOrFail(Library().getThemeFilename, theme, part, state, property, fileName, fileNameChars);
}

HRESULT GetThemeEnumValue(HTHEME theme, int part, int state, int property, int* value) {
    return CallOrFail(Library().getThemeEnumValue, theme, part, state, property, value);
}

HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int property, RECT* rect, MARGINS* margins) {
    return CallOrFail(Library().getThemeMargins, theme, dc, part, state, property, rect, margins);
}

HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC dc, int part, int state, const RECT* rect, HRGN* region) {
    return CallOrFail(Library().getThemeBackgroundRegion, theme, dc, part, state, rect, region);
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state) {
    const auto function = Library().isThemeBackgroundPartiallyTransparent;
    return function ? function(theme, part, state) : FALSE;
}

HRESULT DrawThemeParentBackground(HWND window, HDC dc, RECT* rect) {
    return CallOrFail(Library().drawThemeParentBackground, window, dc, rect);
}

}  // namespace kz::uxtheme
