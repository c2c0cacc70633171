// The "Buttons Set" page: the list editor of the caption buttons, a preview
// of a caption with the chosen buttons, and the glyph colour, detected from
// the theme or chosen with the colour button.
#pragma once

#include "kz/capbuttons/Drawbutton.h"
#include "kz/capbuttons/Exbackdrawer.h"
#include "kz/settings/Colorselectbtn.h"
#include "kz/settings/ListEditorView.h"
#include "kz/settings/OptionsPage.h"

namespace kz {

class ButtonsSetPage final : public OptionsPage {
public:
    // mainWindow: the host's window, for which the preview is drawn. Null
    // when the page cannot be made.
    static WindowPtr<ButtonsSetPage> Create(PageSite& site, HWND frame, HWND mainWindow);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;
    // Draws the caption with the chosen buttons in the glyph colour.
    void RedrawPreview();

    const ListEditor& ButtonEditor() const { return buttons_.Editor(); }
    TColorSelectBtn& ColorButton() { return *colorButton_; }
    HBITMAP PreviewBitmap() const { return preview_.get(); }

private:
    friend DialogBase;
    ButtonsSetPage(PageSite& site, HWND mainWindow);
    void OnInitDialog() override;
    void FitToScale() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code) override;
    // Makes the colour button: false when it cannot be made.
    bool MakeColorButton();
    // The preview and the colour button have their sizes in pixels at 100 %.
    void PlacePixelControls();
    SIZE PreviewSize() const;
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void DstListMoveItem(int oldRow, int newRow);
    // After an edit: true when the button set changed.
    void AfterEdit(bool changed);
    void rbGlyphColorAutodetectClick();
    void rbGlyphColorManualClick();
    void ColorButtonClick();
    void ColorButtonChange();

    TButtonGlyphs listGlyphs_;
    ListEditorView buttons_;
    TExBackDrawer previewDrawer_;
    WindowPtr<TColorSelectBtn> colorButton_;
    UniqueBitmap preview_;
};

}  // namespace kz
