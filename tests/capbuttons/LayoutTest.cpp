// Where the host draws each configured button: themed and classic captions,
// tool windows, windows without a system menu or thick frame, separators,
// and the preview; and how many system buttons a caption carries.
#include "kz/capbuttons/Kz_lib.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

// Distinct numbers, so that a metric used in the wrong place shows.
CaptionMetrics Metrics() {
    CaptionMetrics m;
    m.cxSize = 18;
    m.cySize = 20;  // themed buttons are 16 wide
    m.cxSmSize = 12;
    m.cySmSize = 14;
    m.cxSizeFrame = 4;
    m.cySizeFrame = 5;
    m.cxFixedFrame = 3;
    m.cyFixedFrame = 2;
    return m;
}

const RECT kWindow{100, 50, 500, 400};
constexpr LONG_PTR kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU;

CapButtonLayout Layout(std::initializer_list<int> kinds, bool themed) {
    CapButtonLayout layout;
    layout.Themed = themed;
    for (int kind : kinds)
        layout.Add(kind);
    return layout;
}

void ExpectRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(CountSystemButtons, FollowsTheStyleBits) {
    EXPECT_EQ(CountSystemButtons(WS_OVERLAPPEDWINDOW, 0), 3);
    EXPECT_EQ(CountSystemButtons(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0), 3);
    EXPECT_EQ(CountSystemButtons(WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, 0), 3);
    EXPECT_EQ(CountSystemButtons(kDialog, 0), 1);
    EXPECT_EQ(CountSystemButtons(kDialog, WS_EX_CONTEXTHELP), 2);
    EXPECT_EQ(CountSystemButtons(WS_OVERLAPPEDWINDOW, WS_EX_CONTEXTHELP), 4);
    EXPECT_EQ(CountSystemButtons(WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_CONTEXTHELP), 0);
}

TEST(ButtonRectThemed, StartsLeftOfTheSystemButtonsAndGoesLeft) {
    const CapButtonLayout layout = Layout({5, 0, 1, 4}, true);
    // 500 - (3 * (16 + 2) + 4) - 16
    ExpectRect(layout.ButtonRect(0, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {426, 6, 442, 22});
    ExpectRect(layout.ButtonRect(1, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {408, 6, 424, 22});
    // a separator takes half a button
    ExpectRect(layout.ButtonRect(2, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {400, 6, 416, 22});
    ExpectRect(layout.ButtonRect(3, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {382, 6, 398, 22});
}

TEST(ButtonRectThemed, FixedFrameHelpButtonAndNoSystemMenu) {
    const CapButtonLayout layout = Layout({5}, true);
    // close button only, fixed frame: 500 - (18 + 3) - 16
    ExpectRect(layout.ButtonRect(0, kWindow, kDialog, 0, Metrics()), {463, 6, 479, 22});
    ExpectRect(layout.ButtonRect(0, kWindow, kDialog, WS_EX_CONTEXTHELP, Metrics()), {445, 6, 461, 22});
    // no system menu: the first button at the frame's edge
    ExpectRect(layout.ButtonRect(0, kWindow, WS_CAPTION | WS_THICKFRAME, 0, Metrics()), {480, 6, 496, 22});
}

TEST(ButtonRectClassic, UsesTheCaptionButtonSizeAndFrame) {
    const CapButtonLayout layout = Layout({5, 0, 1}, false);
    // 500 - (3 * 18 + 4) - 18, top at the sizing frame
    ExpectRect(layout.ButtonRect(0, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {424, 5, 442, 25});
    ExpectRect(layout.ButtonRect(2, kWindow, WS_OVERLAPPEDWINDOW, 0, Metrics()), {397, 5, 415, 25});
    // fixed frame
    ExpectRect(layout.ButtonRect(0, kWindow, kDialog, 0, Metrics()), {461, 2, 479, 22});
    // no system menu
    ExpectRect(layout.ButtonRect(0, kWindow, WS_CAPTION, 0, Metrics()), {479, 2, 497, 22});
}

TEST(ButtonRectClassic, ToolWindowsUseTheSmallCaptionSize) {
    const CapButtonLayout layout = Layout({5, 1}, false);
    // 500 - (3 * 12 + 4) - 12
    ExpectRect(layout.ButtonRect(0, kWindow, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, Metrics()), {448, 5, 460, 19});
    ExpectRect(layout.ButtonRect(1, kWindow, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, Metrics()), {436, 5, 448, 19});
}

TEST(ButtonRectInWindow, CountsNoSystemButtonsAndUsesTheSizingFrame) {
    ExpectRect(Layout({5, 0, 1}, true).ButtonRectInWindow(0, 300, Metrics()), {280, 6, 296, 22});
    ExpectRect(Layout({5, 0, 1}, true).ButtonRectInWindow(2, 300, Metrics()), {254, 6, 270, 22});
    ExpectRect(Layout({5, 0, 1}, false).ButtonRectInWindow(0, 300, Metrics()), {278, 5, 296, 25});
    ExpectRect(Layout({5, 0, 1}, false).ButtonRectInWindow(2, 300, Metrics()), {251, 5, 269, 25});
}

TEST(CapButtonLayoutList, HoldsThirtyTwoEntriesAndFindsKinds) {
    CapButtonLayout layout;
    for (int i = 0; i < 40; ++i)
        layout.Add(i % 10);
    EXPECT_EQ(layout.count, kMaxLayoutEntries);
    EXPECT_EQ(layout.IndexOfKind(8), 8);
    EXPECT_EQ(layout.IndexOfKind(0), 0);
    EXPECT_EQ(Layout({1, 2}, false).IndexOfKind(8), -1);
    EXPECT_TRUE(layout.HasButton(1));
    EXPECT_FALSE(layout.HasButton(0));  // a separator
    EXPECT_FALSE(layout.HasButton(-1));
    EXPECT_FALSE(layout.HasButton(kMaxLayoutEntries));
}

}  // namespace
}  // namespace kz
