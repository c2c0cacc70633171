// A hotkey's press and release reaching the button manager: the command runs
// on the window, the host's picture of the button is drawn on the caption
// while pressed, and the window repaints its own frame after the release.
#include "kz/capbuttons/Btnmanager.h"
#include "tests/capbuttons/CapButtonsWindows.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Impprofile.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

constexpr COLORREF kGlyphColor = RGB(200, 30, 90);

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

bool IsTopmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

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

    UniqueWindow main_ = test::MainWindow(true);
    TImpProfile executor_;
};

TEST_F(ButtonManager, TopmostHotKeyTogglesTheWindowAndShowsTheButtonDownThenHot) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({5}, kGlyphColor));
    ASSERT_FALSE(IsTopmost(target.get()));

    manager.HandleMessage(HM_BUTTON_DOWN, target.get(), 0);
    EXPECT_EQ(StateOf(manager, target.get(), 0), kStatePressed);
    const POINT ink = InkOnCaption(manager, target.get(), 0, 5, kStatePressed);
    EXPECT_EQ(test::FramePixel(target.get(), ink.x, ink.y), kGlyphColor) << "the pressed picture is on the caption";
    EXPECT_FALSE(IsTopmost(target.get())) << "the press alone runs nothing";

    const int paintsBefore = target.NcPaints();
    manager.HandleMessage(HM_BUTTON_UP, target.get(), 0);
    EXPECT_TRUE(IsTopmost(target.get()));
    EXPECT_EQ(StateOf(manager, target.get(), 0), kStatePressed) << "a topmost window's button is down";
    EXPECT_GT(target.NcPaints(), paintsBefore) << "the frame is repainted before the release returns";
    EXPECT_NE(test::FramePixel(target.get(), ink.x, ink.y), kGlyphColor) << "no host picture stays on the caption";

    Click(manager, target.get(), 0);
    EXPECT_FALSE(IsTopmost(target.get()));
    EXPECT_EQ(StateOf(manager, target.get(), 0), kStateHot);
}

TEST_F(ButtonManager, RollOnADialogWithoutThickFrameIsDisabledAndRollsNothing) {
    test::CountingWindow dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU);
    TBtnManager manager(executor_, main_.get(), test::RowSettings({4}, kGlyphColor));
    RECT before{};
    ::GetWindowRect(dialog.get(), &before);

    manager.HandleMessage(HM_BUTTON_DOWN, dialog.get(), 0);
    EXPECT_EQ(StateOf(manager, dialog.get(), 0), kStateDisabled);
    const POINT ink = InkOnCaption(manager, dialog.get(), 0, 4, kStateDisabled);
    EXPECT_EQ(test::FramePixel(dialog.get(), ink.x, ink.y), RGB(128, 128, 128)) << "the disabled glyph is drawn";

    manager.HandleMessage(HM_BUTTON_UP, dialog.get(), 0);
    EXPECT_EQ(StateOf(manager, dialog.get(), 0), kStateDisabled);
    RECT after{};
    ::GetWindowRect(dialog.get(), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_FALSE(executor_.IsRolled(dialog.get()));
}

TEST_F(ButtonManager, RollButtonRollsASizableWindowAndIsDownWhileRolled) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({4}, kGlyphColor));
    RECT before{};
    ::GetWindowRect(target.get(), &before);
    Click(manager, target.get(), 0);
    EXPECT_TRUE(executor_.IsRolled(target.get()));
    EXPECT_EQ(StateOf(manager, target.get(), 0), kStatePressed);
    RECT rolled{};
    ::GetWindowRect(target.get(), &rolled);
    EXPECT_LT(rolled.bottom - rolled.top, before.bottom - before.top);
    Click(manager, target.get(), 0);
    EXPECT_FALSE(executor_.IsRolled(target.get()));
    EXPECT_EQ(StateOf(manager, target.get(), 0), kStateHot);
}

TEST_F(ButtonManager, SeparatorsAndPositionsOutsideTheRowDoNothing) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({0, 5}, kGlyphColor));
    Click(manager, target.get(), 0);
    Click(manager, target.get(), 2);
    Click(manager, target.get(), -1);
    EXPECT_FALSE(IsTopmost(target.get()));
    EXPECT_EQ(StateOf(manager, target.get(), 1), kStateNormal) << "the set was made, its button untouched";
    Click(manager, target.get(), 1);
    EXPECT_TRUE(IsTopmost(target.get()));
}

TEST_F(ButtonManager, OneSetPerWindowDroppedWhenTheWindowGoes) {
    test::CountingWindow first, second;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({6}, kGlyphColor));
    manager.HandleMessage(HM_BUTTON_HOVER, first.get(), 0);
    const TWndButtonSet* set = manager.FindSet(first.get());
    ASSERT_NE(set, nullptr);
    manager.HandleMessage(HM_BUTTON_LEAVE, first.get(), 0);
    EXPECT_EQ(manager.FindSet(first.get()), set) << "later messages reuse the set";

    manager.ForgetWindow(first.get());
    EXPECT_EQ(manager.FindSet(first.get()), nullptr);

    manager.HandleMessage(HM_BUTTON_HOVER, first.get(), 0);
    const HWND gone = first.get();
    first.Destroy();
    manager.HandleMessage(HM_BUTTON_DOWN, gone, 0);
    EXPECT_EQ(manager.FindSet(gone), nullptr) << "a dead handle drops its set";

    manager.HandleMessage(HM_BUTTON_HOVER, second.get(), 0);
    EXPECT_NE(manager.FindSet(second.get()), nullptr);
    manager.HandleMessage(HM_BUTTON_DOWN, nullptr, 0);
    EXPECT_EQ(manager.FindSet(nullptr), nullptr);
}

TEST_F(ButtonManager, NewSettingsDropTheSetsOfTheOldRow) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({6}, kGlyphColor));
    manager.HandleMessage(HM_BUTTON_HOVER, target.get(), 0);
    ASSERT_NE(manager.FindSet(target.get()), nullptr);
    manager.Configure(test::RowSettings({0, 5}, kGlyphColor));
    EXPECT_EQ(manager.FindSet(target.get()), nullptr);
    Click(manager, target.get(), 1);
    EXPECT_TRUE(IsTopmost(target.get()));
}

TEST_F(ButtonManager, StyleChangeMakesThePicturesAgain) {
    test::CountingWindow target;
    TBtnManager manager(executor_, main_.get(), test::RowSettings({5}, kGlyphColor));
    manager.StyleChanged();
    EXPECT_FALSE(manager.Drawer().Themed());
    manager.HandleMessage(HM_BUTTON_DOWN, target.get(), 0);
    const POINT ink = InkOnCaption(manager, target.get(), 0, 5, kStatePressed);
    EXPECT_EQ(test::FramePixel(target.get(), ink.x, ink.y), kGlyphColor);
}

}  // namespace
}  // namespace kz
