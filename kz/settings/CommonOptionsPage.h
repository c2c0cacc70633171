// The "Common options" page: start with Windows, tips in the tray, the
// splash screen, button hints and caption text that may run under the
// buttons.
#pragma once

#include "kz/settings/OptionsPage.h"

namespace kz {

class CommonOptionsPage final : public OptionsPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<CommonOptionsPage> Create(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    friend DialogBase;
    explicit CommonOptionsPage(PageSite& site) : OptionsPage(site) {}
    void OnCommand(int id, int code) override;
};

}  // namespace kz
