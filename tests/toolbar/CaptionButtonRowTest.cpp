#include "trelmo/toolbar/CaptionButtonRow.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

constexpr int kW = 18;  // button width in these cases; the overflow button is 12 wide

CaptionButtonRow MakeRow(const std::vector<int8_t>& kinds, bool allowOverflowCaptionText = false) {
    return CaptionButtonRow(kinds.data(), static_cast<int>(kinds.size()), allowOverflowCaptionText);
}

const std::vector<int8_t> kNine = {1, 2, 3, 4, 5, 6, 7, 8, 9};

RowGeometry Geometry(int left, int right, int separatorWidth = -1, int gap = 0) {
    return RowGeometry{{left, 4, right, 22}, kW, separatorWidth, gap};
}

std::vector<int> VisibleKinds(const CaptionButtonRow& row) {
    std::vector<int> kinds;
    for (std::size_t i = 0; i < row.Count(); ++i)
        if (row[i].visible)
            kinds.push_back(row[i].kind);
    return kinds;
}

int CentreX(const RECT& r) { return (r.left + r.right) / 2; }
int CentreY(const RECT& r) { return (r.top + r.bottom) / 2; }

TEST(CaptionButtonRow, BuiltFromTheSettingsWithAnOverflowSlotFirst) {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    settings.Buttons[3] = 0;
    const CaptionButtonRow row(settings);
    ASSERT_EQ(row.Count(), 10u);
    EXPECT_TRUE(row.HasOverflowButton());
    EXPECT_EQ(row[0].kind, kOverflow);
    EXPECT_FALSE(row[0].visible);
    EXPECT_EQ(row[4].kind, kSeparator);
    EXPECT_EQ(row.RealCount(), 8);

    settings.AllowOverflowCaptionText = true;
    const CaptionButtonRow open(settings);
    EXPECT_FALSE(open.HasOverflowButton());
    EXPECT_EQ(open.Count(), 9u);
    EXPECT_EQ(open[0].kind, kToTray);
}

TEST(CaptionButtonRow, StoredCountsOutsideTheListAreClamped) {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    settings.ButtonCount = -5;
    EXPECT_EQ(CaptionButtonRow(settings).Count(), 1u);  // the overflow slot only
    settings.ButtonCount = 1000;
    EXPECT_EQ(CaptionButtonRow(settings).Count(), 33u);
}

TEST(CaptionButtonRow, EverythingFitsRightToLeftWithoutTheOverflowButton) {
    CaptionButtonRow row = MakeRow(kNine);
    row.Layout(Geometry(100, 400));
    EXPECT_EQ(row.VisibleCount(), 9);
    EXPECT_FALSE(row[0].visible);
    EXPECT_EQ(row[9].rect.right, 400);
    EXPECT_EQ(row[9].rect.left, 400 - kW);
    EXPECT_EQ(row[1].rect.left, 400 - 9 * kW);
    EXPECT_EQ(row[1].rect.top, 4);
    EXPECT_EQ(row[1].rect.bottom, 22);
    EXPECT_EQ(row.Bounds().left, 400 - 9 * kW);
    EXPECT_EQ(row.Bounds().right, 400);
    EXPECT_TRUE(row.OverflowKinds().empty());
}

TEST(CaptionButtonRow, ButtonsBesideALongCaptionGetTheOverflowButtonLeftOfThem) {
    // Room for five buttons and the overflow button (5 * 18 + 12 = 102).
    CaptionButtonRow row = MakeRow(kNine);
    row.Layout(Geometry(298, 400));
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{kOverflow, 5, 6, 7, 8, 9}));
    EXPECT_EQ(row[0].rect.right, row[5].rect.left);
    EXPECT_EQ(row[0].rect.right - row[0].rect.left, kW * 2 / 3);
    EXPECT_EQ(row.Bounds().left, 298);
    EXPECT_EQ(row.OverflowKinds(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(row.HitTest(CentreX(row[0].rect), CentreY(row[0].rect)), 0);
}

TEST(CaptionButtonRow, OverflowButtonWithoutRoomTakesThePlaceOfTheLeftmostButton) {
    // Five buttons fit but the overflow button does not fit beside them.
    CaptionButtonRow row = MakeRow(kNine);
    row.Layout(Geometry(305, 400));
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{kOverflow, 6, 7, 8, 9}));
    EXPECT_EQ(row[0].rect.right, row[6].rect.left);
    EXPECT_GE(row[0].rect.left, 305);
    EXPECT_EQ(row.OverflowKinds(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(row.Bounds().left, row[0].rect.left);
}

TEST(CaptionButtonRow, WhenNoButtonFitsTheOverflowButtonStandsAloneOrNothingShows) {
    CaptionButtonRow row = MakeRow(kNine);
    row.Layout(Geometry(385, 400));  // 15: less than a button, more than the overflow button
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{kOverflow}));
    EXPECT_EQ(row[0].rect.right, 400);
    EXPECT_EQ(row.OverflowKinds(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(row.ButtonRects().size(), 1u);

    row.Layout(Geometry(390, 400));  // 10: not even the overflow button
    EXPECT_TRUE(VisibleKinds(row).empty());
    EXPECT_TRUE(row.ButtonRects().empty());
    for (int x = 370; x <= 410; ++x)
        EXPECT_EQ(row.HitTest(x, 10), -1);

    // A later layout with room again brings the buttons back.
    row.Layout(Geometry(100, 400));
    EXPECT_EQ(row.VisibleCount(), 9);
    EXPECT_FALSE(row[0].visible);
}

TEST(CaptionButtonRow, OverflowingCaptionTextAllowedHidesWhatDoesNotFit) {
    CaptionButtonRow row = MakeRow(kNine, true);
    row.Layout(Geometry(298, 400));
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{5, 6, 7, 8, 9}));
    for (std::size_t i = 0; i < row.Count(); ++i)
        EXPECT_NE(row[i].kind, kOverflow);
    EXPECT_EQ(row.ButtonRects().size(), 5u);
    EXPECT_EQ(row.HitTest(CentreX(row[3].rect), 10), -1);  // kind 4, hidden
}

