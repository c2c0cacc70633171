#include "kz/settings/MinimizeToBoxPage.h"

#include "kz/core/Pngpicture.h"

#include <commctrl.h>

#include <string>

namespace kz {

namespace {

constexpr SIZE kImage11Size{99, 97};
constexpr int kArrangementButtonSide = 71;

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
    for (size_t i = 0; i < imageList1_.size(); ++i) {
        const std::wstring name = L"ARRANGE" + std::to_wstring(i);
        imageList1_[i] = LoadPngPicture(Instance(), name.c_str());
        ::SendMessageW(Item(IDC_TOOLBUTTON_BASE + 1 + static_cast<int>(i)), BM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(imageList1_[i].get()));
    }
    const HWND upDown = Item(IDC_UDBOXSIZE);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_EDBOXSIZE)), 0);
    ::SendMessageW(upDown, UDM_SETRANGE32, kBoxSizeMin, kBoxSizeMax);
    UDACCEL step{0, kBoxSizeStep};
    ::SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    ToolButton1Click();
}

// The picture and the arrangement buttons have their sizes in pixels.
void MinimizeToBoxPage::PlacePixelControls() {
    const HWND image11 = Item(IDC_IMAGE11);
    const RECT imageRect = ChildRect(image11);
    MoveChild(image11, imageRect.left, imageRect.top, kImage11Size.cx, kImage11Size.cy);
    // The orientation column, and beside it the two sets in one place.
    const HWND arrangementGroup = Item(IDC_ARRANGEMENT_GROUP);
    const RECT arrangement = ChildRect(arrangementGroup);
    const int side = kArrangementButtonSide;
    const int top = arrangement.top + 16;
    MoveChild(arrangementGroup, arrangement.left, arrangement.top, arrangement.right - arrangement.left,
              16 + 2 * side + 2 + 8);
    MoveChild(Item(IDC_TOOLBUTTON_BASE + 1), arrangement.left + 8, top, side, side);
    MoveChild(Item(IDC_TOOLBUTTON_BASE + 2), arrangement.left + 8, top + side + 2, side, side);
    for (int button = kFirstArrangementButton; button <= kLastArrangementButton; ++button) {
        const int column = (button - kFirstArrangementButton) % 4;
        MoveChild(Item(IDC_TOOLBUTTON_BASE + button), arrangement.left + 8 + side + 16 + column * (side + 2), top,
                  side, side);
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
    const int size = ClampBoxSize(static_cast<int>(::SendMessageW(Item(IDC_UDBOXSIZE), UDM_GETPOS32, 0, 0)));
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
