// The "Minimize to Tray Menu" page: the command's hotkey and where windows
// minimised to the tray menu go, a menu of their own or the product's menu.
#pragma once

#include "common/Protocol.h"
#include "kz/settings/CommandPage.h"

namespace kz {

class TrayMenuPage final : public CommandPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<TrayMenuPage> Create(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    friend DialogBase;
    explicit TrayMenuPage(PageSite& site) : CommandPage(site, kToCommonTray) {}
    void OnCommand(int id, int code) override;
};

}  // namespace kz
