// A hotkey's press and release reaching the button manager: the command runs
// on the window, the host's picture of the button is drawn on the caption
// while pressed, and the window repaints its own frame after the release.
#include "kz/capbuttons/Btnmanager.h"
#include "tests/capbuttons/CapButtonsWindows.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Impprofile.h"
#include "trelmo/paint/PainterGeometry.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

constexpr COLORREF kGlyphColor = RGB(200, 30, 90);
constexpr uint32_t kGlyphPixel = RgbOfColorref(kGlyphColor);

// Window coordinates of the first ink pixel of a glyph cell drawn classic on
// entry i of window.
POINT InkOnCaption(const TBtnManager& manager, HWND window, int i, int kind, int state) {
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    RECT r = manager.Drawer().ButtonRect(i, window);
    ::OffsetRect(&r, -windowRect.left, 0);
    const int gx = r.left + (r.right - r.left - 18) / 2, gy = r.top + (r.bottom - r.top - 18) / 2;
    const test::OriginalGlyph glyph(kind);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x)
            if (glyph.At(state, x, y) != RGB(255, 255, 255))
                return POINT{gx + x, gy + y};
    return POINT{-1, -1};
}

class ButtonManager : public testing::Test {
protected:
    int StateOf(const TBtnManager& manager, HWND window, int i) {
        const TWndButtonSet* set = manager.FindSet(window);
        return set && set->Button(i) ? set->Button(i)->VisualState() : -1;
    }
    void Click(TBtnManager& manager, HWND window, int i) {
        manager.HandleMessage(HM_BUTTON_DOWN, window, i);
        manager.HandleMessage(HM_BUTTON_UP, window, i);
    }

    UniqueWindow main_ = test::CreateMainWindowStandIn(true);
    TImpProfile executor_;
};

TEST_F(ButtonManager, TopmostHotKeyTogglesTheWindowAndShowsTheButtonDownThenHot) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({5}, kGlyphColor));
    ASSERT_FALSE(test::IsTopmost(target.Window()));

    manager.HandleMessage(HM_BUTTON_DOWN, target.Window(), 0);
    EXPECT_EQ(StateOf(manager, target.Window(), 0), kStatePressed);
    const POINT ink = InkOnCaption(manager, target.Window(), 0, 5, kStatePressed);
    EXPECT_EQ(test::FramePixel(target.Window(), ink.x, ink.y), kGlyphPixel) << "the pressed picture is on the caption";
    EXPECT_FALSE(test::IsTopmost(target.Window())) << "the press alone runs nothing";

    const int paintsBefore = target.NcPaints();
    manager.HandleMessage(HM_BUTTON_UP, target.Window(), 0);
    EXPECT_TRUE(test::IsTopmost(target.Window()));
    EXPECT_EQ(StateOf(manager, target.Window(), 0), kStatePressed) << "a topmost window's button is down";
    EXPECT_GT(target.NcPaints(), paintsBefore) << "the frame is repainted before the release returns";
    EXPECT_NE(test::FramePixel(target.Window(), ink.x, ink.y), kGlyphPixel) << "no host picture stays on the caption";

    Click(manager, target.Window(), 0);
    EXPECT_FALSE(test::IsTopmost(target.Window()));
    EXPECT_EQ(StateOf(manager, target.Window(), 0), kStateHot);
}

