#include "kz/settings/CommandPage.h"

#include "kz/settings/Optionseditors.h"

#include <commctrl.h>

#include <algorithm>

namespace kz {

WindowPtr<CommandPage> CommandPage::Create(PageSite& site, HWND frame, int kind) {
    return MakePage<CommandPage>(site, frame, PageOfKind(kind), kind);
}

void CommandPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    // Neither a bare key nor Shift alone: such a combination gets Alt.
    ::SendMessageW(Item(IDC_HOTKEY_BASE + kind_), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
}

void CommandPage::Load(const SettingsRecord& settings) {
    ::SendMessageW(Item(IDC_HOTKEY_BASE + kind_), HKM_SETHOTKEY, ControlValueOfStoredHotKey(settings.HotKeys[kind_]), 0);
}

void CommandPage::Store(SettingsRecord& settings) const {
    settings.HotKeys[kind_] =
        StoredHotKeyOfControl(static_cast<uint16_t>(::SendMessageW(Item(IDC_HOTKEY_BASE + kind_), HKM_GETHOTKEY, 0, 0)));
}

void CommandPage::ShowRefusedHotKeys(const SettingsRecord& settings, const std::vector<RefusedHotKey>& refused) {
    const auto hit =
        std::find_if(refused.begin(), refused.end(), [this](const RefusedHotKey& r) { return r.kind == kind_; });
    const std::wstring text = hit == refused.end() ? L"" : HotKeyRefusalText(settings, *hit);
    ::SetWindowTextW(Item(IDC_HOTKEY_STATUS_BASE + kind_), text.c_str());
}

void CommandPage::OnCommand(int id, int code) {
    if (id == IDC_HOTKEY_BASE + kind_ && code == EN_CHANGE)
        OnModifyParameter();
}

}  // namespace kz
