#include "kz/commands/Boxmenu.h"

#include "kz/commands/Boxplacement.h"

namespace kz {

namespace {

// A picture is a little screen with the first boxes of its arrangement,
// placed by the same arithmetic as the real boxes on a model work area
// that is kModelScale times the screen's inner size.
constexpr int kScreenInnerWidth = 32;
constexpr int kScreenInnerHeight = 24;
constexpr int kModelScale = 40;
constexpr int kModelBoxSize = 160;
constexpr int kPictureBoxSize = 3;
constexpr int kPictureBoxes = 5;
constexpr int kPictureWidth = kScreenInnerWidth + 2;
constexpr int kPictureHeight = kScreenInnerHeight + 2;
// Room around a picture for the mark of the arrangement in force.
constexpr int kItemMargin = 4;

void Fill(HDC dc, const RECT& rect, int colorIndex) { ::FillRect(dc, &rect, ::GetSysColorBrush(colorIndex)); }

void Frame(HDC dc, const RECT& rect, int colorIndex) { ::FrameRect(dc, &rect, ::GetSysColorBrush(colorIndex)); }

void DrawArrangementPicture(HDC dc, int code, POINT origin, bool selected) {
    const RECT screen{origin.x, origin.y, origin.x + kPictureWidth, origin.y + kPictureHeight};
    Frame(dc, screen, selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT);
    const RECT model{0, 0, kScreenInnerWidth * kModelScale, kScreenInnerHeight * kModelScale};
    for (int slot = 0; slot < kPictureBoxes; ++slot) {
        const POINT at = BoxSlotPosition(code, slot, kModelBoxSize, model);
        const int left = screen.left + 1 + at.x / kModelScale, top = screen.top + 1 + at.y / kModelScale;
        const RECT box{left, top, left + kPictureBoxSize, top + kPictureBoxSize};
        // The first box is drawn strongest, so the picture shows where the line starts.
        const int firstColor = selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
        Fill(dc, box, slot == 0 ? firstColor : COLOR_GRAYTEXT);
    }
}

bool AppendArrangementItem(HMENU menu, const ArrangementMenuItem& item, int arrangementInForce) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_STRING;
    info.fType = MFT_OWNERDRAW | MFT_RADIOCHECK | item.columnBreak;
    info.fState = item.code == arrangementInForce ? MFS_CHECKED : MFS_UNCHECKED;
    info.wID = CommandOfArrangement(item.code);
    info.dwItemData = static_cast<ULONG_PTR>(item.code);
    info.dwTypeData = const_cast<wchar_t*>(item.hint);
    return ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info) != FALSE;
}

}  // namespace

int ArrangementOfCommand(UINT command) {
    const int code = static_cast<int>(command) - static_cast<int>(kArrangementCommandBase);
    return command >= kArrangementCommandBase && IsArrangement(code) ? code : 0;
}

UINT CommandOfArrangement(int code) { return kArrangementCommandBase + static_cast<UINT>(code); }

UniqueMenu BuildBoxMenu(int arrangementInForce) {
    UniqueMenu menu(::CreatePopupMenu());
    UniqueMenu arrangements(::CreatePopupMenu());
    if (!menu || !arrangements)
        return UniqueMenu();
    for (const ArrangementMenuItem& item : kArrangementMenuItems)
        AppendArrangementItem(arrangements.get(), item, arrangementInForce);
    ::AppendMenuW(menu.get(), MF_STRING, kShowWindowCommand, L"&Show window");
    ::AppendMenuW(menu.get(), MF_STRING, kCloseWindowCommand, L"&Close window");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    if (::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(arrangements.get()), L"Arrange boxes"))
        arrangements.release();  // the menu owns it now
    ::SetMenuDefaultItem(menu.get(), kShowWindowCommand, FALSE);
    return menu;
}

HMENU ArrangementSubmenu(HMENU boxMenu) { return ::GetSubMenu(boxMenu, ::GetMenuItemCount(boxMenu) - 1); }

void MeasureArrangementItem(MEASUREITEMSTRUCT& item) {
    item.itemWidth = kPictureWidth + 2 * kItemMargin;
    item.itemHeight = kPictureHeight + 2 * kItemMargin;
}

void DrawArrangementItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& rect = item.rcItem;
    Fill(item.hDC, rect, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const POINT origin{rect.left + (width - kPictureWidth) / 2, rect.top + (height - kPictureHeight) / 2};
    DrawArrangementPicture(item.hDC, static_cast<int>(item.itemData), origin, selected);
    if (item.itemState & ODS_CHECKED) {
        const RECT mark{origin.x - 2, origin.y - 2, origin.x + kPictureWidth + 2, origin.y + kPictureHeight + 2};
        Frame(item.hDC, mark, selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    }
}

}  // namespace kz
