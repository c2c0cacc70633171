// In-process window tests of the host: the real main window, tray-menu module
// and executor of the test process act on windows of target programs in
// other processes, driven by the messages the hook library, the shell and
// other programs send.
#include "common/Dpi.h"
#include "common/Protocol.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/commands/Impprofile.h"
#include "kz/commands/WindowTrayIcons.h"
#include "kz/core/HookLibrary.h"
#include "kz/core/Vwindowlist.h"
#include "tests/support/Host.h"
#include "tests/support/MenuReading.h"
#include "tests/support/PixelCanvas.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>

namespace kz::test {
namespace {

constexpr int kTargets = 3;

void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR, DWORD) noexcept { ::EndMenu(); }

// Opens a popup menu of this thread with open() and types keys into it;
// whatever beforeKeys posts arrives in the open menu before them. A menu that
// does not take them is closed after a few seconds, so a fault fails the
// test instead of hanging it.
void TypeIntoMenu(HWND owner, std::initializer_list<UINT> keys, const std::function<void()>& open,
                  const std::function<void()>& beforeKeys = [] {}) {
    PumpPending();  // a quit request left by an earlier host would end the menu at once
    beforeKeys();
    for (UINT key : keys)
        ::PostMessageW(owner, WM_KEYDOWN, key, 0);
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 5000, &CloseStuckMenu);
    open();
    ::KillTimer(nullptr, watchdog);
    PumpPending();
}

// Three target programs shared by the tests of a suite; every test leaves
// them as it found them (the host restores every window it changed).
class HostWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < kTargets; ++i) {
            auto& target = targets_[static_cast<size_t>(i)];
            target = std::make_unique<TargetProgram>(TargetProgram::Layout{L"Host target " + std::to_wstring(i)});
            target->WaitForWindows();
        }
    }
    static void TearDownTestSuite() {
        for (auto& target : targets_)
            target.reset();
    }
    void SetUp() override {
        for (int i = 0; i < kTargets; ++i)
            ASSERT_TRUE(Target(i)) << "target program " << i << " did not start";
    }

    static HWND Target(int i) { return targets_[static_cast<size_t>(i)]->Window(); }
    static bool Visible(HWND w) { return ::IsWindowVisible(w) != FALSE; }

    static std::array<std::unique_ptr<TargetProgram>, kTargets> targets_;
};
std::array<std::unique_ptr<TargetProgram>, kTargets> HostWindowTest::targets_;

class HostCommandTest : public HostWindowTest {
protected:
    InProcessHost host;
};

TEST_F(HostCommandTest, ToTrayHidesTheWindowAndALeftClickOnItsIconRestoresIt) {
    const HWND w = Target(0);
    host.Command(HM_TO_TRAY, w);
    EXPECT_TRUE(WaitUntil([w] { return !Visible(w); }));
    EXPECT_TRUE(host.Executor().GetProfile(w).State.InTray);
    ASSERT_NE(nullptr, host.Executor().TrayIconOf(w));
    EXPECT_EQ(host.Window(), host.Executor().TrayIconOf(w)->hWnd);

    host.NotifyTrayClick(TrayIconIdOf(w), WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([w] { return Visible(w); }));
    EXPECT_EQ(nullptr, host.Executor().TrayIconOf(w));
    EXPECT_EQ(nullptr, host.Executor().FindSaved(w));
}

TEST_F(HostCommandTest, MouseMessagesOtherThanButtonDownsAreIgnored) {
    const HWND w = Target(0);
    host.Command(HM_TO_TRAY, w);
    for (UINT mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_RBUTTONUP})
        host.NotifyTrayClick(TrayIconIdOf(w), mouse);
    PumpPending();
    EXPECT_FALSE(Visible(w));
    EXPECT_NE(nullptr, host.Executor().TrayIconOf(w));
}

