// Each command of the executor on real windows of the test thread, with its undo.
#include "kz/commands/Hiddenjournal.h"
#include "kz/commands/Impprofile.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ExecutorStandIns.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestWindows.h"
#include "kz/commands/HostInternalMessages.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

class Executor : public ::testing::Test {
protected:
    Executor() {
        ShowEvents().clear();
        profile.Connect(host.Window(), &commonTray, &boxes, &journal);
    }

    std::vector<JournalEntry> StoredJournal() { return ReadChangeJournal().value_or(std::vector<JournalEntry>{}); }

    ScratchRegistry registry;
    RecordingHost host;
    CountingCommonTray commonTray;
    RecordingBoxes boxes;
    RegistryChangeJournal journal;
    TImpProfile profile;
    UniqueWindow target = MakeCommandTarget();
    HWND w = target.get();
};

TEST_F(Executor, RecordOfAWindowOfThisProgram) {
    ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const TWndParams& record = profile.GetProfile(w);
    wchar_t ownPath[MAX_PATH];
    ::GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    EXPECT_EQ(::CompareStringOrdinal(record.ModulePath.c_str(), -1, ownPath, -1, TRUE), CSTR_EQUAL)
        << std::string(record.ModulePath.begin(), record.ModulePath.end());
    EXPECT_EQ(record.Caption, L"Command target");
    EXPECT_EQ(record.ClassName, L"KzCommandTarget");
    EXPECT_EQ(record.Transparency, 100);
    EXPECT_EQ(record.LargeIcon, CommandTargetIcon());
    EXPECT_NE(record.SmallIcon, nullptr);
    EXPECT_TRUE(record.State.Visible);
    EXPECT_TRUE(record.State.OnTop);
    EXPECT_EQ(record.Changes, kValidRecord);
    EXPECT_EQ(&profile.GetProfile(w), &record);
    EXPECT_EQ(profile.Current().Count(), 1);
}

TEST_F(Executor, HidingHidesTheOwnerTooAndShowingShowsTheOwnerFirst) {
    UniqueWindow owner = MakeCommandTarget();
    UniqueWindow owned = MakeCommandTarget(WS_OVERLAPPEDWINDOW, 0, owner.get());
    ShowEvents().clear();
    profile.SetVisible(owned.get(), false);
    EXPECT_FALSE(::IsWindowVisible(owned.get()));
    EXPECT_FALSE(::IsWindowVisible(owner.get()));
    ASSERT_NE(profile.FindSaved(owned.get()), nullptr);
    EXPECT_EQ(profile.FindSaved(owned.get())->Changes, kValidRecord | kChangedVisibility);
    // Both are journalled before they are hidden, so a crash leaves a way back.
    EXPECT_EQ(StoredJournal().size(), 2u);

    ShowEvents().clear();
    profile.SetVisible(owned.get(), false);
    EXPECT_TRUE(ShowEvents().empty());

    profile.SetVisible(owned.get(), true);
    EXPECT_TRUE(::IsWindowVisible(owned.get()));
    EXPECT_TRUE(::IsWindowVisible(owner.get()));
    const std::vector<ShowEvent> order = {{owner.get(), true}, {owned.get(), true}};
    EXPECT_EQ(ShowEvents(), order);
    EXPECT_EQ(profile.FindSaved(owned.get()), nullptr);
    EXPECT_TRUE(StoredJournal().empty());
}

TEST_F(Executor, AnOwnerHiddenByItsProgramStaysHiddenAndOutOfTheJournal) {
    // Many toolkits keep a hidden owner so that the window has no taskbar button.
    UniqueWindow owner = MakeCommandTarget();
    ::ShowWindow(owner.get(), SW_HIDE);
    UniqueWindow owned = MakeCommandTarget(WS_OVERLAPPEDWINDOW, 0, owner.get());
    ShowEvents().clear();
    profile.SetVisible(owned.get(), false);
    ASSERT_EQ(StoredJournal().size(), 1u);
    EXPECT_EQ(StoredJournal()[0].identity, IdentityOf(owned.get()));
    profile.SetVisible(owned.get(), true);
    EXPECT_TRUE(::IsWindowVisible(owned.get()));
    EXPECT_FALSE(::IsWindowVisible(owner.get()));
    const std::vector<ShowEvent> order = {{owned.get(), false}, {owned.get(), true}};
    EXPECT_EQ(ShowEvents(), order);
}

