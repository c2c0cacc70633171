// Where boxes stand: the eight arrangements, the line wrap, the smallest box
// and the first free slot.
#include "kz/commands/Boxplacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

::testing::AssertionResult At(const POINT& actual, int x, int y) {
    if (actual == POINT{x, y})
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << actual.x << ", " << actual.y << "), expected (" << x << ", "
                                         << y << ")";
}

const RECT kScreen{0, 0, 1280, 1024};

TEST(BoxPlacement, RightSideTopToBottomWith48PixelBoxes) {
    EXPECT_TRUE(At(BoxSlotPosition(7, 0, 48, kScreen), 1232, 0));
    EXPECT_TRUE(At(BoxSlotPosition(7, 1, 48, kScreen), 1232, 53));
    EXPECT_TRUE(At(BoxSlotPosition(7, 2, 48, kScreen), 1232, 106));
}

TEST(BoxPlacement, ALineHoldsTheSideDividedByTheBoxSizeNotTheStep) {
    // 1024 / 48 = 21 boxes, the last reaching past the bottom by its gaps.
    EXPECT_TRUE(At(BoxSlotPosition(7, 20, 48, kScreen), 1232, 20 * 53));
    EXPECT_TRUE(At(BoxSlotPosition(7, 21, 48, kScreen), 1179, 0));
    EXPECT_TRUE(At(BoxSlotPosition(7, 43, 48, kScreen), 1179 - 53, 53));
}

TEST(BoxPlacement, TopSideFromLeftToRightStepsByBoxSizeAndGap) {
    const RECT workArea{60, 30, 1280, 1024};
    for (int i = 0; i < (1280 - 60) / 48; ++i)
        EXPECT_TRUE(At(BoxSlotPosition(1, i, 48, workArea), 60 + i * 53, 30)) << "box " << i;
}

// A work area that starts away from 0,0: every arrangement starts at its own corner.
struct ArrangementCase {
    int code;
    POINT first, second, nextLine;
};

class EveryArrangement : public ::testing::TestWithParam<ArrangementCase> {};

TEST_P(EveryArrangement, StartsAtItsCornerAndRunsItsWay) {
    const RECT workArea{60, 30, 1060, 830};  // 1000 × 800: lines of 20 across, 16 down
    const ArrangementCase& c = GetParam();
    const int perLine = (c.code == 3 || c.code == 4 || c.code == 7 || c.code == 8) ? 16 : 20;
    EXPECT_TRUE(At(BoxSlotPosition(c.code, 0, 48, workArea), c.first.x, c.first.y));
    EXPECT_TRUE(At(BoxSlotPosition(c.code, 1, 48, workArea), c.second.x, c.second.y));
    EXPECT_TRUE(At(BoxSlotPosition(c.code, perLine, 48, workArea), c.nextLine.x, c.nextLine.y));
}

INSTANTIATE_TEST_SUITE_P(BoxPlacement, EveryArrangement,
                         ::testing::Values(ArrangementCase{1, {60, 30}, {113, 30}, {60, 83}},
                                           ArrangementCase{2, {1012, 30}, {959, 30}, {1012, 83}},
                                           ArrangementCase{3, {60, 30}, {60, 83}, {113, 30}},
                                           ArrangementCase{4, {60, 782}, {60, 729}, {113, 782}},
                                           ArrangementCase{5, {60, 782}, {113, 782}, {60, 729}},
                                           ArrangementCase{6, {1012, 782}, {959, 782}, {1012, 729}},
                                           ArrangementCase{7, {1012, 30}, {1012, 83}, {959, 30}},
                                           ArrangementCase{8, {1012, 782}, {1012, 729}, {959, 782}}));

TEST(BoxPlacement, SizesBelowTheSmallestBoxAreRaisedTo16) {
    EXPECT_EQ(EffectiveBoxSize(12), 16);
    EXPECT_EQ(EffectiveBoxSize(16), 16);
    EXPECT_EQ(EffectiveBoxSize(17), 17);
    EXPECT_EQ(EffectiveBoxSize(48), 48);
    // Placed with the raised size, a 12-pixel box steps 21 pixels.
    EXPECT_TRUE(At(BoxSlotPosition(1, 1, EffectiveBoxSize(12), kScreen), 21, 0));
    EXPECT_TRUE(At(BoxSlotPosition(7, 0, EffectiveBoxSize(12), kScreen), 1264, 0));
}

TEST(BoxPlacement, OnlyTheEightCodesAreArrangements) {
    EXPECT_FALSE(IsArrangement(0));
    EXPECT_TRUE(IsArrangement(1));
    EXPECT_TRUE(IsArrangement(8));
    EXPECT_FALSE(IsArrangement(9));
    EXPECT_FALSE(IsArrangement(-7));
    EXPECT_TRUE(At(BoxSlotPosition(9, 3, 48, RECT{60, 30, 1000, 800}), 60, 30));
}

RECT SquareAt(POINT at, int size) { return RECT{at.x, at.y, at.x + size, at.y + size}; }

TEST(BoxFreeSlot, IsTheLowestSlotNoBoxStandsIn) {
    const auto slot = [](int i) { return SquareAt(BoxSlotPosition(7, i, 48, kScreen), 48); };
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {}), 0);
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {slot(0), slot(1), slot(2)}), 3);
    // The box of slot 1 was removed: the next one fills the gap, not slot 2.
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {slot(0), slot(2)}), 1);
    // A box dragged off its slot leaves it free.
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {RECT{400, 400, 448, 448}, slot(1)}), 0);
}

TEST(BoxFreeSlot, ABoxDraggedAcrossTwoSlotsTakesBoth) {
    // From y 30 to 78: over slot 0 (0..48) and slot 1 (53..101).
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {RECT{1232, 30, 1280, 78}}), 2);
    // The gap between slots is free ground: a box within it touches neither.
    EXPECT_EQ(FirstFreeSlot(7, 48, kScreen, {RECT{1232, 48, 1280, 53}}), 0);
}

}  // namespace
}  // namespace kz
