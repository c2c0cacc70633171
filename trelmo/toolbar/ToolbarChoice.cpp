#include "trelmo/toolbar/ToolbarChoice.h"

#include "trelmo/toolbar/CaptionToolBarAero.h"
#include "trelmo/toolbar/CaptionToolBarOffice2007.h"
#include "trelmo/toolbar/CaptionToolBarSkype.h"
#include "trelmo/toolbar/CaptionToolBarStd.h"
#include "trelmo/toolbar/CaptionToolBarWin10.h"
#include "trelmo/toolbar/CaptionToolBarXP.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/SystemApi.h"

#include <cwchar>

namespace kz {

namespace {

constexpr const wchar_t* kOffice2007Classes[] = {L"OpusApp", L"XLMAIN", L"rctrl_renwnd32",
                                                 L"PP12FrameClass", L"OMain"};
constexpr const wchar_t* kSkypeClasses[] = {L"tSkMainForm.UnicodeClass", L"THomeForm.UnicodeClass",
                                            L"TConversationForm.UnicodeClass"};

template <std::size_t N>
bool IsOneOf(const wchar_t* name, const wchar_t* const (&names)[N]) {
    for (const wchar_t* candidate : names)
        if (std::wcscmp(name, candidate) == 0)
            return true;
    return false;
}

bool NcRenderingEnabled(HWND window) {
    BOOL enabled = FALSE;
    const SystemApi& api = Api();
    return api.DwmGetWindowAttribute &&
           SUCCEEDED(api.DwmGetWindowAttribute(window, DWMWA_NCRENDERING_ENABLED, &enabled, sizeof enabled)) &&
           enabled;
}

bool Themed(HWND window) { return static_cast<bool>(ThemeHandle(window, L"WINDOW")); }

}  // namespace

ToolbarStyle ChooseToolbarStyle(HWND window, const WindowLook& look) {
    if (!look.composition && IsOneOf(look.className, kOffice2007Classes))
        return ToolbarStyle::Office2007;
    if (IsOneOf(look.className, kSkypeClasses))
        return look.composition ? ToolbarStyle::SkypeAero : ToolbarStyle::Skype;
    // Only a composed desktop lets the helper show the program's caption through.
    if (look.realMajorVersion >= 10 && look.composition && look.drawsOwnCaption && look.drawsOwnCaption(window))
        return ToolbarStyle::ProgramCaption;
    if (look.osMajorVersion > 5 && look.composition && look.ncRenderingEnabled &&
        look.ncRenderingEnabled(window))
        return look.realMajorVersion >= 10 ? ToolbarStyle::Win10 : ToolbarStyle::Aero;
    if (look.themed && look.themed(window))
        return ToolbarStyle::XP;
    return ToolbarStyle::Classic;
}

std::unique_ptr<CaptionToolBar> CreateToolbar(HookedWindow& record) {
    wchar_t className[256] = L"";
    ::GetClassNameW(record.Window(), className, 255);
    const SystemApi& api = Api();
    WindowLook look;
    look.className = className;
    look.composition = api.CompositionEnabled();
    look.osMajorVersion = api.osMajorVersion;
    look.realMajorVersion = api.realMajorVersion;
    look.ncRenderingEnabled = NcRenderingEnabled;
    look.themed = Themed;
    look.drawsOwnCaption = DrawsOwnCaption;

    switch (ChooseToolbarStyle(record.Window(), look)) {
    case ToolbarStyle::Classic: return std::make_unique<CaptionToolBarStd>(record);
    case ToolbarStyle::XP: return std::make_unique<CaptionToolBarXP>(record);
    case ToolbarStyle::Aero: return std::make_unique<CaptionToolBarAero>(record);
    case ToolbarStyle::Win10: return std::make_unique<CaptionToolBarWin10>(record);
    case ToolbarStyle::ProgramCaption: return std::make_unique<CaptionToolBarProgramCaption>(record);
    case ToolbarStyle::Office2007: return std::make_unique<CaptionToolBarOffice2007>(record);
    case ToolbarStyle::Skype: return std::make_unique<CaptionToolBarSkype>(record);
    case ToolbarStyle::SkypeAero: return std::make_unique<CaptionToolBarSkypeAero>(record);
    }
    return nullptr;
}

}  // namespace kz
