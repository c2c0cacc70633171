// The "Common options" page: start with Windows, tips in the tray, the
// splash screen, button hints and caption text that may run under the
// buttons.
#pragma once

#include "kz/settings/OptionsPage.h"

namespace kz {

class CommonOptionsPage final : public OptionsPage {
public:
    CommonOptionsPage(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    void OnCommand(int id, int code) override;
};

}  // namespace kz
