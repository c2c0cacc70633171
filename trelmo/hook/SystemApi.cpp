#include "trelmo/hook/SystemApi.h"

#include "common/BindFunction.h"

namespace kz {

namespace {

DWORD ReadOsMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExW(&info) ? info.dwMajorVersion : 0;
}

// ntdll answers with the version the system really is, whatever the program's manifest says.
DWORD ReadRealMajorVersion(DWORD compatibleAnswer) {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const RtlGetVersionFunction getVersion = BindFunction(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return getVersion && getVersion(&info) == 0 ? info.dwMajorVersion : compatibleAnswer;
}

BOOL CALLBACK BindAll(PINIT_ONCE, PVOID parameter, PVOID*) {
    SystemApi& api = *static_cast<SystemApi*>(parameter);
    api.osMajorVersion = ReadOsMajorVersion();
    api.realMajorVersion = ReadRealMajorVersion(api.osMajorVersion);

    if (api.osMajorVersion > 5) {
        // Stays loaded for the life of the process, as the bound pointers need.
        HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
        api.DwmIsCompositionEnabled = BindFunction(dwm, "DwmIsCompositionEnabled");
        api.DwmGetWindowAttribute = BindFunction(dwm, "DwmGetWindowAttribute");
        api.DwmExtendFrameIntoClientArea = BindFunction(dwm, "DwmExtendFrameIntoClientArea");
        api.DwmEnableBlurBehindWindow = BindFunction(dwm, "DwmEnableBlurBehindWindow");
    }

    HMODULE theme = ::LoadLibraryW(L"uxtheme.dll");
    api.OpenThemeData = BindFunction(theme, "OpenThemeData");
    api.CloseThemeData = BindFunction(theme, "CloseThemeData");
    api.GetCurrentThemeName = BindFunction(theme, "GetCurrentThemeName");
    api.GetThemeBitmap = BindFunction(theme, "GetThemeBitmap");
    api.GetThemeFilename = BindFunction(theme, "GetThemeFilename");
    api.GetThemeInt = BindFunction(theme, "GetThemeInt");
    api.GetThemeEnumValue = BindFunction(theme, "GetThemeEnumValue");
    api.GetThemeBool = BindFunction(theme, "GetThemeBool");
    api.GetThemeColor = BindFunction(theme, "GetThemeColor");
    api.GetThemeMargins = BindFunction(theme, "GetThemeMargins");
    api.GetThemePosition = BindFunction(theme, "GetThemePosition");
    api.GetThemePartSize = BindFunction(theme, "GetThemePartSize");
    api.GetThemeBackgroundContentRect = BindFunction(theme, "GetThemeBackgroundContentRect");
    api.GetThemeBackgroundRegion = BindFunction(theme, "GetThemeBackgroundRegion");
    api.BeginBufferedPaint = BindFunction(theme, "BeginBufferedPaint");
    api.EndBufferedPaint = BindFunction(theme, "EndBufferedPaint");
    if (!api.BeginBufferedPaint || !api.EndBufferedPaint)
        api.BeginBufferedPaint = nullptr;  // a buffer that cannot be ended is not begun
    if (!api.OpenThemeData || !api.CloseThemeData)
        api.OpenThemeData = nullptr;  // a theme that cannot be closed is not opened

    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    api.SystemParametersInfoForDpi = BindFunction(user, "SystemParametersInfoForDpi");
    api.GetLayeredWindowAttributes = BindFunction(user, "GetLayeredWindowAttributes");
    api.SetLayeredWindowAttributes = BindFunction(user, "SetLayeredWindowAttributes");
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
