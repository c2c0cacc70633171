#include "kz/settings/CommonOptionsPage.h"

namespace kz {

WindowPtr<CommonOptionsPage> CommonOptionsPage::Create(PageSite& site, HWND frame) {
    return MakePage<CommonOptionsPage>(site, frame, Page::CommonOptions);
}

void CommonOptionsPage::Load(const SettingsRecord& settings) {
    SetChecked(IDC_CBRUNONSTARTUP, settings.RunOnStartUp != 0);
    SetChecked(IDC_CBSHOWSPLASH, settings.ShowSplash);
    SetChecked(IDC_CBSHOWTIPS, settings.ShowTips);
    SetChecked(IDC_CBALLOWOVERFLOWCAPTIONTEXT, settings.AllowOverflowCaptionText);
    SetChecked(IDC_CBSHOWBUTTONHINTS, settings.ShowButtonHints);
}

void CommonOptionsPage::Store(SettingsRecord& settings) const {
    settings.RunOnStartUp = Checked(IDC_CBRUNONSTARTUP) ? 1 : 0;
    settings.ShowTips = Checked(IDC_CBSHOWTIPS);
    settings.ShowSplash = Checked(IDC_CBSHOWSPLASH);
    settings.AllowOverflowCaptionText = Checked(IDC_CBALLOWOVERFLOWCAPTIONTEXT);
    settings.ShowButtonHints = Checked(IDC_CBSHOWBUTTONHINTS);
}

void CommonOptionsPage::OnCommand(int id, int code) {
    switch (id) {
    case IDC_CBRUNONSTARTUP:
    case IDC_CBSHOWTIPS:
    case IDC_CBSHOWSPLASH:
    case IDC_CBSHOWBUTTONHINTS:
    case IDC_CBALLOWOVERFLOWCAPTIONTEXT:
        if (code == BN_CLICKED)
            OnModifyParameter();
        break;
    default: break;
    }
}

}  // namespace kz
