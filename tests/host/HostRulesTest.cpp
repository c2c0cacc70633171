// Unit tests of the host's rules on plain values: which windows a command may
// touch, which windows the host window list holds, the transparency menu's
// check mark and the point of its menu, the error box text and the timing of
// the balloon tips.
#include "kz/commands/HostInternalMessages.h"
#include "kz/core/Commandtarget.h"
#include "kz/core/Errorbox.h"
#include "kz/core/Transparencypresets.h"
#include "kz/core/Traytips.h"
#include "kz/core/Vwindowlist.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace kz {
namespace {

HWND FakeWindow(uintptr_t value) { return reinterpret_cast<HWND>(value); }

// ---------------------------------------------------------------- may touch

CommandTargetFacts OrdinaryTarget() {
    CommandTargetFacts facts;
    facts.exists = true;
    facts.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    facts.className = L"Notepad";
    facts.processId = 200;
    facts.hostProcessId = 100;
    return facts;
}

TEST(MayTouchTest, AcceptsALiveTopLevelWindowOfAnotherProgram) {
    EXPECT_TRUE(MayTouch(OrdinaryTarget()));
    CommandTargetFacts popup = OrdinaryTarget();
    popup.style = WS_POPUP;  // no caption needed: hotkeys act on any top-level window
    EXPECT_TRUE(MayTouch(popup));
}

TEST(MayTouchTest, RefusesEveryWindowTheRuleNames) {
    CommandTargetFacts gone = OrdinaryTarget();
    gone.exists = false;
    CommandTargetFacts child = OrdinaryTarget();
    child.style = WS_CHILD | WS_VISIBLE;
    CommandTargetFacts desktop = OrdinaryTarget();
    desktop.desktopOrShell = true;
    CommandTargetFacts taskbar = OrdinaryTarget();
    taskbar.className = L"Shell_TrayWnd";
    CommandTargetFacts secondTaskbar = OrdinaryTarget();
    secondTaskbar.className = L"Shell_SecondaryTrayWnd";
    CommandTargetFacts ownProcess = OrdinaryTarget();
    ownProcess.processId = ownProcess.hostProcessId;
    for (const CommandTargetFacts& facts : {gone, child, desktop, taskbar, secondTaskbar, ownProcess})
        EXPECT_FALSE(MayTouch(facts)) << std::string(facts.className.begin(), facts.className.end());
}

TEST(MayTouchTest, TaskbarClassIsMatchedExactly) {
    EXPECT_TRUE(IsTaskbarClass(L"Shell_TrayWnd"));
    EXPECT_FALSE(IsTaskbarClass(L"Shell_TrayWndX"));
    EXPECT_FALSE(IsTaskbarClass(L"TrayNotifyWnd"));
}

// ---------------------------------------------------------------- window list

TopLevelWindowFacts Captioned(uintptr_t window, LONG_PTR style = WS_OVERLAPPEDWINDOW) {
    TopLevelWindowFacts facts;
    facts.window = FakeWindow(window);
    facts.visible = true;
    facts.style = style;
    return facts;
}

TEST(WindowListFilterTest, TakesVisibleCaptionedWindowsWithASystemMenu) {
    const HostWindows host{FakeWindow(0x10), FakeWindow(0x20)};
    EXPECT_TRUE(BelongsInWindowList(Captioned(0x100), host));
    // Either bit of WS_CAPTION will do: a dialog frame without a border.
    EXPECT_TRUE(BelongsInWindowList(Captioned(0x100, WS_POPUP | WS_DLGFRAME | WS_SYSMENU), host));
    EXPECT_TRUE(BelongsInWindowList(Captioned(0x100, WS_POPUP | WS_BORDER | WS_SYSMENU), host));
}

TEST(WindowListFilterTest, LeavesOutWhatCannotCarryButtons) {
    const HostWindows host{FakeWindow(0x10), FakeWindow(0x20)};
    TopLevelWindowFacts hidden = Captioned(0x100);
    hidden.visible = false;
    TopLevelWindowFacts tool = Captioned(0x100);
    tool.exStyle = WS_EX_TOOLWINDOW;
    const TopLevelWindowFacts noSystemMenu = Captioned(0x100, WS_CAPTION | WS_THICKFRAME);
    const TopLevelWindowFacts captionless = Captioned(0x100, WS_POPUP | WS_SYSMENU | WS_THICKFRAME);
    for (const TopLevelWindowFacts& facts : {hidden, tool, noSystemMenu, captionless})
        EXPECT_FALSE(BelongsInWindowList(facts, host)) << std::hex << facts.style << " " << facts.exStyle;
}

TEST(WindowListFilterTest, LeavesOutTheHostsOwnWindows) {
    const HostWindows host{FakeWindow(0x10), FakeWindow(0x20)};
    EXPECT_FALSE(BelongsInWindowList(Captioned(0x10), host));
    TopLevelWindowFacts ownedByMain = Captioned(0x100);
    ownedByMain.owner = host.mainWindow;
    TopLevelWindowFacts ownedByApplication = Captioned(0x100);
    ownedByApplication.owner = host.mainOwner;
    EXPECT_FALSE(BelongsInWindowList(ownedByMain, host));
    EXPECT_FALSE(BelongsInWindowList(ownedByApplication, host));
    // Owned by some other window: still another program's window.
    TopLevelWindowFacts ownedElsewhere = Captioned(0x100);
    ownedElsewhere.owner = FakeWindow(0x30);
    EXPECT_TRUE(BelongsInWindowList(ownedElsewhere, host));
}

TEST(WindowListFilterTest, UnownedWindowsStayWhenTheHostHasNoOwner) {
    // No owner must not be taken as the owner of the host's windows.
    const HostWindows host{FakeWindow(0x10), nullptr};
    EXPECT_TRUE(BelongsInWindowList(Captioned(0x100), host));
}

// ---------------------------------------------------------------- transparency menu

TEST(TransparencyPresetsTest, RoundsUpToTheNextMultipleOfFive) {
    EXPECT_EQ(0, PresetToCheck(73));  // 75: no such item, the marks stay
    EXPECT_EQ(80, PresetToCheck(78));
    EXPECT_EQ(80, PresetToCheck(76));
    EXPECT_EQ(80, PresetToCheck(80));
    EXPECT_EQ(5, PresetToCheck(1));
    EXPECT_EQ(100, PresetToCheck(96));
    EXPECT_EQ(100, PresetToCheck(100));
    EXPECT_EQ(0, PresetToCheck(15));
    EXPECT_EQ(0, PresetToCheck(95));
    EXPECT_EQ(0, PresetToCheck(0));
}

TEST(TransparencyPresetsTest, ElevenItemsFromOpaqueDownWithAlignedCaptions) {
    ASSERT_EQ(11u, kTransparencyPresets.size());
    const int tags[] = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 5};
    for (size_t i = 0; i < kTransparencyPresets.size(); ++i)
        EXPECT_EQ(tags[i], kTransparencyPresets[i].tag);
    EXPECT_STREQ(L"100 %", kTransparencyPresets[0].caption);
    EXPECT_STREQ(L"  80 %", kTransparencyPresets[2].caption);
    EXPECT_STREQ(L"  20 % ", kTransparencyPresets[8].caption);
    EXPECT_STREQ(L"    5 %", kTransparencyPresets[10].caption);
}