TEST(CaptionButtonRow, SeparatorTakesItsWidthAndTheGapAndIsNeverHit) {
    CaptionButtonRow row = MakeRow({1, 0, 2}, true);
    row.Layout(Geometry(0, 400, 7, 2));
    EXPECT_EQ(row[2].rect.left, 400 - kW);
    EXPECT_EQ(row[1].rect.right, 400 - kW - 2);
    EXPECT_EQ(row[1].rect.left, 400 - kW - 2 - 7);
    EXPECT_EQ(row[0].rect.right, 400 - kW - 2 - 7 - 2);
    EXPECT_FALSE(row[1].visible);
    for (int x = row[0].rect.right + 1; x < row[2].rect.left; ++x)
        EXPECT_EQ(row.HitTest(x, 10), -1) << x;
    EXPECT_EQ(row.ButtonRects().size(), 2u);

    // Edges belong to the button; a negative separator width is a third of a button.
    EXPECT_EQ(row.HitTest(row[0].rect.right, row[0].rect.bottom), 0);
    EXPECT_EQ(row.HitTest(row[2].rect.left, row[2].rect.top), 2);
    EXPECT_EQ(row.HitTest(row[2].rect.left, row[2].rect.top - 1), -1);
    row.Layout(Geometry(0, 400, -1, 0));
    EXPECT_EQ(row[1].rect.right - row[1].rect.left, kW / 3);
}

TEST(CaptionButtonRow, OverflowMenuKeepsSeparatorsOnlyBeforeHiddenEntries) {
    // Hidden: 0 1 0 0 2 0 | visible: 3 4 (room for two buttons and the overflow button).
    CaptionButtonRow row = MakeRow({0, 1, 0, 0, 2, 0, 3, 4});
    row.Layout(Geometry(400 - 2 * kW - kW / 3 - kW * 2 / 3, 400, kW / 3, 0));
    ASSERT_EQ(VisibleKinds(row), (std::vector<int>{kOverflow, 3, 4}));
    // The separator before the visible buttons has no hidden entry after it.
    EXPECT_EQ(row.OverflowKinds(), (std::vector<int>{0, 1, 0, 0, 2}));
}

TEST(CaptionButtonRow, UnknownKindsTakeAButtonPlaceButNoMenuEntry) {
    CaptionButtonRow row = MakeRow({11, 1, -3, 2, 3});
    row.Layout(Geometry(400 - 3 * kW - kW * 2 / 3, 400));
    EXPECT_EQ(row.RealCount(), 5);
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{kOverflow, -3, 2, 3}));
    EXPECT_EQ(row.HitTest(CentreX(row[3].rect), 10), 3);
    EXPECT_EQ(row.OverflowKinds(), (std::vector<int>{1}));
}

TEST(CaptionButtonRow, AStoredOverflowKindIsNotDrawnOverItsNeighbour) {
    CaptionButtonRow row = MakeRow({1, 10, 2});
    row.Layout(Geometry(100, 400));
    EXPECT_FALSE(row[2].visible);
    EXPECT_EQ(VisibleKinds(row), (std::vector<int>{1, 2}));
    EXPECT_EQ(row.HitTest(CentreX(row[1].rect), 10), 1);
}

}  // namespace
}  // namespace kz
