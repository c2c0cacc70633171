#include "kz/settings/ButtonsSetPage.h"

#include "kz/settings/Usettingsfile.h"

#include <vector>

namespace kz {

namespace {

constexpr SIZE kPreviewSize{433, 33};
constexpr POINT kColorButtonOffset{344, 10};

// The colour of the list rows' glyphs: that of the default settings.
COLORREF ListGlyphColor() {
    SettingsRecord defaults;
    SetDefaultSettings(defaults);
    return EffectiveGlyphColor(defaults);
}

}  // namespace

WindowPtr<ButtonsSetPage> ButtonsSetPage::Create(PageSite& site, HWND frame, HWND mainWindow) {
    WindowPtr<ButtonsSetPage> page = MakePage<ButtonsSetPage>(site, frame, Page::ButtonsSet, mainWindow);
    if (!page || !page->MakeColorButton())
        return nullptr;
    page->PlacePixelControls();
    return page;
}

ButtonsSetPage::ButtonsSetPage(PageSite& site, HWND mainWindow)
    : OptionsPage(site),
      listGlyphs_(ListGlyphColor()),
      buttons_({IDC_SRCLIST, IDC_DSTLIST, IDC_BUTTON5, IDC_BUTTON6, IDC_BUTTON7, IDC_BUTTON8, IDC_BUTTONS_LIMIT},
               kLastButtonCode, ListEditorView::ChosenRows::Reversed, &listGlyphs_),
      previewDrawer_(mainWindow, 0) {}

void ButtonsSetPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    buttons_.SetUp(Window());
}

void ButtonsSetPage::FitToScale() {
    OptionsPage::FitToScale();
    buttons_.FitRowsToScale();
    PlacePixelControls();
    RedrawPreview();
}

bool ButtonsSetPage::MakeColorButton() {
    colorButton_ = TColorSelectBtn::Create(Window(), IDC_COLORSELECTBTN, 0, 0);
    if (!colorButton_)
        return false;
    colorButton_->OnClick = [this] { ColorButtonClick(); };
    colorButton_->OnChange = [this] { ColorButtonChange(); };
    return true;
}

void ButtonsSetPage::PlacePixelControls() {
    const HWND preview = Item(IDC_IMPREVIEW);
    const RECT previewRect = ChildRect(preview);
    const SIZE previewSize = PreviewSize();
    MoveChild(preview, previewRect.left, previewRect.top, previewSize.cx, previewSize.cy);
    const RECT group = ChildRect(Item(IDC_GLYPHCOLOR_GROUP));
    MoveChild(colorButton_->Window(), group.left + ScaledPixels(kColorButtonOffset.x),
              group.top + ScaledPixels(kColorButtonOffset.y), ScaledPixels(TColorSelectBtn::kWidth),
              ScaledPixels(TColorSelectBtn::kHeight));
}

SIZE ButtonsSetPage::PreviewSize() const { return SIZE{ScaledPixels(kPreviewSize.cx), ScaledPixels(kPreviewSize.cy)}; }

void ButtonsSetPage::Load(const SettingsRecord& settings) {
    buttons_.Fill(settings.Buttons, settings.ButtonCount);
    RedrawPreview();
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, settings.GlyphColorAutodetect);
    SetChecked(IDC_RBGLYPHCOLORMANUAL, !settings.GlyphColorAutodetect);
    colorButton_->FSetColor(settings.GlyphColor);
}

void ButtonsSetPage::Store(SettingsRecord& settings) const {
    buttons_.Store(settings.Buttons, kMaxButtons, settings.ButtonCount);
    settings.GlyphColor = colorButton_->Color();
    settings.GlyphColorAutodetect = Checked(IDC_RBGLYPHCOLORAUTODETECT);
}

INT_PTR ButtonsSetPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer =
            buttons_.HandleListMessage(message, lParam, [this](int from, int to) { DstListMoveItem(from, to); }))
        return Reply(*answer);
    return OptionsPage::HandleMessage(message, wParam, lParam);
}

void ButtonsSetPage::OnCommand(int id, int code) {
    switch (buttons_.EditOf(id, code)) {
    case ListEditorView::Edit::Add: Button5Click(); return;
    case ListEditorView::Edit::Remove: Button6Click(); return;
    case ListEditorView::Edit::AddAll: Button7Click(); return;
    case ListEditorView::Edit::RemoveAll: Button8Click(); return;
    case ListEditorView::Edit::None: break;
    }
    if (code == BN_CLICKED && id == IDC_RBGLYPHCOLORAUTODETECT)
        rbGlyphColorAutodetectClick();
    else if (code == BN_CLICKED && id == IDC_RBGLYPHCOLORMANUAL)
        rbGlyphColorManualClick();
}

void ButtonsSetPage::AfterEdit(bool changed) {
    if (!changed)
        return;
    RedrawPreview();
    OnModifyParameter();
}

void ButtonsSetPage::Button5Click() { AfterEdit(buttons_.AddSelected()); }
void ButtonsSetPage::Button6Click() { AfterEdit(buttons_.RemoveSelected()); }
void ButtonsSetPage::Button7Click() { AfterEdit(buttons_.AddAll()); }
void ButtonsSetPage::Button8Click() { AfterEdit(buttons_.RemoveAll()); }
void ButtonsSetPage::DstListMoveItem(int oldRow, int newRow) { AfterEdit(buttons_.SwapRows(oldRow, newRow)); }

void ButtonsSetPage::RedrawPreview() {
    const std::vector<int>& chosen = buttons_.Editor().chosen;
    std::vector<int8_t> kinds(chosen.begin(), chosen.end());
    previewDrawer_.SetButtons(kinds.data(), static_cast<int>(kinds.size()));
    const COLORREF colour = Checked(IDC_RBGLYPHCOLORAUTODETECT) ? DetectThemeGlyphColor() : colorButton_->Color();
    const SIZE size = PreviewSize();
    UniqueBitmap caption = previewDrawer_.DrawPreview(size.cx, colour);
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap picture(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        const UniqueMemoryDC to(::CreateCompatibleDC(screen.get()));
        const UniqueMemoryDC from(::CreateCompatibleDC(screen.get()));
        const SelectGuard selectTo(to.get(), picture.get());
        const SelectGuard selectFrom(from.get(), caption.get());
        const RECT all{0, 0, size.cx, size.cy};
        ::FillRect(to.get(), &all, Background());
        BITMAP bitmap{};
        ::GetObjectW(caption.get(), sizeof bitmap, &bitmap);
        ::BitBlt(to.get(), 0, (size.cy - bitmap.bmHeight) / 2, bitmap.bmWidth, bitmap.bmHeight, from.get(), 0,
                 0, SRCCOPY);
    }
    const HWND control = Item(IDC_IMPREVIEW);
    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    preview_ = std::move(picture);
    const RECT r = ChildRect(control);
    MoveChild(control, r.left, r.top, size.cx, size.cy);
}

void ButtonsSetPage::rbGlyphColorAutodetectClick() {
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, true);
    SetChecked(IDC_RBGLYPHCOLORMANUAL, false);
    RedrawPreview();
    OnModifyParameter();
}

void ButtonsSetPage::rbGlyphColorManualClick() {
    SetChecked(IDC_RBGLYPHCOLORMANUAL, true);
    SetChecked(IDC_RBGLYPHCOLORAUTODETECT, false);
    RedrawPreview();
    OnModifyParameter();
}

void ButtonsSetPage::ColorButtonClick() { rbGlyphColorManualClick(); }

void ButtonsSetPage::ColorButtonChange() {
    RedrawPreview();
    OnModifyParameter();
}

}  // namespace kz
