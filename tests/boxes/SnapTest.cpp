// Snapping of a dragged box: to the work area's edges, which are its own
// even when it does not start at 0,0, and to the other boxes.
#include "kz/commands/Ustickmanager.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

constexpr int kBox = 48;

::testing::AssertionResult EndsAt(const SnapResult& r, int x, int y) {
    if (r.x == x && r.y == y)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "ends at (" << r.x << ", " << r.y << "), expected (" << x << ", " << y
                                         << ")";
}

// Every case runs on a work area at 0,0 and on one that a taskbar at the
// left has moved to start at x 60; positions are written from its corner.
class SnapOnWorkArea : public ::testing::TestWithParam<int> {
protected:
    int L() const { return GetParam(); }
    RECT WorkArea() const { return RECT{L(), 0, 1280, 1024}; }
    SnapResult Drag(int x, int y, const std::vector<BoxRect>& others = {}) const {
        return Snap(WorkArea(), BoxRect{0, 0, kBox, kBox}, x, y, others);
    }
};

TEST_P(SnapOnWorkArea, TheLeftEdgeSticksWithinFivePixels) {
    EXPECT_TRUE(EndsAt(Drag(L() + 3, 500), L(), 500));
    EXPECT_TRUE(EndsAt(Drag(L() - 5, 500), L(), 500));
    EXPECT_TRUE(EndsAt(Drag(L() + 5, 500), L(), 500));
    EXPECT_TRUE(EndsAt(Drag(L() + 6, 500), L() + 6, 500));
    EXPECT_TRUE(EndsAt(Drag(L() - 6, 500), L() - 6, 500));
    EXPECT_TRUE(Drag(L() + 3, 500).xDone);
    EXPECT_FALSE(Drag(L() + 3, 500).yDone);
    EXPECT_FALSE(Drag(L() + 6, 500).Snapped());
}

TEST_P(SnapOnWorkArea, TheOtherEdgesStickFlush) {
    EXPECT_TRUE(EndsAt(Drag(1280 - kBox - 4, 500), 1280 - kBox, 500));
    EXPECT_TRUE(EndsAt(Drag(1280 - kBox + 5, 500), 1280 - kBox, 500));
    EXPECT_TRUE(EndsAt(Drag(1280 - kBox - 6, 500), 1280 - kBox - 6, 500));
    EXPECT_TRUE(EndsAt(Drag(600, 4), 600, 0));
    EXPECT_TRUE(EndsAt(Drag(600, 1024 - kBox + 2), 600, 1024 - kBox));
    EXPECT_TRUE(EndsAt(Drag(L() + 2, 1024 - kBox - 3), L(), 1024 - kBox));
}

TEST_P(SnapOnWorkArea, ABoxBesideAnotherSticksFlushAndLinesUpItsTop) {
    const BoxRect other{L() + 300, 400, kBox, kBox};
    // Left edge 3 pixels right of the other's right edge, top 3 below its top.
    EXPECT_TRUE(EndsAt(Drag(L() + 351, 403, {other}), L() + 348, 400));
    // Right edge 2 pixels left of the other's left edge, top 2 above its top.
    EXPECT_TRUE(EndsAt(Drag(L() + 250, 398, {other}), L() + 252, 400));
    // Beside it but its top 20 pixels lower: flush, the top stays.
    EXPECT_TRUE(EndsAt(Drag(L() + 351, 420, {other}), L() + 348, 420));
    // Six pixels off: nothing sticks.
    EXPECT_TRUE(EndsAt(Drag(L() + 354, 403, {other}), L() + 354, 403));
}

TEST_P(SnapOnWorkArea, ABoxAboveOrBelowAnotherSticksAndLinesUpItsSide) {
    const BoxRect other{L() + 300, 400, kBox, kBox};
    EXPECT_TRUE(EndsAt(Drag(L() + 302, 452, {other}), L() + 300, 448));
    EXPECT_TRUE(EndsAt(Drag(L() + 296, 347, {other}), L() + 300, 352));
    // Twenty pixels along from the other's side: only the top sticks.
    EXPECT_TRUE(EndsAt(Drag(L() + 320, 450, {other}), L() + 320, 448));
}

