#include "kz/settings/MinimizeToBoxPage.h"

#include "common/Dpi.h"
#include "kz/commands/ScaledPicture.h"
#include "kz/core/Pngpicture.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace kz {

namespace {

constexpr SIZE kImage11Size{99, 97};
constexpr int kArrangementButtonSide = 71;
// The side of their pictures at 100 %.
constexpr int kArrangementPictureSide = 64;

}  // namespace

WindowPtr<MinimizeToBoxPage> MinimizeToBoxPage::Create(PageSite& site, HWND frame) {
    return MakePage<MinimizeToBoxPage>(site, frame, Page::MinimizeToBox);
}

void MinimizeToBoxPage::OnInitDialog() {
    CommandPage::OnInitDialog();
    PlacePixelControls();
    static constexpr const wchar_t* kBoxPictureNames[] = {L"box16", L"box32", L"box48", L"box64", L"box96"};
    for (size_t i = 0; i < boxPictures_.size(); ++i)
        boxPictures_[i].reset(static_cast<HBITMAP>(
            ::LoadImageW(Instance(), kBoxPictureNames[i], IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT)));
    ShowArrangementPictures();
    const HWND upDown = Item(IDC_UDBOXSIZE);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_EDBOXSIZE)), 0);
    ::SendMessageW(upDown, UDM_SETRANGE32, kBoxSizeMin, kBoxSizeMax);
    UDACCEL step{0, kBoxSizeStep};
    ::SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    ToolButton1Click();
}

void MinimizeToBoxPage::FitToScale() {
    CommandPage::FitToScale();
    PlacePixelControls();
    ShowArrangementPictures();
    UpdateBoxPicture();
}

// The pictures of the arrangement buttons at the page's scale, from the ones
// drawn for 100 % and 200 %.
void MinimizeToBoxPage::ShowArrangementPictures() {
    const UINT dpi = WindowDpi(Window());
    for (size_t i = 0; i < imageList1_.size(); ++i) {
        const std::wstring name = L"ARRANGE" + std::to_wstring(i);
        const UniqueBitmap normal = LoadPngPicture(Instance(), name.c_str());
        const UniqueBitmap large = LoadPngPicture(Instance(), (name + L"_2X").c_str());
        imageList1_[i] = PictureAtDpi(normal.get(), large.get(), kArrangementPictureSide, dpi);
        ::SendMessageW(Item(IDC_TOOLBUTTON_BASE + 1 + static_cast<int>(i)), BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(imageList1_[i].get()));
    }
}

// The picture and the arrangement buttons have their sizes in pixels of the
// design font, and grow with the template's.
void MinimizeToBoxPage::PlacePixelControls() {
    const DesignScale scale = DesignScaleOf(Window());
    const HWND image11 = Item(IDC_IMAGE11);
    const RECT imageRect = ChildRect(image11);
    MoveChild(image11, imageRect.left, imageRect.top, scale.X(kImage11Size.cx), scale.Y(kImage11Size.cy));
    // The orientation column, and beside it the two sets in one place.
    const HWND arrangementGroup = Item(IDC_ARRANGEMENT_GROUP);
    const RECT arrangement = ChildRect(arrangementGroup);
    const int side = scale.Y(kArrangementButtonSide);
    const int gap = scale.Y(2), margin = scale.X(8), heading = scale.Y(16);
    const int top = arrangement.top + heading;
    MoveChild(arrangementGroup, arrangement.left, arrangement.top, arrangement.right - arrangement.left,
              heading + 2 * side + gap + margin);
    MoveChild(Item(IDC_TOOLBUTTON_BASE + 1), arrangement.left + margin, top, side, side);
    MoveChild(Item(IDC_TOOLBUTTON_BASE + 2), arrangement.left + margin, top + side + gap, side, side);
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        const int column = (button - kFirstArrangementButton) % 4;
        MoveChild(Item(IDC_TOOLBUTTON_BASE + button), arrangement.left + margin + side + heading + column * (side + gap),
                  top, side, side);
    }
}

void MinimizeToBoxPage::Load(const SettingsRecord& settings) {
    CommandPage::Load(settings);
    ::SendMessageW(Item(IDC_UDBOXSIZE), UDM_SETPOS32, 0, settings.BoxSize);
    UpdateBoxPicture();
    arrangement_ = ArrangementViewOf(settings.BoxArrangement);
    ShowArrangement();
}

