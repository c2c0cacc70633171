#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/TestWindows.h"
#include "common/LibrarySettings.h"
#include "tests/support/MenuReading.h"
#include "trelmo/menus/PopupMenu.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz::test {
namespace {

class KindMenu : public ::testing::Test {
protected:
    KindMenu() : record(window, DecodeLibrarySettings(nullptr, 0)) {}
    ~KindMenu() override { ::DestroyWindow(window); }

    LibraryInProcess library;
    HWND window = CreateTestWindow();
    HookedWindow record;
};

TEST_F(KindMenu, ListsTheKindsInOrderWithSeparatorsAndTheTransparencySubmenu) {
    // The overflow kind and unknown kinds would be empty entries that do nothing.
    std::unique_ptr<PopupMenu> menu = BuildKindMenu(record, {1, 0, 8, 10, 12, -1, 9, 0, 5});
    ASSERT_TRUE(menu->CreateHandle());
    const std::vector<MenuItemView> items = ReadMenu(menu->Handle());
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].text, L"Minimize to tray");
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].text, L"Tune transparency");
    EXPECT_EQ(items[3].text, L"Run application copy");
    EXPECT_TRUE(items[4].separator);
    EXPECT_EQ(items[5].text, L"Always on top");

    ASSERT_NE(items[2].submenu, nullptr);
    const std::vector<MenuItemView> levels = ReadMenu(items[2].submenu);
    ASSERT_EQ(levels.size(), 11u);
    EXPECT_EQ(levels.front().text, L"100 %");
    EXPECT_EQ(levels.back().text, L"5 %");

    // One identifier for one entry across the menu and its submenu.
    std::vector<UINT> ids = MenuIds(menu->Handle());
    for (const MenuItemView& level : levels)
        ids.push_back(level.id);
    for (std::size_t i = 0; i < ids.size(); ++i)
        for (std::size_t j = i + 1; j < ids.size(); ++j)
            EXPECT_NE(ids[i], ids[j]);
}

TEST_F(KindMenu, ChoosingAnEntrySendsItsCommandOnce) {
    std::unique_ptr<PopupMenu> menu = BuildKindMenu(record, {1, 0, 8, 9});
    ASSERT_TRUE(menu->CreateHandle());

    menu->SendCommandOf(FindIdByText(menu->Handle(), L"Run application copy"));
    EXPECT_EQ(library.Host().Count(HM_RUN_COPY, window), 1);

    menu->SendCommandOf(FindIdByText(menu->Handle(), L"70 %"));
    ASSERT_EQ(library.Host().Count(HM_TRANSPARENCY, window), 1);
    EXPECT_EQ(library.Host().Messages().back().lParam, 70);

    // The submenu's own entry and the separator carry no command.
    library.Host().Clear();
    for (const MenuItemView& item : ReadMenu(menu->Handle()))
        if (item.separator || item.submenu)
            menu->SendCommandOf(item.id);
    EXPECT_TRUE(library.Host().Messages().empty());
}

TEST_F(KindMenu, FreeingTheMenuFreesItsSubmenuToo) {
    HMENU outer = nullptr;
    HMENU inner = nullptr;
    {
        std::unique_ptr<PopupMenu> menu = BuildKindMenu(record, {8});
        ASSERT_TRUE(menu->CreateHandle());
        outer = menu->Handle();
        inner = ReadMenu(outer)[0].submenu;
        ASSERT_TRUE(::IsMenu(inner));
        EXPECT_FALSE(menu->Entry(0).submenu->OwnsHandle()) << "it hangs in the outer menu now";
    }
    EXPECT_FALSE(::IsMenu(outer));
    EXPECT_FALSE(::IsMenu(inner));

}

TEST_F(KindMenu, CreatingTheHandleAgainReplacesTheOldOne) {
    std::unique_ptr<PopupMenu> menu = BuildKindMenu(record, {1, 8});
    ASSERT_TRUE(menu->CreateHandle());
    const HMENU first = menu->Handle();
    ASSERT_TRUE(menu->CreateHandle());
    EXPECT_FALSE(::IsMenu(first));
    EXPECT_EQ(ReadMenu(menu->Handle()).size(), 2u);
    EXPECT_EQ(ReadMenu(ReadMenu(menu->Handle())[1].submenu).size(), 11u);
}

}  // namespace
}  // namespace kz::test
