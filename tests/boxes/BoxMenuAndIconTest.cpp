// The box menu as it is built, its pictures, and the reading of an icon
// group's directory.
#include "kz/commands/Boxicon.h"
#include "kz/commands/Boxmenu.h"
#include "common/Dpi.h"
#include "trelmo/paint/PainterGeometry.h"
#include "tests/support/PixelCanvas.h"

#include "common/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz {
namespace {

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

MENUITEMINFOW ItemInfo(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info;
}

TEST(BoxMenu, ShowsCloseAndTheArrangementGrid) {
    const UniqueMenu menu = BuildBoxMenu(7);
    ASSERT_TRUE(menu);
    ASSERT_EQ(::GetMenuItemCount(menu.get()), 4);
    EXPECT_EQ(ItemText(menu.get(), 0), L"&Show window");
    EXPECT_EQ(ItemText(menu.get(), 1), L"&Close window");
    EXPECT_TRUE(ItemInfo(menu.get(), 2).fType & MFT_SEPARATOR);
    EXPECT_EQ(ItemText(menu.get(), 3), L"Arrange boxes");
    EXPECT_EQ(::GetMenuItemID(menu.get(), 0), static_cast<UINT>(kShowWindowCommand));
    EXPECT_EQ(::GetMenuItemID(menu.get(), 1), static_cast<UINT>(kCloseWindowCommand));
    EXPECT_EQ(::GetMenuDefaultItem(menu.get(), FALSE, 0), static_cast<UINT>(kShowWindowCommand));
    EXPECT_EQ(ArrangementSubmenu(menu.get()), ItemInfo(menu.get(), 3).hSubMenu);
}

TEST(BoxMenu, TheGridHasFourColumnsOfTwoDrawnRadioItems) {
    const UniqueMenu menu = BuildBoxMenu(7);
    const HMENU grid = ArrangementSubmenu(menu.get());
    ASSERT_EQ(::GetMenuItemCount(grid), 8);
    const int codes[] = {1, 5, 2, 6, 3, 4, 7, 8};
    const UINT breaks[] = {0, 0, MFT_MENUBREAK, 0, MFT_MENUBARBREAK, 0, MFT_MENUBREAK, 0};
    for (int i = 0; i < 8; ++i) {
        const MENUITEMINFOW info = ItemInfo(grid, i);
        EXPECT_EQ(info.wID, CommandOfArrangement(codes[i])) << i;
        EXPECT_EQ(static_cast<int>(info.dwItemData), codes[i]) << i;
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
        EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << i;
        EXPECT_EQ(info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK), breaks[i]) << i;
    }
}

TEST(BoxMenu, MarksTheArrangementInForceOnly) {
    for (int inForce = 1; inForce <= 8; ++inForce) {
        const UniqueMenu menu = BuildBoxMenu(inForce);
        const HMENU grid = ArrangementSubmenu(menu.get());
        for (int i = 0; i < 8; ++i) {
            const MENUITEMINFOW info = ItemInfo(grid, i);
            EXPECT_EQ((info.fState & MFS_CHECKED) != 0, static_cast<int>(info.dwItemData) == inForce)
                << "in force " << inForce << ", item " << i;
        }
    }
}

TEST(BoxMenu, CommandsNameTheirArrangement) {
    for (int code = 1; code <= 8; ++code)
        EXPECT_EQ(ArrangementOfCommand(CommandOfArrangement(code)), code);
    EXPECT_EQ(ArrangementOfCommand(0), 0);
    EXPECT_EQ(ArrangementOfCommand(kShowWindowCommand), 0);
    EXPECT_EQ(ArrangementOfCommand(kCloseWindowCommand), 0);
    EXPECT_EQ(ArrangementOfCommand(kArrangementCommandBase), 0);
    EXPECT_EQ(ArrangementOfCommand(kArrangementCommandBase + 9), 0);
}

