// The "Exclude applications" page: the programs whose windows never get the
// added caption buttons, listed with their icons; "Add..." picks programs
// with a file dialog, "Remove" drops the selected ones. The edits reach the
// registry only when the frame saves them on OK.
#pragma once

#include "kz/settings/OptionsPage.h"
#include "kz/settings/Ublacklist.h"

#include <commctrl.h>

namespace kz {

class BlacklistPage final : public OptionsPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<BlacklistPage> Create(PageSite& site, HWND frame);
    ~BlacklistPage() override;

    // Fills the list from the registry; the settings record holds no part of it.
    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;
    // Stores the list; false when the registry refused it.
    bool Save() const { return blacklist_.Save(); }

private:
    friend DialogBase;
    explicit BlacklistPage(PageSite& site) : OptionsPage(site) {}
    void OnInitDialog() override;
    void FitToScale() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code) override;
    void FillBlacklistView();
    void AddBlacklistItem(const TBlackListItem& entry);
    void btnBlacklistAddClick();
    void btnBlacklistRemoveClick();
    void lvBlackListInfoTip(NMLVGETINFOTIPW& tip);

    TBlackList blacklist_;
    HIMAGELIST ilBlackList_ = nullptr;
};

}  // namespace kz
