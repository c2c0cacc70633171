#include "Myuxtheme.h"

namespace kz::uxtheme {

namespace {

using OpenThemeDataFunction = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFunction = HRESULT(WINAPI*)(HTHEME);
using GetCurrentThemeNameFunction = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

// The library and its functions, loaded on first use and kept for the run.
class VisualStylesLibrary {
public:
    static const VisualStylesLibrary& Instance() {
        static const VisualStylesLibrary library;
        return library;
    }

    OpenThemeDataFunction openThemeData = nullptr;
    CloseThemeDataFunction closeThemeData = nullptr;
    GetCurrentThemeNameFunction getCurrentThemeName = nullptr;

private:
    VisualStylesLibrary() : module_(::LoadLibraryA("uxtheme.dll")) {
        if (!module_)
            return;
        Bind(openThemeData, "OpenThemeData");
        Bind(closeThemeData, "CloseThemeData");
        Bind(getCurrentThemeName, "GetCurrentThemeName");
    }

    template <typename Function>
    void Bind(Function& function, const char* name) {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
    }

    UniqueModule module_;
};

}  // namespace

HTHEME OpenThemeData(HWND window, const wchar_t* classList) {
    const auto function = VisualStylesLibrary::Instance().openThemeData;
    return function ? function(window, classList) : nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
    const auto function = VisualStylesLibrary::Instance().closeThemeData;
    return function ? function(theme) : E_FAIL;
}

HRESULT GetCurrentThemeName(wchar_t* fileName, int fileNameChars, wchar_t* colorName, int colorNameChars,
                            wchar_t* sizeName, int sizeNameChars) {
    const auto function = VisualStylesLibrary::Instance().getCurrentThemeName;
    return function ? function(fileName, fileNameChars, colorName, colorNameChars, sizeName, sizeNameChars)
                    : E_FAIL;
}

}  // namespace kz::uxtheme