// Draws the picture of an arrangement into a bitmap and reports where its
// first (strongest) box is: the pixels in the menu text colour.
class PictureCanvas {
public:
    POINT FirstBox(int code, UINT state = 0) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemState = state;
        item.itemData = static_cast<ULONG_PTR>(code);
        item.hDC = canvas_.Dc();
        item.rcItem = RECT{0, 0, kWidth, kHeight};
        DrawArrangementItem(item, kDesignDpi);
        const uint32_t strong = MenuTextColour();
        long sumX = 0, sumY = 0, count = 0;
        // Inside the screen frame only, so the mark around it does not count.
        for (int y = 5; y < kHeight - 5; ++y)
            for (int x = 5; x < kWidth - 5; ++x)
                if (canvas_.At(x, y) == strong) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
        return count ? POINT{sumX / count, sumY / count} : POINT{-1, -1};
    }
    uint32_t At(int x, int y) const { return canvas_.At(x, y); }
    static uint32_t MenuTextColour() { return RgbOfColorref(::GetSysColor(COLOR_MENUTEXT)); }

    static constexpr int kWidth = 42, kHeight = 34;

private:
    test::PixelCanvas canvas_{kWidth, kHeight, 0};
};

TEST(BoxMenuPictures, TheFirstBoxStandsWhereItsArrangementStarts) {
    PictureCanvas canvas;
    const POINT topLeft = canvas.FirstBox(1), topRight = canvas.FirstBox(2);
    const POINT bottomLeft = canvas.FirstBox(5), bottomRight = canvas.FirstBox(8);
    ASSERT_NE(topLeft.x, -1);
    EXPECT_LT(topLeft.x, PictureCanvas::kWidth / 2);
    EXPECT_LT(topLeft.y, PictureCanvas::kHeight / 2);
    EXPECT_GT(topRight.x, PictureCanvas::kWidth / 2);
    EXPECT_LT(topRight.y, PictureCanvas::kHeight / 2);
    EXPECT_LT(bottomLeft.x, PictureCanvas::kWidth / 2);
    EXPECT_GT(bottomLeft.y, PictureCanvas::kHeight / 2);
    EXPECT_GT(bottomRight.x, PictureCanvas::kWidth / 2);
    EXPECT_GT(bottomRight.y, PictureCanvas::kHeight / 2);
}

TEST(BoxMenuPictures, TheArrangementInForceIsFramed) {
    PictureCanvas canvas;
    canvas.FirstBox(7, 0);
    const uint32_t unmarked = canvas.At(2, PictureCanvas::kHeight / 2);
    canvas.FirstBox(7, ODS_CHECKED);
    EXPECT_EQ(canvas.At(2, PictureCanvas::kHeight / 2), PictureCanvas::MenuTextColour());
    EXPECT_NE(unmarked, PictureCanvas::MenuTextColour());
}

// An icon group directory: a header, then 14 bytes per image.
std::vector<BYTE> Directory(std::vector<BYTE> widths, WORD type = 1) {
    std::vector<BYTE> bytes = {0, 0, static_cast<BYTE>(type), 0, static_cast<BYTE>(widths.size()), 0};
    for (BYTE width : widths) {
        const BYTE entry[14] = {width, width, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0};
        bytes.insert(bytes.end(), entry, entry + 14);
    }
    return bytes;
}

TEST(IconDirectory, GivesTheLargestImageWidth) {
    const std::vector<BYTE> sizes = Directory({16, 48, 32});
    EXPECT_EQ(LargestIconWidth(sizes.data(), sizes.size()), 48);
    // A stored width of 0 means 256.
    const std::vector<BYTE> large = Directory({32, 0, 48});
    EXPECT_EQ(LargestIconWidth(large.data(), large.size()), 256);
}

TEST(IconDirectory, RefusesWhatIsNoIconDirectory) {
    const std::vector<BYTE> cursors = Directory({32}, 2);
    EXPECT_EQ(LargestIconWidth(cursors.data(), cursors.size()), 0);
    const std::vector<BYTE> cut = Directory({16, 48});
    EXPECT_EQ(LargestIconWidth(cut.data(), cut.size() - 1), 0);
    const std::vector<BYTE> empty = Directory({});
    EXPECT_EQ(LargestIconWidth(empty.data(), empty.size()), 0);
    EXPECT_EQ(LargestIconWidth(nullptr, 0), 0);
}

}  // namespace
}  // namespace kz
