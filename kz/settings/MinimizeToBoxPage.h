// The "Minimize to Box" page: the command's hotkey, the default box size with
// a picture of a box that size, and the default arrangement of the boxes on
// the desktop, chosen with picture buttons in a horizontal and a vertical set.
#pragma once

#include "common/Protocol.h"
#include "kz/settings/CommandPage.h"
#include "kz/settings/Optionseditors.h"

#include <array>

namespace kz {

class MinimizeToBoxPage final : public CommandPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<MinimizeToBoxPage> Create(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

    // The picture Image11 shows: a box of the chosen size.
    HBITMAP BoxPicture() const { return image11_.get(); }

private:
    friend DialogBase;
    explicit MinimizeToBoxPage(PageSite& site) : CommandPage(site, kToBox) {}
    void OnInitDialog() override;
    void FitToScale() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code) override;
    void PlacePixelControls();
    void ShowArrangementPictures();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton8Click(int button);
    void CSpinEdit1Change();
    void CSpinEdit1Changing();
    void ShowArrangement();
    void UpdateBoxPicture();

    ArrangementView arrangement_;
    std::array<UniqueBitmap, 5> boxPictures_;
    std::array<UniqueBitmap, 10> imageList1_;
    UniqueBitmap image11_;
};

}  // namespace kz
