#include "tests/aero/DwmStandIn.h"

#include <dwmapi.h>

#include <cwchar>

namespace kz::test {

namespace {

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

DwmStandIn::DwmStandIn() {
    const HMODULE module = ::LoadLibraryW(L"dwmapi.dll");  // stays loaded, as the library's binding keeps it
    Bind(module, "DwmStandInSetComposition", setComposition_);
    Bind(module, "DwmStandInGlassCalls", glassCalls_);
    Bind(module, "DwmStandInLastGlassWindow", lastGlassWindow_);
    Bind(module, "DwmStandInLastGlassLeft", lastGlassLeft_);
    Bind(module, "DwmSetWindowAttribute", setAttribute_);
    Bind(module, "DwmGetWindowAttribute", getAttribute_);
    if (!glassCalls_ || !lastGlassWindow_ || !lastGlassLeft_)
        setComposition_ = nullptr;
}

void DwmStandIn::SetComposition(bool on) const {
    if (setComposition_)
        setComposition_(on ? TRUE : FALSE);
}

LONG DwmStandIn::GlassCalls() const { return glassCalls_ ? glassCalls_() : 0; }
HWND DwmStandIn::LastGlassWindow() const { return lastGlassWindow_ ? lastGlassWindow_() : nullptr; }
LONG DwmStandIn::LastGlassLeft() const { return lastGlassLeft_ ? lastGlassLeft_() : 0; }

void DwmStandIn::SetDarkCaption(HWND window, bool dark) const {
    const BOOL value = dark ? TRUE : FALSE;
    if (setAttribute_)
        setAttribute_(window, 20, &value, sizeof value);  // DWMWA_USE_IMMERSIVE_DARK_MODE
}

RECT DwmStandIn::CaptionButtonBounds(HWND window) const {
    RECT bounds{};
    if (getAttribute_)
        getAttribute_(window, DWMWA_CAPTION_BUTTON_BOUNDS, &bounds, sizeof bounds);
    return bounds;
}

namespace {

void SetUserDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}

}  // namespace

void StoreCaptionColourSettings(const CaptionColourSettings& settings) {
    SetUserDword(L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", L"AppsUseLightTheme",
                 settings.appsDark ? 0 : 1);
    SetUserDword(L"Software\\Microsoft\\Windows\\DWM", L"ColorPrevalence", settings.accentOnTitleBars ? 1 : 0);
    SetUserDword(L"Software\\Microsoft\\Windows\\DWM", L"AccentColor", 0xFF000000 | settings.accent);
}

ScopedProgramVersion::ScopedProgramVersion(const wchar_t* fileName, const wchar_t* version)
    : key_(std::wstring(L"Software\\Wine\\AppDefaults\\") + fileName) {
    const DWORD bytes = static_cast<DWORD>((std::wcslen(version) + 1) * sizeof(wchar_t));
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Version", REG_SZ, version, bytes);
}

ScopedProgramVersion::~ScopedProgramVersion() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace kz::test