// A monitor above or left of the primary one has negative coordinates.
TEST(PresetMenuPointTest, ANegativePointSurvivesTheRoundTrip) {
    for (const POINT point : {POINT{-1280, -200}, POINT{-1, 1023}, POINT{1919, -1080}, POINT{32767, -32768}}) {
        const POINT back = PresetMenuPointOf(PresetMenuPointParam(point));
        EXPECT_EQ(point.x, back.x);
        EXPECT_EQ(point.y, back.y);
    }
    EXPECT_EQ(MAKELPARAM(100, 200), PresetMenuPointParam(POINT{200, 100}));  // y low, x high
}

// ---------------------------------------------------------------- error box, tips

TEST(ErrorBoxTextTest, AppendsAFullStopAfterALetter) {
    EXPECT_EQ(L"Unable to load library: trelmo.dll.", ErrorBoxText(L"Unable to load library: trelmo.dll"));
    EXPECT_EQ(L"Done.", ErrorBoxText(L"Done."));
    EXPECT_EQ(L"Corrupted!", ErrorBoxText(L"Corrupted!"));  // '!' sorts before '.'
    EXPECT_EQ(L"", ErrorBoxText(L""));
}

TEST(TrayTipsTest, NextTipComesBetween700And1900Seconds) {
    EXPECT_EQ(700000u, NextTipIntervalMs(0));
    EXPECT_EQ(1899999u, NextTipIntervalMs(1199999));
    EXPECT_EQ(700000u, NextTipIntervalMs(1200000));
    EXPECT_EQ(700000u + 4294967295u % 1200000u, NextTipIntervalMs(4294967295u));
    EXPECT_EQ(0, TipIndex(16));
    EXPECT_EQ(15, TipIndex(31));
}

TEST(TrayTipsTest, SixteenTextsWithTypographicQuotes) {
    for (const wchar_t* text : TrayTipTexts)
        ASSERT_NE(nullptr, text);
    EXPECT_EQ(0, std::wcsncmp(TrayTipTexts[0], L"You can add or remove any of Barquill.", 38));
    EXPECT_NE(nullptr, std::wcsstr(TrayTipTexts[1], L"wouldn\u2019t"));
    EXPECT_NE(nullptr, std::wcsstr(TrayTipTexts[1], L"\u201CSend to Tray\u201D"));
    const wchar_t ending[] = L"choose window\u2019s name.";
    const size_t length = std::wcslen(TrayTipTexts[15]);
    ASSERT_GT(length, std::wcslen(ending));
    EXPECT_STREQ(ending, TrayTipTexts[15] + length - std::wcslen(ending));
}

}  // namespace
}  // namespace kz
