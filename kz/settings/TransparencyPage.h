// The "Transparency" page: the command's hotkey and the default transparency
// level on a track bar from opaque to transparent, its value beside it.
#pragma once

#include "common/Protocol.h"
#include "kz/settings/CommandPage.h"

namespace kz {

class TransparencyPage final : public CommandPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<TransparencyPage> Create(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    friend DialogBase;
    explicit TransparencyPage(PageSite& site) : CommandPage(site, kTransparencyToggle) {}
    void OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void TrackBar1Change();
};

}  // namespace kz