TEST_F(ButtonManager, RollOnADialogWithoutThickFrameIsDisabledAndRollsNothing) {
    test::CountingWindow dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    TBtnManager manager(executor_, main_.get(), test::RowSettings({4}, kGlyphColor));
    RECT before{};
    ::GetWindowRect(dialog.Window(), &before);

    manager.HandleMessage(HM_BUTTON_DOWN, dialog.Window(), 0);
    EXPECT_EQ(StateOf(manager, dialog.Window(), 0), kStateDisabled);
    const POINT ink = InkOnCaption(manager, dialog.Window(), 0, 4, kStateDisabled);
    EXPECT_EQ(test::FramePixel(dialog.Window(), ink.x, ink.y), 0x808080u) << "the disabled glyph is drawn";

    manager.HandleMessage(HM_BUTTON_UP, dialog.Window(), 0);
    EXPECT_EQ(StateOf(manager, dialog.Window(), 0), kStateDisabled);
    RECT after{};
    ::GetWindowRect(dialog.Window(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_FALSE(executor_.IsRolled(dialog.Window()));
}

TEST_F(ButtonManager, RollButtonRollsASizableWindowAndIsDownWhileRolled) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({4}, kGlyphColor));
    RECT before{};
    ::GetWindowRect(target.Window(), &before);
    Click(manager, target.Window(), 0);
    EXPECT_TRUE(executor_.IsRolled(target.Window()));
    EXPECT_EQ(StateOf(manager, target.Window(), 0), kStatePressed);
    RECT rolled{};
    ::GetWindowRect(target.Window(), &rolled);
    EXPECT_LT(rolled.bottom - rolled.top, before.bottom - before.top);
    Click(manager, target.Window(), 0);
    EXPECT_FALSE(executor_.IsRolled(target.Window()));
    EXPECT_EQ(StateOf(manager, target.Window(), 0), kStateHot);
}

TEST_F(ButtonManager, SeparatorsAndPositionsOutsideTheRowDoNothing) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({0, 5}, kGlyphColor));
    Click(manager, target.Window(), 0);
    Click(manager, target.Window(), 2);
    Click(manager, target.Window(), -1);
    EXPECT_FALSE(test::IsTopmost(target.Window()));
    EXPECT_EQ(StateOf(manager, target.Window(), 1), kStateNormal) << "the set was made, its button untouched";
    Click(manager, target.Window(), 1);
    EXPECT_TRUE(test::IsTopmost(target.Window()));
}

TEST_F(ButtonManager, OneSetPerWindowDroppedWhenTheWindowGoes) {
    test::CountingWindow first, second;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({6}, kGlyphColor));
    manager.HandleMessage(HM_BUTTON_HOVER, first.Window(), 0);
    const TWndButtonSet* set = manager.FindSet(first.Window());
    ASSERT_NE(set, nullptr);
    manager.HandleMessage(HM_BUTTON_LEAVE, first.Window(), 0);
    EXPECT_EQ(manager.FindSet(first.Window()), set) << "later messages reuse the set";

    manager.ForgetWindow(first.Window());
    EXPECT_EQ(manager.FindSet(first.Window()), nullptr);

    manager.HandleMessage(HM_BUTTON_HOVER, first.Window(), 0);
    const HWND gone = first.Window();
    first.Destroy();
    manager.HandleMessage(HM_BUTTON_DOWN, gone, 0);
    EXPECT_EQ(manager.FindSet(gone), nullptr) << "a dead handle drops its set";

    manager.HandleMessage(HM_BUTTON_HOVER, second.Window(), 0);
    EXPECT_NE(manager.FindSet(second.Window()), nullptr);
    manager.HandleMessage(HM_BUTTON_DOWN, nullptr, 0);
    EXPECT_EQ(manager.FindSet(nullptr), nullptr);
}

TEST_F(ButtonManager, NewSettingsDropTheSetsOfTheOldRow) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({6}, kGlyphColor));
    manager.HandleMessage(HM_BUTTON_HOVER, target.Window(), 0);
    ASSERT_NE(manager.FindSet(target.Window()), nullptr);
    manager.Configure(test::RowSettings({0, 5}, kGlyphColor));
    EXPECT_EQ(manager.FindSet(target.Window()), nullptr);
    Click(manager, target.Window(), 1);
    EXPECT_TRUE(test::IsTopmost(target.Window()));
}

TEST_F(ButtonManager, StyleChangeMakesThePicturesAgain) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({5}, kGlyphColor));
    manager.StyleChanged();
    EXPECT_FALSE(manager.Drawer().Themed());
    manager.HandleMessage(HM_BUTTON_DOWN, target.Window(), 0);
    const POINT ink = InkOnCaption(manager, target.Window(), 0, 5, kStatePressed);
    EXPECT_EQ(test::FramePixel(target.Window(), ink.x, ink.y), kGlyphPixel);
}

}  // namespace
}  // namespace kz