TEST_F(Executor, AWindowReportedGoneIsForgottenAndNeitherItNorItsOwnerTouched) {
    UniqueWindow owner = MakeCommandTarget();
    UniqueWindow owned = MakeCommandTarget(WS_OVERLAPPEDWINDOW, 0, owner.get());
    UniqueWindow boxed = MakeCommandTarget();
    profile.MinimizeToTray(owned.get());
    profile.MinimizeToBox(boxed.get());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    // The report arrives while the window is being destroyed: showing it or
    // its owner then would put a dying frame on the screen.
    ShowEvents().clear();
    profile.ForgetWindow(owned.get());
    profile.ForgetWindow(boxed.get());
    EXPECT_TRUE(ShowEvents().empty());
    EXPECT_FALSE(::IsWindowVisible(owned.get()) || ::IsWindowVisible(owner.get()) || ::IsWindowVisible(boxed.get()));
    EXPECT_EQ(profile.TrayIconOf(owned.get()), nullptr);
    EXPECT_FALSE(TrayIconShown(host.Window(), TrayIconIdOf(owned.get())));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(profile.Current().Count(), 0);
    EXPECT_EQ(profile.Saved().Count(), 0);
    EXPECT_TRUE(StoredJournal().empty());
}

TEST_F(Executor, ARecordWhoseHandleNamesAnotherWindowIsDroppedUntouched) {
    // Windows gives a freed handle value to a later window. Here the record
    // is made to name another process: the window with its handle is not
    // the one that was hidden and made topmost.
    profile.MinimizeToTray(w);
    profile.SetOnTop(w, true);
    ASSERT_EQ(StoredJournal().size(), 1u);
    profile.FindSaved(w)->ProcessId ^= 0x4;
    profile.RestoreAll();
    EXPECT_FALSE(::IsWindowVisible(w));
    EXPECT_TRUE(IsTopmost(w));
    EXPECT_EQ(profile.Current().IndexOf(w), -1);
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    EXPECT_EQ(profile.TrayIconOf(w), nullptr);
    EXPECT_TRUE(StoredJournal().empty());

    // A window that went without a word is dropped on the next round.
    UniqueWindow crashed = MakeCommandTarget();
    const HWND c = crashed.get();
    profile.MinimizeToTray(c);
    crashed.reset();
    profile.DropGoneWindows();
    EXPECT_EQ(profile.TrayIconOf(c), nullptr);
    EXPECT_EQ(profile.Current().Count(), 0);
    EXPECT_TRUE(StoredJournal().empty());
}

struct RollCase {
    const char* name;
    DWORD style;
    DWORD exStyle;
};

class RollUp : public Executor, public ::testing::WithParamInterface<RollCase> {};

