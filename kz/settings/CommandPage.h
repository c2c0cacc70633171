// A page that configures one window command: its " Hot-Keys " group with the
// hotkey control and the line that says why the hotkey was not registered.
// The pages of the commands without further settings are this class alone.
#pragma once

#include "kz/settings/OptionsPage.h"

namespace kz {

class CommandPage : public OptionsPage {
public:
    // The page of kind, a command's button kind 1 to 9; null when it cannot be made.
    static WindowPtr<CommandPage> Create(PageSite& site, HWND frame, int kind);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;
    void ShowRefusedHotKeys(const SettingsRecord& settings, const std::vector<RefusedHotKey>& refused) override;

protected:
    CommandPage(PageSite& site, int kind) : OptionsPage(site), kind_(kind) {}

    void OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    friend DialogBase;
    int kind_;
};

}  // namespace kz
