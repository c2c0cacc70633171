#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/TestWindows.h"
#include "common/LibrarySettings.h"
#include "tests/support/MenuReading.h"
#include "trelmo/menus/PopupMenu.h"
#include "common/Protocol.h"
#include "trelmo/hook/SystemApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz::test {
namespace {

const std::vector<std::wstring> kLevelTexts = {L"100 %", L"90 %", L"80 %", L"70 %", L"60 %", L"50 %",
                                               L"40 %",  L"30 %", L"20 %", L"10 %", L"5 %"};

class TransparencyMenu : public ::testing::Test {
protected:
    TransparencyMenu() : record(window, DecodeLibrarySettings(nullptr, 0)) {}
    ~TransparencyMenu() override { ::DestroyWindow(window); }

    void MakeLayered(BYTE alpha, DWORD flags) {
        ::SetWindowLongW(window, GWL_EXSTYLE, ::GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        ASSERT_TRUE(Api().SetLayeredWindowAttributes);
        ASSERT_TRUE(Api().SetLayeredWindowAttributes(window, RGB(1, 2, 3), alpha, flags));
    }

    // The texts of the checked entries of a freshly built menu.
    std::vector<std::wstring> CheckedTexts() {
        std::unique_ptr<PopupMenu> menu = BuildTransparencyMenu(record);
        EXPECT_TRUE(menu->CreateHandle());
        std::vector<std::wstring> checked;
        for (const MenuItemView& item : ReadMenu(menu->Handle()))
            if (item.checked)
                checked.push_back(item.text);
        return checked;
    }

    LibraryInProcess library;
    HWND window = CreateTestWindow();
    HookedWindow record;
};

TEST_F(TransparencyMenu, ListsTheElevenLevelsWithDistinctIdentifiers) {
    std::unique_ptr<PopupMenu> menu = BuildTransparencyMenu(record);
    ASSERT_TRUE(menu->CreateHandle());
    const std::vector<MenuItemView> items = ReadMenu(menu->Handle());
    std::vector<std::wstring> texts;
    std::vector<UINT> ids;
    for (const MenuItemView& item : items) {
        texts.push_back(item.text);
        ids.push_back(item.id);
    }
    EXPECT_EQ(texts, kLevelTexts);
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], kTransparencyIdentifierBase + 256 * (i + 1)) << i;
}

TEST_F(TransparencyMenu, ChecksTheEntryOfTheCurrentOpacity) {
    EXPECT_EQ(CheckedTexts(), std::vector<std::wstring>{L"100 %"}) << "not layered";

    MakeLayered(128, LWA_ALPHA);
    EXPECT_EQ(CurrentOpacityPercent(window), 50);
    EXPECT_EQ(CheckedTexts(), std::vector<std::wstring>{L"50 %"});

    MakeLayered(20, LWA_ALPHA);
    EXPECT_EQ(CheckedTexts(), std::vector<std::wstring>{L"5 %"});

    MakeLayered(255, LWA_ALPHA);
    EXPECT_EQ(CheckedTexts(), std::vector<std::wstring>{L"100 %"}) << "opaque";

    // Layered for a colour key alone, the window is fully opaque.
    MakeLayered(0, LWA_COLORKEY);
    EXPECT_EQ(CurrentOpacityPercent(window), 100);
    EXPECT_EQ(CheckedTexts(), std::vector<std::wstring>{L"100 %"});
}

TEST_F(TransparencyMenu, ChoosingAnEntrySendsItsPercentage) {
    std::unique_ptr<PopupMenu> menu = BuildTransparencyMenu(record);
    ASSERT_TRUE(menu->CreateHandle());
    const UINT id = FindIdByText(menu->Handle(), L"30 %");
    ASSERT_NE(id, 0u);

    menu->SendCommandOf(id);
    ASSERT_EQ(library.Host().Messages().size(), 1u);
    const ReceivedMessage sent = library.Host().Messages()[0];
    EXPECT_EQ(sent.message, static_cast<UINT>(HM_TRANSPARENCY));
    EXPECT_EQ(sent.wParam, reinterpret_cast<WPARAM>(window));
    EXPECT_EQ(sent.lParam, 30);

    library.Host().Clear();
    menu->SendCommandOf(0);
    menu->SendCommandOf(id + 1);
    EXPECT_TRUE(library.Host().Messages().empty()) << "no choice, or one that maps to no entry";
}

// Ends a menu that the keys did not close, so that a failing test cannot hang.
void CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

TEST_F(TransparencyMenu, TheShownMenuSendsTheEntryChosenWithTheKeyboard) {
    ::SetForegroundWindow(window);
    std::unique_ptr<PopupMenu> menu = BuildTransparencyMenu(record);
    // Down to the eighth entry, "30 %", and take it.
    for (int i = 0; i < 8; ++i)
        ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 5000, EndStuckMenu);

    TrackMenuAtButton(record, *menu, RECT{300, 6, 318, 24});
    ::KillTimer(nullptr, timer);

    ASSERT_EQ(library.Host().Count(HM_TRANSPARENCY, window), 1);
    EXPECT_EQ(library.Host().Messages().back().lParam, 30);
}

}  // namespace
}  // namespace kz::test