void MinimizeToBoxPage::Store(SettingsRecord& settings) const {
    CommandPage::Store(settings);
    settings.BoxSize =
        static_cast<int8_t>(ClampBoxSize(static_cast<int>(::SendMessageW(Item(IDC_UDBOXSIZE), UDM_GETPOS32, 0, 0))));
    settings.BoxArrangement = static_cast<int8_t>(StoredArrangement(arrangement_));
}

INT_PTR MinimizeToBoxPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return CommandPage::HandleMessage(message, wParam, lParam);
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.idFrom == IDC_UDBOXSIZE && header.code == UDN_DELTAPOS)
        CSpinEdit1Changing();
    return Reply(0);
}

void MinimizeToBoxPage::OnCommand(int id, int code) {
    if (id > IDC_TOOLBUTTON_BASE + 2 && id <= IDC_TOOLBUTTON_BASE + kLastArrangementButton)
        ToolButton8Click(id - IDC_TOOLBUTTON_BASE);
    else if (id == IDC_TOOLBUTTON_BASE + 1)
        ToolButton1Click();
    else if (id == IDC_TOOLBUTTON_BASE + 2)
        ToolButton2Click();
    else if (id == IDC_EDBOXSIZE && code == EN_CHANGE)
        CSpinEdit1Change();
    else
        CommandPage::OnCommand(id, code);
}

void MinimizeToBoxPage::ShowArrangement() {
    SetChecked(IDC_TOOLBUTTON_BASE + 1, !arrangement_.vertical);
    SetChecked(IDC_TOOLBUTTON_BASE + 2, arrangement_.vertical);
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        const bool vertical = IsVerticalButton(button);
        const int down = vertical ? arrangement_.verticalDown : arrangement_.horizontalDown;
        SetChecked(IDC_TOOLBUTTON_BASE + button, down == button);
        ::ShowWindow(Item(IDC_TOOLBUTTON_BASE + button), vertical == arrangement_.vertical ? SW_SHOWNA : SW_HIDE);
    }
}

void MinimizeToBoxPage::ToolButton1Click() {
    arrangement_.vertical = false;
    ShowArrangement();
    OnModifyParameter();
}

void MinimizeToBoxPage::ToolButton2Click() {
    arrangement_.vertical = true;
    ShowArrangement();
    OnModifyParameter();
}

void MinimizeToBoxPage::ToolButton8Click(int button) {
    PressArrangementButton(arrangement_, button);
    ShowArrangement();
    OnModifyParameter();
}

void MinimizeToBoxPage::CSpinEdit1Change() {
    UpdateBoxPicture();
    OnModifyParameter();
}

void MinimizeToBoxPage::CSpinEdit1Changing() { OnModifyParameter(); }

void MinimizeToBoxPage::UpdateBoxPicture() {
    // A box as large as it will stand on this monitor, from the nearest
    // picture, within the room the page gives the picture.
    const int boxSize = ClampBoxSize(static_cast<int>(::SendMessageW(Item(IDC_UDBOXSIZE), UDM_GETPOS32, 0, 0)));
    const int size = std::min(ScaledPixels(boxSize), DesignScaleOf(Window()).Y(kImage11Size.cy));
    const HBITMAP picture = boxPictures_[static_cast<size_t>(BoxPictureIndex(size))].get();
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap stretched(::CreateCompatibleBitmap(screen.get(), size, size));
    {
        const UniqueMemoryDC to(::CreateCompatibleDC(screen.get()));
        const UniqueMemoryDC from(::CreateCompatibleDC(screen.get()));
        const SelectGuard selectTo(to.get(), stretched.get());
        const SelectGuard selectFrom(from.get(), picture);
        BITMAP bitmap{};
        ::GetObjectW(picture, sizeof bitmap, &bitmap);
        ::SetStretchBltMode(to.get(), COLORONCOLOR);
        ::StretchBlt(to.get(), 0, 0, size, size, from.get(), 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    }
    ::SendMessageW(Item(IDC_IMAGE11), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(stretched.get()));
    image11_ = std::move(stretched);
}

}  // namespace kz
