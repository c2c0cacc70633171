#include "kz/settings/TransparencyPage.h"

#include <commctrl.h>

#include <string>

namespace kz {

WindowPtr<TransparencyPage> TransparencyPage::Create(PageSite& site, HWND frame) {
    return MakePage<TransparencyPage>(site, frame, Page::Transparency);
}

void TransparencyPage::OnInitDialog() {
    CommandPage::OnInitDialog();
    const HWND trackBar = Item(IDC_TRACKBAR1);
    ::SendMessageW(trackBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    ::SendMessageW(trackBar, TBM_SETTICFREQ, 5, 0);
    ::SendMessageW(trackBar, TBM_SETPAGESIZE, 0, 10);
}

void TransparencyPage::Load(const SettingsRecord& settings) {
    CommandPage::Load(settings);
    ::SendMessageW(Item(IDC_TRACKBAR1), TBM_SETPOS, TRUE, settings.TransparencyLevel);
    TrackBar1Change();
}

void TransparencyPage::Store(SettingsRecord& settings) const {
    CommandPage::Store(settings);
    settings.TransparencyLevel = static_cast<int8_t>(::SendMessageW(Item(IDC_TRACKBAR1), TBM_GETPOS, 0, 0));
}

INT_PTR TransparencyPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HSCROLL)
        return CommandPage::HandleMessage(message, wParam, lParam);
    if (reinterpret_cast<HWND>(lParam) == Item(IDC_TRACKBAR1))
        TrackBar1Change();
    return TRUE;
}

void TransparencyPage::TrackBar1Change() {
    const auto position = ::SendMessageW(Item(IDC_TRACKBAR1), TBM_GETPOS, 0, 0);
    ::SetWindowTextW(Item(IDC_LABEL54), (std::to_wstring(position) + L"%").c_str());
    OnModifyParameter();
}

}  // namespace kz
