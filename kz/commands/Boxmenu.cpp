#include "kz/commands/Boxmenu.h"

#include "kz/commands/Boxplacement.h"
#include "common/Dpi.h"

namespace kz {

namespace {

// Sizes at 100 %; the pictures are drawn at the scale of the box's monitor.
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

void DrawArrangementPicture(HDC dc, int code, POINT origin, bool selected, UINT dpi) {
    const int line = ScaleToDpi(1, dpi);
    const RECT screen{origin.x, origin.y, origin.x + ScaleToDpi(kPictureWidth, dpi),
                      origin.y + ScaleToDpi(kPictureHeight, dpi)};
    for (int inset = 0; inset < line; ++inset) {
        const RECT edge{screen.left + inset, screen.top + inset, screen.right - inset, screen.bottom - inset};
        Frame(dc, edge, selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT);
    }
    const RECT model{0, 0, kScreenInnerWidth * kModelScale, kScreenInnerHeight * kModelScale};
    const int boxSize = ScaleToDpi(kPictureBoxSize, dpi);
    for (int slot = 0; slot < kPictureBoxes; ++slot) {
        const POINT at = BoxSlotPosition(code, slot, kModelBoxSize, model);
        const int left = screen.left + line + ScaleToDpi(at.x, dpi) / kModelScale;
        const int top = screen.top + line + ScaleToDpi(at.y, dpi) / kModelScale;
        const RECT box{left, top, left + boxSize, top + boxSize};
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

void MeasureArrangementItem(MEASUREITEMSTRUCT& item, UINT dpi) {
    item.itemWidth = static_cast<UINT>(ScaleToDpi(kPictureWidth + 2 * kItemMargin, dpi));
    item.itemHeight = static_cast<UINT>(ScaleToDpi(kPictureHeight + 2 * kItemMargin, dpi));
}

void DrawArrangementItem(const DRAWITEMSTRUCT& item, UINT dpi) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT& rect = item.rcItem;
    Fill(item.hDC, rect, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int pictureWidth = ScaleToDpi(kPictureWidth, dpi), pictureHeight = ScaleToDpi(kPictureHeight, dpi);
    const POINT origin{rect.left + (width - pictureWidth) / 2, rect.top + (height - pictureHeight) / 2};
    DrawArrangementPicture(item.hDC, static_cast<int>(item.itemData), origin, selected, dpi);
    if (item.itemState & ODS_CHECKED) {
        const int gap = ScaleToDpi(2, dpi);
        for (int inset = 0; inset < ScaleToDpi(1, dpi); ++inset) {
            const RECT mark{origin.x - gap + inset, origin.y - gap + inset, origin.x + pictureWidth + gap - inset,
                            origin.y + pictureHeight + gap - inset};
            Frame(item.hDC, mark, selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
        }
    }
}

}  // namespace kz