TEST_F(HostCommandTest, ShowWindowFromTheIconsMenuUndoesOnlyTrayAndHiding) {
    const HWND w = Target(1);
    host.Command(HM_ON_TOP, w);
    host.Command(HM_TO_TRAY, w);
    ASSERT_TRUE(WaitUntil([w] { return !Visible(w); }));
    TypeIntoMenu(host.Window(), {VK_DOWN, VK_RETURN}, [&] {
        host.NotifyTrayClick(TrayIconIdOf(w), WM_RBUTTONDOWN);
    });
    EXPECT_TRUE(WaitUntil([w] { return Visible(w); }));
    EXPECT_EQ(nullptr, host.Executor().TrayIconOf(w));
    EXPECT_TRUE(IsTopmost(w));  // still a change in force
    ASSERT_NE(nullptr, host.Executor().FindSaved(w));
    EXPECT_TRUE(host.Executor().FindSaved(w)->Changes & kChangedOnTop);
}

TEST_F(HostCommandTest, CloseWindowFromTheIconsMenuClosesTheTargetNotTheHost) {
    TargetProgram doomed({L"Host target to close"});
    const HWND w = doomed.WaitForWindow();
    ASSERT_TRUE(w);
    host.Command(HM_TO_TRAY, w);
    ASSERT_TRUE(WaitUntil([w] { return !Visible(w); }));
    TypeIntoMenu(host.Window(), {VK_DOWN, VK_DOWN, VK_RETURN}, [&] {
        host.NotifyTrayClick(TrayIconIdOf(w), WM_RBUTTONDOWN);
    });
    EXPECT_TRUE(WaitUntil([w] { return !::IsWindow(w); }, std::chrono::seconds(10)));
    EXPECT_TRUE(::IsWindow(host.Window()));
    host.Command(HM_WINDOW_GONE, w);
    EXPECT_EQ(nullptr, host.Executor().Current().Find(w));
}

TEST_F(HostCommandTest, TransparencyTogglesAtTheToggleLevelAndTakesAGivenLevel) {
    const HWND w = Target(0);
    host.Executor().SetToggleLevel(50);
    host.Command(HM_TRANSPARENCY, w, kTransparencyToggleArgument);
    EXPECT_TRUE(IsLayered(w));
    EXPECT_EQ(49, host.Executor().ReadTransparency(w));  // alpha 127

    host.Command(HM_TRANSPARENCY, w, kTransparencyToggleArgument);
    EXPECT_FALSE(IsLayered(w));
    EXPECT_EQ(nullptr, host.Executor().FindSaved(w));

    host.Command(HM_TRANSPARENCY, w, 30);
    EXPECT_EQ(29, host.Executor().ReadTransparency(w));  // alpha 76
    host.Command(HM_TRANSPARENCY, w, 30);
    EXPECT_EQ(29, host.Executor().ReadTransparency(w));  // a level is set, not toggled
    host.Command(HM_TRANSPARENCY, w, 150);
    EXPECT_FALSE(IsLayered(w));
    EXPECT_EQ(nullptr, host.Executor().FindSaved(w));
}

