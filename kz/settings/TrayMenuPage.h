// The "Minimize to Tray Menu" page: the command's hotkey and where windows
// minimised to the tray menu go, a menu of their own or the product's menu.
#pragma once

#include "kz/settings/CommandPage.h"

namespace kz {

class TrayMenuPage final : public CommandPage {
public:
    TrayMenuPage(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    void OnCommand(int id, int code) override;
};

}  // namespace kz