TEST_P(RollUp, ToTheCaptionHeightAndBackWithTheWidthOfThen) {
    UniqueWindow rolled = MakeCommandTarget(GetParam().style, GetParam().exStyle);
    const HWND r = rolled.get();
    const int height = WindowHeight(r);
    RECT client{};
    ::GetClientRect(r, &client);
    // The caption with the frame above and below it: all but the client area.
    const int caption = height - client.bottom;
    profile.SetRolled(r, !profile.IsRolled(r));
    EXPECT_TRUE(profile.IsRolled(r));
    EXPECT_EQ(WindowHeight(r), caption);
    ASSERT_NE(profile.FindSaved(r), nullptr);
    EXPECT_EQ(profile.FindSaved(r)->RolledHeight, height);

    // Rolled up once more, it keeps the height to unroll to.
    profile.SetRolled(r, true);
    ::SetWindowPos(r, nullptr, 0, 0, 250, WindowHeight(r), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    profile.SetRolled(r, !profile.IsRolled(r));
    EXPECT_FALSE(profile.IsRolled(r));
    EXPECT_EQ(WindowHeight(r), height);
    EXPECT_EQ(WindowWidth(r), 250);
    EXPECT_EQ(profile.FindSaved(r), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Executor, RollUp,
    ::testing::Values(RollCase{"ToolWindow", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},
                      RollCase{"DialogFrame", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
                      RollCase{"SizingFrame", WS_OVERLAPPEDWINDOW, 0}),
    [](const ::testing::TestParamInfo<RollCase>& info) { return std::string(info.param.name); });

TEST_F(Executor, SizedWhileMaximisedLeavesThePreRollHeightForTheRestore) {
    const int height = WindowHeight(w);
    profile.SetRolled(w, true);
    ::ShowWindow(w, SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(w));
    profile.WindowSized(w);
    EXPECT_FALSE(profile.IsRolled(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(w, &placement));
    EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, height);
    ::ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(WindowHeight(w), height);
}

TEST_F(Executor, SizedWhileNormalOnlyForgetsTheRoll) {
    profile.SetRolled(w, true);
    const int rolledHeight = WindowHeight(w);
    profile.WindowSized(w);
    EXPECT_FALSE(profile.IsRolled(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    EXPECT_EQ(WindowHeight(w), rolledHeight);
    // The next roll command rolls up again, from the height of now.
    profile.SetRolled(w, !profile.IsRolled(w));
    EXPECT_TRUE(profile.IsRolled(w));
    EXPECT_EQ(profile.FindSaved(w)->RolledHeight, rolledHeight);
}

// A window whose every resize is reported back at once, from inside the
// resize, as the hook library reports a resize it did not make itself.
TImpProfile* g_reportingTo = nullptr;
WNDPROC g_targetProcedure = nullptr;
LRESULT CALLBACK ReportingResizes(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && g_reportingTo)
        g_reportingTo->WindowSized(window);
    return ::CallWindowProcW(g_targetProcedure, window, message, wParam, lParam);
}

TEST_F(Executor, ARollIsNotMistakenForAResizeWhenTheWindowReportsItAtOnce) {
    const int height = WindowHeight(w);
    g_targetProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReportingResizes)));
    g_reportingTo = &profile;
    profile.SetRolled(w, true);
    EXPECT_TRUE(profile.IsRolled(w));
    ASSERT_NE(profile.FindSaved(w), nullptr);
    EXPECT_EQ(profile.FindSaved(w)->RolledHeight, height);
    profile.RestoreAll();
    EXPECT_EQ(WindowHeight(w), height);
    // A resize by someone else is still one.
    profile.SetRolled(w, true);
    ::SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(profile.IsRolled(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    g_reportingTo = nullptr;
}

TEST_F(Executor, TopmostOnAndOff) {
    profile.SetOnTop(w, !profile.IsOnTop(w));
    EXPECT_TRUE(IsTopmost(w));
    ASSERT_NE(profile.FindSaved(w), nullptr);
    EXPECT_FALSE(profile.FindSaved(w)->State.OnTop);
    EXPECT_TRUE(profile.GetProfile(w).State.OnTop);
    profile.SetOnTop(w, !profile.IsOnTop(w));
    EXPECT_FALSE(IsTopmost(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
}

TEST_F(Executor, TopmostMadeElsewhereAfterTheRecordIsWhatTheRestoreGivesBack) {
    profile.GetProfile(w);
    ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    profile.SetOnTop(w, true);
    ASSERT_NE(profile.FindSaved(w), nullptr);
    EXPECT_TRUE(profile.FindSaved(w)->State.OnTop);
    profile.RestoreWindow(w);
    EXPECT_TRUE(IsTopmost(w));
}

TEST_F(Executor, TransparencySetReadsBackTruncated) {
    ASSERT_TRUE(profile.LayeredAvailable());
    profile.SetTransparency(w, 50);
    EXPECT_TRUE(IsLayered(w));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 127);
    EXPECT_EQ(profile.GetTransparency(w), 49);
    EXPECT_EQ(profile.ReadTransparency(w), 49);
    ASSERT_NE(profile.FindSaved(w), nullptr);
    EXPECT_EQ(profile.FindSaved(w)->Transparency, 100);

    profile.SetTransparency(w, 5);
    ASSERT_TRUE(::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 12);
    // Above 100 % is opaque: the layered style goes and no change is left.
    profile.SetTransparency(w, 150);
    EXPECT_FALSE(IsLayered(w));
    EXPECT_EQ(profile.GetTransparency(w), 100);
    EXPECT_EQ(profile.FindSaved(w), nullptr);
}

TEST_F(Executor, ToggleGoesToTheToggleLevelAndBack) {
    profile.SetToggleLevel(30);
    profile.ToggleTransparency(w, profile.GetTransparency(w) >= 100);
    EXPECT_EQ(profile.GetTransparency(w), 29);
    profile.ToggleTransparency(w, profile.GetTransparency(w) >= 100);
    EXPECT_EQ(profile.GetTransparency(w), 100);
    EXPECT_FALSE(IsLayered(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    profile.SetToggleLevel(0);
    EXPECT_EQ(profile.ToggleLevel(), 1);
}

// The layering of a window as GetLayeredWindowAttributes gives it; the
// alpha is in force only with LWA_ALPHA.
struct Attributes {
    bool layered;
    COLORREF key;
    BYTE alpha;
    DWORD flags;
    bool operator==(const Attributes& other) const {
        return layered == other.layered && key == other.key && flags == other.flags &&
               (!(flags & LWA_ALPHA) || alpha == other.alpha);
    }
};
Attributes AttributesOf(HWND window) {
    Attributes attributes{IsLayered(window), 0, 0, 0};
    ::GetLayeredWindowAttributes(window, &attributes.key, &attributes.alpha, &attributes.flags);
    return attributes;
}

TEST_F(Executor, AWindowLayeredByItsProgramGetsItsExactLayeringBack) {
    // Made layered by their programs after the executor first saw them: an
    // alpha of 200 (78 %, which would come back as 198 through a
    // percentage) and a colour key.
    UniqueWindow keyed = MakeCommandTarget();
    profile.GetProfile(w);
    for (HWND window : {w, keyed.get()})
        ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    ASSERT_TRUE(::SetLayeredWindowAttributes(w, 0, 200, LWA_ALPHA));
    ASSERT_TRUE(::SetLayeredWindowAttributes(keyed.get(), RGB(255, 0, 255), 0, LWA_COLORKEY));
    for (HWND window : {w, keyed.get()}) {
        const Attributes before = AttributesOf(window);
        profile.SetTransparency(window, 30);
        EXPECT_EQ(LayeredAlpha(window), 76);
        profile.RestoreWindow(window);
        EXPECT_EQ(AttributesOf(window), before);
        EXPECT_EQ(profile.FindSaved(window), nullptr);
    }
    EXPECT_EQ(profile.GetTransparency(w), 78);
    // 100 % on it keeps it layered, opaque, and the undo gives back its own alpha.
    profile.SetTransparency(w, 100);
    EXPECT_EQ(LayeredAlpha(w), 255);
    profile.RestoreWindow(w);
    EXPECT_EQ(LayeredAlpha(w), 200);
}

// Wine has no integrity levels; on Windows a program started as
// administrator runs above a host that is not, and the system refuses the
// host's changes to its windows.
class AboveEveryWindow : public WindowIntegrity {
public:
    bool AboveHost(HWND) const override { return true; }
};

TEST_F(Executor, CommandsOnAWindowAboveTheHostAreRefusedAndTheUserIsToldOnce) {
    const AboveEveryWindow above;
    profile.SetIntegrity(&above);
    const int height = WindowHeight(w);
    profile.MinimizeToTray(w);
    profile.MinimizeToCommonTray(w);
    profile.MinimizeToBox(w);
    profile.SetOnTop(w, true);
    profile.SetTransparency(w, 40);
    profile.SetRolled(w, true);
    profile.SendToBack(w);
    profile.SetIntegrity(nullptr);
    EXPECT_TRUE(LooksUnchanged(w, height));
    EXPECT_EQ(profile.Current().Count(), 0);
    EXPECT_EQ(profile.Saved().Count(), 0);
    EXPECT_EQ(profile.TrayIconOf(w), nullptr);
    EXPECT_FALSE(TrayIconShown(host.Window(), TrayIconIdOf(w)));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(commonTray.shows, 0);
    EXPECT_TRUE(StoredJournal().empty());
    ASSERT_TRUE(WaitUntil([&] { return host.Count(WM_ELEVATEDWINDOW) > 0; }));
    PumpPending();
    EXPECT_EQ(host.Count(WM_ELEVATEDWINDOW), 1);
    EXPECT_EQ(host.Count(WM_ELEVATEDWINDOW, w), 1);
    EXPECT_EQ(host.Count(WM_SENDTOBACK), 0);
}

TEST_F(Executor, SendToBackIsPostedToTheMainWindowAndSavesNothing) {
    profile.SendToBack(w);
    EXPECT_EQ(host.Count(WM_SENDTOBACK), 0);  // posted, not sent
    ASSERT_TRUE(WaitUntil([&] { return host.Count(WM_SENDTOBACK) == 1; }));
    EXPECT_EQ(host.Messages().back().wParam, 0u);
    EXPECT_EQ(reinterpret_cast<HWND>(host.Messages().back().lParam), w);
    EXPECT_EQ(profile.FindSaved(w), nullptr);
}

TEST_F(Executor, OwnTrayIconIsNamedByTheWindowAndGoesWithTheRestore) {
    const std::wstring title(200, L'T');
    ::SetWindowTextW(w, title.c_str());
    profile.SetInTray(w, true);
    profile.SetVisible(w, false);
    profile.SetOnTop(w, true);
    const NOTIFYICONDATAW* icon = profile.TrayIconOf(w);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(icon->hWnd, host.Window());
    EXPECT_EQ(icon->uID, TrayIconIdOf(w));
    EXPECT_EQ(icon->uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(icon->uCallbackMessage, 1044u);
    EXPECT_EQ(icon->hIcon, profile.GetProfile(w).SmallIcon);
    EXPECT_EQ(std::wstring(icon->szTip), title.substr(0, 127));
    EXPECT_EQ(profile.WindowOfTrayIcon(icon->uID), w);
    EXPECT_TRUE(TrayIconShown(host.Window(), TrayIconIdOf(w)));
    EXPECT_EQ(profile.FindSaved(w)->Changes, kValidRecord | kChangedTray | kChangedVisibility | kChangedOnTop);

    profile.RestoreWindow(w);
    EXPECT_EQ(profile.TrayIconOf(w), nullptr);
    EXPECT_EQ(profile.WindowOfTrayIcon(TrayIconIdOf(w)), nullptr);
    EXPECT_FALSE(TrayIconShown(host.Window(), TrayIconIdOf(w)));
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_FALSE(IsTopmost(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    EXPECT_TRUE(StoredJournal().empty());
}

TEST_F(Executor, TrayOffForAWindowNotInTheTrayLeavesNoChange) {
    profile.SetInTray(w, false);
    EXPECT_EQ(profile.FindSaved(w), nullptr);
    EXPECT_EQ(profile.TrayIconOf(w), nullptr);
}

TEST_F(Executor, CommonTrayTwiceChangesNothingTheSecondTime) {
    for (int i = 0; i < 2; ++i) {
        profile.SetInCommonTray(w, true);
        profile.SetVisible(w, false);
    }
    EXPECT_EQ(commonTray.shows, 1);
    EXPECT_FALSE(::IsWindowVisible(w));
    EXPECT_EQ(profile.FindSaved(w)->Changes, kValidRecord | kChangedCommonTray | kChangedVisibility);
    profile.SetInCommonTray(w, false);
    EXPECT_EQ(commonTray.hides, 1);
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
}

TEST_F(Executor, BoxHoldsTheLargeIconUntilTheRestore) {
    profile.SetVisible(w, false);
    profile.SetInBox(w, true);
    profile.SetInBox(w, true);
    ASSERT_EQ(boxes.boxes, std::vector<HWND>{w});
    EXPECT_TRUE(profile.HasBox(w));
    EXPECT_EQ(boxes.lastIcon, profile.GetProfile(w).LargeIcon);
    EXPECT_EQ(boxes.lastIconSize, 32);
    profile.SetArrangement(3);
    EXPECT_EQ(profile.Arrangement(), 3);
    EXPECT_EQ(boxes.arrangement, 3);
    profile.RestoreWindow(w);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(boxes.removals, 1);
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_EQ(profile.FindSaved(w), nullptr);
}

TEST_F(Executor, WithoutBoxesAWindowInABoxIsOnlyHidden) {
    profile.Connect(host.Window(), nullptr, nullptr, nullptr);
    profile.SetVisible(w, false);
    profile.SetInBox(w, true);
    EXPECT_FALSE(profile.HasBox(w));
    EXPECT_TRUE(profile.GetProfile(w).State.InBox);
    profile.RestoreWindow(w);
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_FALSE(profile.GetProfile(w).State.InBox);
}

TEST_F(Executor, EveryCommandOnAWindowThatIsGone) {
    HWND gone = MakeCommandTarget().get();  // destroyed at the end of the statement
    ASSERT_FALSE(::IsWindow(gone));
    profile.SetInTray(gone, true);
    profile.SetVisible(gone, false);
    profile.SetInCommonTray(gone, true);
    profile.SetOnTop(gone, true);
    profile.SetTransparency(gone, 40);
    profile.ToggleTransparency(gone, false);
    profile.SetRolled(gone, true);
    profile.WindowSized(gone);
    profile.SetInBox(gone, true);
    profile.RunCopy(gone);
    profile.SendToBack(gone);
    profile.ForgetWindow(gone);
    EXPECT_EQ(profile.Current().IndexOf(gone), -1);
    EXPECT_EQ(profile.FindSaved(gone), nullptr);
    EXPECT_EQ(profile.TrayIconOf(gone), nullptr);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Executor, ForgettingAWindowDestroyedWhileChanged) {
    UniqueWindow doomed = MakeCommandTarget();
    const HWND d = doomed.get();
    profile.SetInTray(d, true);
    profile.SetVisible(d, false);
    profile.SetTransparency(d, 60);
    doomed.reset();
    profile.ForgetWindow(d);
    EXPECT_EQ(profile.Current().IndexOf(d), -1);
    EXPECT_EQ(profile.FindSaved(d), nullptr);
    EXPECT_EQ(profile.TrayIconOf(d), nullptr);
    EXPECT_TRUE(StoredJournal().empty());
}

TEST_F(Executor, RestoreAllAndTheEndOfTheExecutorUndoEverything) {
    UniqueWindow other = MakeCommandTarget();
    {
        TImpProfile ending;
        ending.Connect(host.Window(), &commonTray, &boxes, &journal);
        ending.SetInTray(w, true);
        ending.SetVisible(w, false);
        ending.SetVisible(other.get(), false);
        ending.SetInBox(other.get(), true);
        ending.SetTransparency(other.get(), 20);
        EXPECT_EQ(ending.Saved().Count(), 2);
    }
    EXPECT_TRUE(::IsWindowVisible(w));
    EXPECT_TRUE(::IsWindowVisible(other.get()));
    EXPECT_FALSE(IsLayered(other.get()));
    EXPECT_TRUE(boxes.boxes.empty());
    // A normal end leaves the journal empty.
    EXPECT_TRUE(StoredJournal().empty());
}

}  // namespace
}  // namespace kz::test