TEST_P(SnapOnWorkArea, BoxesOutOfEachOthersWayDoNotStick) {
    // Within 5 pixels of the other's right edge, but far below it.
    const BoxRect other{L() + 300, 400, kBox, kBox};
    EXPECT_TRUE(EndsAt(Drag(L() + 350, 600, {other}), L() + 350, 600));
}

TEST_P(SnapOnWorkArea, TheScreenEdgeWinsItsAxisAndAnotherBoxCanFixTheOther) {
    // Near the left edge and near the right edge of a box reaching just past
    // it: the edge takes x, and beside the box nothing fixes y.
    const BoxRect straddling{L() - 45, 300, kBox, kBox};
    EXPECT_TRUE(EndsAt(Drag(L() + 4, 303, {straddling}), L(), 303));
    // At the left edge, just below a box that stands there.
    const BoxRect atTheEdge{L(), 100, kBox, kBox};
    EXPECT_TRUE(EndsAt(Drag(L() + 2, 151, {atTheEdge}), L(), 148));
}

TEST_P(SnapOnWorkArea, TheFirstBoxThatSticksWins) {
    const BoxRect first{L() + 300, 400, kBox, kBox};
    const BoxRect second{L() + 400, 404, kBox, kBox};
    // Between the two: first's right edge at +348, second's left edge at +400.
    const SnapResult r = Drag(L() + 350, 402, {first, second});
    EXPECT_TRUE(EndsAt(r, L() + 348, 400));
    const SnapResult reversed = Drag(L() + 350, 402, {second, first});
    EXPECT_TRUE(EndsAt(reversed, L() + 352, 404));
}

INSTANTIATE_TEST_SUITE_P(WorkAreaAtOrigin, SnapOnWorkArea, ::testing::Values(0));
INSTANTIATE_TEST_SUITE_P(TaskbarAtTheLeft, SnapOnWorkArea, ::testing::Values(60));

TEST(SnapToScreen, AWorkAreaBelowATopTaskbarHasItsOwnTopEdge) {
    const RECT workArea{0, 40, 1280, 1024};
    EXPECT_TRUE(EndsAt(SnapToScreen(workArea, 500, 43, kBox, kBox), 500, 40));
    // Where the screen's top would be, under the taskbar, nothing sticks.
    EXPECT_TRUE(EndsAt(SnapToScreen(workArea, 500, 3, kBox, kBox), 500, 3));
}

TEST(SnapToScreen, UnderALeftTaskbarNothingSticks) {
    // With a taskbar of 60 pixels at the left, x 3 is under the taskbar.
    EXPECT_FALSE(SnapToScreen(RECT{60, 0, 1280, 1024}, 3, 500, kBox, kBox).Snapped());
}

// A box as the stick manager sees it.
struct FakeForm : StickyForm {
    explicit FakeForm(BoxRect r) : rect(r) {}
    BoxRect Bounds() const override { return rect; }
    BoxRect rect;
};

TEST(StickManager, SnapsAgainstTheOtherRegisteredFormsOnly) {
    RECT asked{};
    TStickManager manager([&asked](const RECT& r) {
        asked = r;
        return RECT{60, 0, 1280, 1024};
    });
    FakeForm dragged({700, 700, kBox, kBox});
    FakeForm other({300, 400, kBox, kBox});
    manager.Register(&dragged);
    // With only one form registered, only the edges apply; the form does not stick to itself.
    EXPECT_TRUE(EndsAt(manager.Snap(dragged, 703, 703), 703, 703));
    EXPECT_TRUE(EndsAt(manager.Snap(dragged, 63, 500), 60, 500));
    // The work area asked for is the one under the proposed rectangle.
    EXPECT_EQ(asked.left, 63);
    EXPECT_EQ(asked.top, 500);
    EXPECT_EQ(asked.right, 63 + kBox);
    EXPECT_EQ(asked.bottom, 500 + kBox);

    manager.Register(&other);
    EXPECT_EQ(manager.Count(), 2);
    EXPECT_TRUE(EndsAt(manager.Snap(dragged, 351, 403), 348, 400));
    manager.Unregister(&other);
    EXPECT_TRUE(EndsAt(manager.Snap(dragged, 351, 403), 351, 403));
    // A form not registered is ignored.
    manager.Unregister(&other);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(manager.StickDistance(), 5);
}

}  // namespace
}  // namespace kz