TEST_F(HostCommandTest, RollTwiceRollsUpAndDownAndASizeChangeForgetsTheRoll) {
    const HWND w = Target(2);
    RECT frame{};
    ::GetWindowRect(w, &frame);
    const int height = WindowHeight(w);
    host.Command(HM_ROLL, w);
    EXPECT_LT(WindowHeight(w), height / 2);
    host.Command(HM_ROLL, w);
    EXPECT_EQ(height, WindowHeight(w));

    host.Command(HM_ROLL, w);
    host.Command(HM_WINDOW_SIZED, w);  // someone else sized it: it counts as unrolled
    EXPECT_FALSE(host.Executor().IsRolled(w));
    EXPECT_EQ(nullptr, host.Executor().FindSaved(w));
    host.Command(HM_ROLL, w);  // rolls up again rather than down
    EXPECT_TRUE(host.Executor().IsRolled(w));
    host.Command(HM_ROLL, w);
    EXPECT_FALSE(host.Executor().IsRolled(w));
    ::SetWindowPos(w, nullptr, 0, 0, frame.right - frame.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(HostCommandTest, OnTopTogglesAndSendToBackPutsTheWindowBelowTheOthers) {
    const HWND w = Target(0);
    host.Command(HM_ON_TOP, w);
    EXPECT_TRUE(IsTopmost(w));
    host.Command(HM_ON_TOP, w);
    EXPECT_FALSE(IsTopmost(w));

    host.Command(HM_TO_BACK, w);  // takes effect once the posted move is handled
    const auto below = [](HWND upper, HWND lower) {
        for (HWND next = ::GetWindow(upper, GW_HWNDNEXT); next; next = ::GetWindow(next, GW_HWNDNEXT))
            if (next == lower)
                return true;
        return false;
    };
    EXPECT_TRUE(WaitUntil([&] { return below(Target(1), w) && below(Target(2), w); }));
}

TEST_F(HostCommandTest, CommandsAboutWindowsThatMustNotBeTouchedChangeNothing) {
    const HWND parent = CreateTestWindow();
    const HWND child = ::CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent,
                                         nullptr, nullptr, nullptr);
    const HWND dead = CreateTestWindow();
    ::DestroyWindow(dead);
    const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    const HWND untouchable[] = {::GetDesktopWindow(), taskbar, child, parent, host.Window(), dead};
    const bool taskbarVisible = Visible(taskbar);

    for (HWND w : untouchable) {
        for (UINT command : {HM_TO_TRAY, HM_TO_COMMON_TRAY, HM_TO_BOX, HM_ROLL, HM_ON_TOP, HM_TO_BACK})
            host.Command(command, w);
        host.Command(HM_TRANSPARENCY, w, 30);
        host.Command(HM_WINDOW_SIZED, w);
        host.Command(HM_WINDOW_GONE, w);
        host.Command(WM_SENDTOBACK, nullptr, reinterpret_cast<LPARAM>(w));
    }
    PumpPending();
    EXPECT_EQ(0, host.Executor().Current().Count());
    EXPECT_EQ(0, host.Executor().Saved().Count());
    for (HWND w : {parent, child}) {
        EXPECT_TRUE(Visible(w));
        EXPECT_FALSE(IsTopmost(w) || IsLayered(w));
    }
    EXPECT_EQ(taskbarVisible, Visible(taskbar));
    EXPECT_TRUE(::IsWindow(host.Window()));
    EXPECT_FALSE(IsLayered(host.Window()));
    ::DestroyWindow(parent);
}

TEST_F(HostCommandTest, AWindowReportedGoneIsForgottenOnlyOnceItNoLongerExists) {
    HWND w = nullptr;
    {
        TargetProgram shortLived({L"Host target that ends"});
        w = shortLived.WaitForWindow();
        ASSERT_TRUE(w);
        host.Command(HM_TO_TRAY, w);
        ASSERT_TRUE(WaitUntil([w] { return !Visible(w); }));
        // The library lets go of windows that live on as well (their program
        // newly excluded, the companion leaving at exit): such a window is
        // left as it is, and can still be given back.
        host.Command(HM_WINDOW_GONE, w);
        host.Executor().DropGoneWindows();
        EXPECT_FALSE(Visible(w));
        EXPECT_NE(nullptr, host.Executor().TrayIconOf(w));
    }  // the program is ended
    ASSERT_TRUE(WaitUntil([w] { return !::IsWindow(w); }));
    host.Command(HM_WINDOW_GONE, w);
    EXPECT_EQ(nullptr, host.Executor().Current().Find(w));
    EXPECT_EQ(nullptr, host.Executor().FindSaved(w));
    EXPECT_EQ(nullptr, host.Executor().TrayIconOf(w));
}

TEST_F(HostCommandTest, PresetMenuChecksTheRoundedLevelAndSetsTheChosenOne) {
    const HWND w = Target(1);
    host.Command(HM_TRANSPARENCY, w, 79);  // reads back as 78 %
    ASSERT_EQ(78, host.Executor().GetTransparency(w));
    const LPARAM point = PresetMenuPointParam(POINT{200, 100});
    TypeIntoMenu(host.Window(), {VK_ESCAPE}, [&] { host.Command(WM_PRESETMENU, w, point); });
    const HMENU menu = host.Main().popupTransparency();
    EXPECT_EQ(w, host.Main().TransparencyTarget());
    EXPECT_EQ(L"  80 %", ReadItem(menu, 2).text);
    EXPECT_TRUE(ReadItem(menu, 2).checked);

    host.Command(HM_TRANSPARENCY, w, 74);  // 73 %: rounds to 75, no such item, the mark stays
    host.Main().popupTransparencyPopup();
    EXPECT_TRUE(ReadItem(menu, 2).checked);

    // Down six times from the top: "  50 %".
    TypeIntoMenu(host.Window(), {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
                 [&] { host.Command(WM_PRESETMENU, w, point); });
    EXPECT_EQ(49, host.Executor().ReadTransparency(w));
    host.Main().popupTransparencyPopup();
    EXPECT_TRUE(ReadItem(menu, 5).checked);
    EXPECT_FALSE(ReadItem(menu, 2).checked);
}

// The menu of the host icon.
class TrayMenuTest : public HostWindowTest {
protected:
    InProcessHost host{false};
};

TEST_F(TrayMenuTest, RestoreAllRestoresEveryChangedWindow) {
    host.Command(HM_ON_TOP, Target(0));
    host.Command(HM_TO_TRAY, Target(1));
    host.Command(HM_TRANSPARENCY, Target(2), 30);
    host.TrayMenu().popupMainTrayPopup(SystemDpi());
    const HMENU menu = host.TrayMenu().popupMainTray();
    ASSERT_EQ(L"Restore changed windows", ReadItem(menu, 1).text);
    const HMENU changed = ::GetSubMenu(menu, 1);
    ASSERT_EQ(5, ::GetMenuItemCount(changed));
    EXPECT_EQ(L"Restore All", ReadItem(changed, 0).text);
    EXPECT_TRUE(ReadItem(changed, 0).enabled);
    EXPECT_TRUE(ReadItem(changed, 1).separator);
    for (int i = 0; i < kTargets; ++i)
        EXPECT_EQ(L"Host target " + std::to_wstring(i), ReadItem(changed, 2 + i).text);
    const HMENU trayed = ::GetSubMenu(menu, 0);
    ASSERT_EQ(3, ::GetMenuItemCount(trayed));
    EXPECT_EQ(L"Host target 1", ReadItem(trayed, 2).text);

    host.TrayMenu().RestoreAll1Click();
    EXPECT_EQ(0, host.Executor().Saved().Count());
    EXPECT_FALSE(IsTopmost(Target(0)));
    EXPECT_TRUE(WaitUntil([] { return Visible(Target(1)); }));
    EXPECT_FALSE(IsLayered(Target(2)));

    host.TrayMenu().popupMainTrayPopup(SystemDpi());
    const HMENU rebuilt = host.TrayMenu().popupMainTray();
    EXPECT_EQ(1, ::GetMenuItemCount(::GetSubMenu(rebuilt, 0)));
    EXPECT_FALSE(ReadItem(::GetSubMenu(rebuilt, 0), 0).enabled);
    EXPECT_EQ(1, ::GetMenuItemCount(::GetSubMenu(rebuilt, 1)));
    EXPECT_FALSE(ReadItem(::GetSubMenu(rebuilt, 1), 0).enabled);
}

TEST_F(TrayMenuTest, ChosenItemsActOnTheirWindows) {
    host.Command(HM_TO_TRAY, Target(0));
    host.Command(HM_TO_TRAY, Target(1));
    host.Command(HM_ON_TOP, Target(2));
    // Show trayed windows > Show All.
    TypeIntoMenu(host.Window(), {VK_DOWN, VK_RIGHT, VK_RETURN},
                 [&] { host.NotifyTrayClick(kHostTrayIconId, WM_RBUTTONDOWN); });
    EXPECT_TRUE(WaitUntil([] { return Visible(Target(0)) && Visible(Target(1)); }));
    EXPECT_EQ(nullptr, host.Executor().TrayIconOf(Target(0)));
    // Restore changed windows > the only changed window.
    TypeIntoMenu(host.Window(), {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN},
                 [&] { host.NotifyTrayClick(kHostTrayIconId, WM_RBUTTONDOWN); });
    EXPECT_FALSE(IsTopmost(Target(2)));
    EXPECT_EQ(0, host.Executor().Saved().Count());
}

TEST_F(TrayMenuTest, AnItemActsOnItsOwnWindowThoughAnotherWentWhileTheMenuWasOpen) {
    auto shortLived = std::make_unique<TargetProgram>(TargetProgram::Layout{L"Host target that ends in a menu"});
    const HWND gone = shortLived->WaitForWindow();
    ASSERT_TRUE(gone);
    host.Command(HM_TO_TRAY, gone);
    host.Command(HM_TO_TRAY, Target(1));
    ASSERT_TRUE(WaitUntil([&] { return !Visible(gone) && !Visible(Target(1)); }));
    // Show trayed windows > the second window. The first one's program ends
    // and its window reports that it has gone while the menu is open, which
    // moves the second up the lists.
    TypeIntoMenu(
        host.Window(), {VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN},
        [&] { host.NotifyTrayClick(kHostTrayIconId, WM_RBUTTONDOWN); },
        [&] {
            shortLived.reset();
            WaitUntil([&] { return !::IsWindow(gone); });
            ::PostMessageW(host.Window(), HM_WINDOW_GONE, reinterpret_cast<WPARAM>(gone), 0);
        });
    EXPECT_TRUE(WaitUntil([] { return Visible(Target(1)); }));
    EXPECT_EQ(nullptr, host.Executor().TrayIconOf(Target(1)));
    EXPECT_EQ(nullptr, host.Executor().Current().Find(gone));
}

TEST_F(TrayMenuTest, CommonTrayWindowsAreListedAboveExitWhenTheMenuIsNotSeparate) {
    host.Command(HM_TO_COMMON_TRAY, Target(0));
    ASSERT_TRUE(WaitUntil([] { return !Visible(Target(0)); }));
    EXPECT_FALSE(host.TrayMenu().CommonIconShown());
    host.TrayMenu().popupMainTrayPopup(SystemDpi());
    const HMENU menu = host.TrayMenu().popupMainTray();
    const int count = ::GetMenuItemCount(menu);
    ASSERT_EQ(10, count);
    EXPECT_EQ(L"Exit", ReadItem(menu, count - 1).text);
    EXPECT_TRUE(ReadItem(menu, count - 2).separator);
    EXPECT_EQ(L"Host target 0", ReadItem(menu, count - 3).text);
    EXPECT_TRUE(ReadItem(menu, count - 4).separator);
    EXPECT_EQ(L"Options", ReadItem(menu, count - 5).text);

    TypeIntoMenu(host.Window(), {VK_UP, VK_UP, VK_RETURN},
                 [&] { host.NotifyTrayClick(kHostTrayIconId, WM_RBUTTONDOWN); });
    EXPECT_TRUE(WaitUntil([] { return Visible(Target(0)); }));
    EXPECT_FALSE(host.Executor().GetProfile(Target(0)).State.InCommonTray);
    host.TrayMenu().popupMainTrayPopup(SystemDpi());
    EXPECT_EQ(8, ::GetMenuItemCount(host.TrayMenu().popupMainTray()));
}

// A menu's pictures are made for the monitor where it opens. Wine gives
// every monitor the same scale, so the menu is built for each scale here, as
// opening it on a monitor of that scale does on Windows.
TEST_F(TrayMenuTest, PicturesAreMeasuredAndDrawnAtTheScaleWhereTheMenuOpens) {
    const auto exitPicture = [&](UINT dpi) {
        host.TrayMenu().popupMainTrayPopup(dpi);
        const HMENU menu = host.TrayMenu().popupMainTray();
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP | MIIM_DATA;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(::GetMenuItemCount(menu) - 1), TRUE, &item);
        EXPECT_EQ(HBMMENU_CALLBACK, item.hbmpItem);
        return item.dwItemData;
    };
    const auto measured = [&](ULONG_PTR picture) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemData = picture;
        ::SendMessageW(host.Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        return static_cast<int>(measure.itemHeight);
    };
    const int atDesign = measured(exitPicture(96));
    const ULONG_PTR twice = exitPicture(192);
    const int size = measured(twice);
    EXPECT_EQ(MetricForDpi(SM_CXSMICON, 96), atDesign);
    EXPECT_EQ(MetricForDpi(SM_CXSMICON, 192), size);
    ASSERT_GT(size, atDesign);

    // Drawn from the icon's own image of that size, not a smaller one stretched.
    const auto drawIcon = [&](PixelCanvas& canvas, int imageSize) {
        const UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), L"ILTRAY4", IMAGE_ICON, imageSize, imageSize, 0)));
        ASSERT_TRUE(icon);
        ::DrawIconEx(canvas.Dc(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    };
    PixelCanvas drawn(size, size, 0x123456), own(size, size, 0x123456), stretched(size, size, 0x123456);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemData = twice;
    draw.hDC = drawn.Dc();
    draw.rcItem = RECT{0, 0, size, size};
    ::SendMessageW(host.Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    drawIcon(own, size);
    drawIcon(stretched, atDesign);
    EXPECT_GT(drawn.ChangedInside(draw.rcItem), 0);
    EXPECT_EQ(0, drawn.DifferingFrom(own));
    EXPECT_GT(drawn.DifferingFrom(stretched), 0);
}

// The separate common tray icon and the icons after a restart of the shell.
class TrayIconsTest : public HostWindowTest {
protected:
    InProcessHost host{true};
};

TEST_F(TrayIconsTest, CommonIconComesWithTheFirstWindowAndGoesWithTheLast) {
    host.Command(HM_TO_COMMON_TRAY, Target(0));
    EXPECT_TRUE(host.TrayMenu().CommonIconShown());
    host.Command(HM_TO_COMMON_TRAY, Target(1));
    host.TrayMenu().popupTrayMenuPopup(SystemDpi());
    EXPECT_EQ(2, ::GetMenuItemCount(host.TrayMenu().popupTrayMenu()));
    EXPECT_EQ(L"Host target 1", ReadItem(host.TrayMenu().popupTrayMenu(), 1).text);

    TypeIntoMenu(host.Window(), {VK_DOWN, VK_RETURN},
                 [&] { host.NotifyTrayClick(kCommonTrayIconId, WM_LBUTTONDOWN); });
    EXPECT_TRUE(WaitUntil([] { return Visible(Target(0)); }));
    EXPECT_TRUE(host.TrayMenu().CommonIconShown());
    host.Executor().SetInCommonTray(Target(1), false);
    EXPECT_FALSE(host.TrayMenu().CommonIconShown());
    EXPECT_FALSE(DeleteTrayIcon(host.Window(), kCommonTrayIconId));
}

TEST_F(TrayIconsTest, CommonIconIsAnimated) {
    host.Command(HM_TO_COMMON_TRAY, Target(0));
    ASSERT_TRUE(host.TrayMenu().CommonIconShown());
    EXPECT_TRUE(WaitUntil([&] { return host.TrayMenu().AnimationFrame() != 0; }, std::chrono::seconds(5)));
}

TEST_F(TrayIconsTest, TaskbarCreatedAddsEveryIconAgain) {
    const HWND w = Target(2);
    host.Command(HM_TO_TRAY, w);
    host.Command(HM_TO_COMMON_TRAY, Target(0));
    // The shell restarted: it knows none of the icons any more.
    ASSERT_TRUE(DeleteTrayIcon(host.Window(), kHostTrayIconId)) << "no notification area to test with";
    ASSERT_TRUE(DeleteTrayIcon(host.Window(), TrayIconIdOf(w)));
    ASSERT_TRUE(DeleteTrayIcon(host.Window(), kCommonTrayIconId));

    ::SendMessageW(host.Window(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(DeleteTrayIcon(host.Window(), kHostTrayIconId));
    EXPECT_TRUE(DeleteTrayIcon(host.Window(), TrayIconIdOf(w)));
    EXPECT_TRUE(DeleteTrayIcon(host.Window(), kCommonTrayIconId));
    ::SendMessageW(host.Window(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

// The main window itself.
class MainWindowTest : public ::testing::Test {
protected:
    InProcessHost host;
};

TEST_F(MainWindowTest, CloseHidesItUntilExitIsRequested) {
    host.Main().ShowAbout();
    EXPECT_TRUE(::IsWindowVisible(host.Window()));
    ::SendMessageW(host.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(host.Window()));
    EXPECT_FALSE(::IsWindowVisible(host.Window()));

    const HWND window = host.Window();
    host.Main().RequestExit();
    EXPECT_TRUE(WaitUntil([window] { return !::IsWindow(window); }));
    EXPECT_FALSE(DeleteTrayIcon(window, kHostTrayIconId));  // deleted with the window
}

TEST_F(MainWindowTest, OwnedByAHiddenWindowSoThatItHasNoTaskbarButton) {
    const HWND owner = ::GetWindow(host.Window(), GW_OWNER);
    ASSERT_NE(nullptr, owner);
    EXPECT_FALSE(::IsWindowVisible(owner));
    EXPECT_TRUE(::GetWindowLongPtrW(host.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindowTest, WindowListHoldsOtherCaptionedWindowsOnly) {
    host.Main().ShowAbout();
    const HWND owned = CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, host.Window());
    const HWND ownedByApplication = CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, ::GetWindow(host.Window(), GW_OWNER));
    const HWND tool = CreateTestWindow(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    const HWND captionless = CreateTestWindow(WS_POPUP | WS_SYSMENU | WS_THICKFRAME);
    const HWND dialogFrame = CreateTestWindow(WS_POPUP | WS_DLGFRAME | WS_SYSMENU);
    const HWND plain = CreateTestWindow(WS_OVERLAPPEDWINDOW);
    const HWND hidden = CreateTestWindow(WS_OVERLAPPEDWINDOW);
    ::ShowWindow(hidden, SW_HIDE);

    std::vector<HWND> list{plain};  // emptied first
    CollectTopLevelWindows(list, host.Window());
    const auto listed = [&list](HWND w) { return std::find(list.begin(), list.end(), w) != list.end(); };
    EXPECT_TRUE(listed(dialogFrame));
    EXPECT_TRUE(listed(plain));
    EXPECT_EQ(1, std::count(list.begin(), list.end(), plain));
    for (HWND w : {host.Window(), owned, ownedByApplication, tool, captionless, hidden})
        EXPECT_FALSE(listed(w)) << w;
    for (HWND w : {owned, ownedByApplication, tool, captionless, dialogFrame, plain, hidden})
        ::DestroyWindow(w);
}

TEST_F(MainWindowTest, TheHookIsHeldByAThreadOfItsOwnThatEndsWithIt) {
    HookLibrary hook;
    ASSERT_EQ(hook.Install(host.Window()), HookLibrary::InstallResult::Installed);
    const DWORD hookThread = hook.HookThreadId();
    EXPECT_NE(hookThread, 0u);
    EXPECT_NE(hookThread, ::GetWindowThreadProcessId(host.Window(), nullptr));
    const UniqueKernelHandle thread(::OpenThread(SYNCHRONIZE, FALSE, hookThread));
    ASSERT_TRUE(thread);
    EXPECT_EQ(::WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(hook.Remove());
    // Removing waits for the thread to end.
    EXPECT_EQ(::WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(hook.HookThreadId(), 0u);
}

}  // namespace
}  // namespace kz::test
