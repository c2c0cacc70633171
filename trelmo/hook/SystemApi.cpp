#include "trelmo/hook/SystemApi.h"

namespace kz {

namespace {

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = module ? reinterpret_cast<Function>(
                            reinterpret_cast<void*>(::GetProcAddress(module, name)))
                      : nullptr;
}

DWORD ReadOsMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExW(&info) ? info.dwMajorVersion : 0;
}

BOOL CALLBACK BindAll(PINIT_ONCE, PVOID parameter, PVOID*) {
    SystemApi& api = *static_cast<SystemApi*>(parameter);
    api.osMajorVersion = ReadOsMajorVersion();

    if (api.osMajorVersion > 5) {
        // Stays loaded for the life of the process, as the bound pointers need.
        HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
        Bind(dwm, "DwmIsCompositionEnabled", api.DwmIsCompositionEnabled);
        Bind(dwm, "DwmGetWindowAttribute", api.DwmGetWindowAttribute);
        Bind(dwm, "DwmExtendFrameIntoClientArea", api.DwmExtendFrameIntoClientArea);
        Bind(dwm, "DwmEnableBlurBehindWindow", api.DwmEnableBlurBehindWindow);
    }

    HMODULE theme = ::LoadLibraryW(L"uxtheme.dll");
    Bind(theme, "OpenThemeData", api.OpenThemeData);
    Bind(theme, "CloseThemeData", api.CloseThemeData);
    Bind(theme, "GetCurrentThemeName", api.GetCurrentThemeName);
    Bind(theme, "GetThemeBitmap", api.GetThemeBitmap);
    Bind(theme, "GetThemeFilename", api.GetThemeFilename);
    Bind(theme, "GetThemeInt", api.GetThemeInt);
    Bind(theme, "GetThemeEnumValue", api.GetThemeEnumValue);
    Bind(theme, "GetThemeBool", api.GetThemeBool);
    Bind(theme, "GetThemeColor", api.GetThemeColor);
    Bind(theme, "GetThemeMargins", api.GetThemeMargins);
    Bind(theme, "GetThemePosition", api.GetThemePosition);
    Bind(theme, "GetThemePartSize", api.GetThemePartSize);
    Bind(theme, "GetThemeBackgroundContentRect", api.GetThemeBackgroundContentRect);
    Bind(theme, "GetThemeBackgroundRegion", api.GetThemeBackgroundRegion);
    Bind(theme, "BeginBufferedPaint", api.BeginBufferedPaint);
    Bind(theme, "EndBufferedPaint", api.EndBufferedPaint);
    if (!api.BeginBufferedPaint || !api.EndBufferedPaint)
        api.BeginBufferedPaint = nullptr;  // a buffer that cannot be ended is not begun
    if (!api.OpenThemeData || !api.CloseThemeData)
        api.OpenThemeData = nullptr;  // a theme that cannot be closed is not opened

    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    Bind(user, "GetLayeredWindowAttributes", api.GetLayeredWindowAttributes);
    Bind(user, "SetLayeredWindowAttributes", api.SetLayeredWindowAttributes);
    if (!api.GetLayeredWindowAttributes || !api.SetLayeredWindowAttributes)
    {
        api.GetLayeredWindowAttributes = nullptr;
        api.SetLayeredWindowAttributes = nullptr;
    }
    return TRUE;
}

}  // namespace

bool SystemApi::CompositionEnabled() const {
    BOOL enabled = FALSE;
    return DwmIsCompositionEnabled && SUCCEEDED(DwmIsCompositionEnabled(&enabled)) && enabled;
}

const SystemApi& Api() {
    static SystemApi api;
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    ::InitOnceExecuteOnce(&once, BindAll, &api, nullptr);
    return api;
}

ThemeHandle::ThemeHandle(HWND window, const wchar_t* classList) {
    if (Api().OpenThemeData)
        theme_ = Api().OpenThemeData(window, classList);
}

ThemeHandle::~ThemeHandle() {
    if (theme_)
        Api().CloseThemeData(theme_);
}

}  // namespace kz
