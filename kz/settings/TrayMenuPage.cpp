#include "kz/settings/TrayMenuPage.h"


namespace kz {

WindowPtr<TrayMenuPage> TrayMenuPage::Create(PageSite& site, HWND frame) {
    return MakePage<TrayMenuPage>(site, frame, Page::TrayMenu);
}

void TrayMenuPage::Load(const SettingsRecord& settings) {
    CommandPage::Load(settings);
    SetChecked(IDC_RADIOBUTTON1, settings.TrayMenuSeparate);
    SetChecked(IDC_RADIOBUTTON2, !settings.TrayMenuSeparate);
}

void TrayMenuPage::Store(SettingsRecord& settings) const {
    CommandPage::Store(settings);
    settings.TrayMenuSeparate = Checked(IDC_RADIOBUTTON1);
}

void TrayMenuPage::OnCommand(int id, int code) {
    if ((id == IDC_RADIOBUTTON1 || id == IDC_RADIOBUTTON2) && code == BN_CLICKED)
        OnModifyParameter();
    else
        CommandPage::OnCommand(id, code);
}

}  // namespace kz
