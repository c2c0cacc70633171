// Unit tests of the tray menu's run-time lists built from the executor's
// records, and of the common icon's animation.
#include "kz/commands/Utraymenu2.h"

#include <gtest/gtest.h>

#include <memory>

namespace kz {
namespace {

std::unique_ptr<TWndParams> Record(uintptr_t window, const wchar_t* caption, bool inTray = false,
                                   bool inCommonTray = false) {
    auto record = std::make_unique<TWndParams>();
    record->Wnd = reinterpret_cast<HWND>(window);
    record->Caption = caption;
    record->State.InTray = inTray;
    record->State.InCommonTray = inCommonTray;
    return record;
}

std::vector<uint64_t> WindowsOf(const std::vector<WindowMenuItem>& items) {
    std::vector<uint64_t> windows;
    for (const WindowMenuItem& item : items)
        windows.push_back(item.Window.window);
    return windows;
}

class TrayMenuListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        current.Append(Record(0x10, L"Plain"));
        current.Append(Record(0x20, L"Trayed one", true));
        current.Append(Record(0x30, L"In the menu", false, true));
        current.Append(Record(0x40, L"Trayed two", true));
        current.Append(Record(0x50, L"Also in the menu", false, true));
        saved.Append(Record(0x40, L"Trayed two"));
        saved.Append(Record(0x10, L"Plain"));
    }
    TWndParamsAr current;
    TWndParamsAr saved;
};

TEST_F(TrayMenuListsTest, ItemsNameTheirWindowsInTheOrderOfTheirLists) {
    const MainTrayMenuLists lists = BuildMainTrayMenuLists(current, saved, true);
    EXPECT_EQ((std::vector<uint64_t>{0x20, 0x40}), WindowsOf(lists.trayed));
    EXPECT_EQ((std::vector<uint64_t>{0x30, 0x50}), WindowsOf(lists.common));
    EXPECT_EQ((std::vector<uint64_t>{0x40, 0x10}), WindowsOf(lists.changed));  // in the order of Saved
    EXPECT_EQ(L"Trayed one", lists.trayed[0].Caption);
    EXPECT_EQ(L"Trayed two", lists.changed[0].Caption);
}

TEST_F(TrayMenuListsTest, SeparatorsShowAndCommandsEnableWithTheirLists) {
    const MainTrayMenuLists lists = BuildMainTrayMenuLists(current, saved, true);
    EXPECT_TRUE(lists.trayMenuSeparatorVisible);
    EXPECT_TRUE(lists.trayedSeparatorVisible);
    EXPECT_TRUE(lists.showAllEnabled);
    EXPECT_TRUE(lists.changedSeparatorVisible);
    EXPECT_TRUE(lists.restoreAllEnabled);

    const MainTrayMenuLists empty = BuildMainTrayMenuLists(TWndParamsAr(), TWndParamsAr(), true);
    EXPECT_TRUE(empty.common.empty() && empty.trayed.empty() && empty.changed.empty());
    EXPECT_FALSE(empty.trayMenuSeparatorVisible);
    EXPECT_FALSE(empty.trayedSeparatorVisible);
    EXPECT_FALSE(empty.showAllEnabled);
    EXPECT_FALSE(empty.changedSeparatorVisible);
    EXPECT_FALSE(empty.restoreAllEnabled);
}

TEST_F(TrayMenuListsTest, CommonTrayWindowsGoToTheirOwnMenuWhenItIsSeparate) {
    const MainTrayMenuLists lists = BuildMainTrayMenuLists(current, saved, false);
    EXPECT_TRUE(lists.common.empty());
    EXPECT_FALSE(lists.trayMenuSeparatorVisible);
    EXPECT_EQ((std::vector<uint64_t>{0x20, 0x40}), WindowsOf(lists.trayed));  // unaffected
    EXPECT_EQ((std::vector<uint64_t>{0x30, 0x50}), WindowsOf(BuildCommonTrayItems(current)));
}

TEST(CommonIconAnimationTest, RestsThenRunsThroughTheFramesAndBack) {
    const struct {
        int counter;
        int frame;
    } kExpected[] = {{0, 0},  {39, 0},  {40, 1},  {49, 1},   {50, 2},   {52, 2},   {53, 3},   {55, 3},
                     {56, 4}, {65, 4},  {66, 5},  {105, 5},  {106, 4},  {115, 4},  {116, 3},  {118, 3},
                     {119, 2}, {121, 2}, {122, 1}, {131, 1}, {132, 0}};
    for (const auto& step : kExpected)
        EXPECT_EQ(step.frame, AnimationFrameOf(step.counter)) << "counter " << step.counter;
    EXPECT_EQ(132, kAnimationCycle);
}

}  // namespace
}  // namespace kz
