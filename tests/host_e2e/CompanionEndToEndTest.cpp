// The real 64-bit kz.exe with its 32-bit companion, and programs of both
// bitnesses: buttons, commands and settings in both; exit; a killed
// companion and a killed host; and windows that appear while the host starts.
// A 64-bit Wine prefix runs both bitnesses, as 64-bit Windows does.
#include "common/Product.h"
#include "kz/settings/Usettingsfile.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace kz::test {
namespace {

constexpr std::size_t kOnTopButton = 4;
constexpr std::size_t kDefaultButtonCount = 9;

bool AllDecorated(const std::vector<HWND>& windows, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    if (!WaitUntilAttached(windows, true, timeout))
        return false;
    for (HWND window : windows)
        if (!WaitForButtons(window, kDefaultButtonCount))
            return false;
    return true;
}

// No buttons, no library procedure, no menu entries of the library, and the program answers.
bool AllPlain(const std::vector<HWND>& windows, const std::vector<LRESULT>& menuCounts,
              std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            for (std::size_t i = 0; i < windows.size(); ++i)
                if (Attached(windows[i]) || !ButtonSpans(windows[i]).empty() ||
                    AskTarget(windows[i], kAskSystemMenuCount) != menuCounts[i])
                    return false;
            return true;
        },
        timeout);
}

std::vector<LRESULT> SystemMenuCounts(const std::vector<HWND>& windows) {
    std::vector<LRESULT> counts;
    for (HWND window : windows)
        counts.push_back(AskTarget(window, kAskSystemMenuCount));
    return counts;
}

bool ProcessRuns(DWORD processId) {
    const UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process && ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// One window of a 64-bit and one of a 32-bit target program, side by side,
// open before the host starts, and the length of their plain system menus.
class BothBitnesses : public RealHostTest {
protected:
    void SetUp() override {
        if (!ThirtyTwoBitProgramsRun())
            GTEST_SKIP() << "this machine runs no 32-bit programs: no companion and no 32-bit target were placed";
        RealHostTest::SetUp();
        programs = std::make_unique<TwoPrograms>();
        ASSERT_TRUE(programs->Open());
        windows = programs->Windows();
        plainMenus = SystemMenuCounts(windows);
    }

    struct TwoPrograms {
        TargetProgram wide{{L"64-bit program", 1, {40, 40}, {460, 240}, {0, 0}}};
        TargetProgram narrow{{L"32-bit program", 1, {520, 40}, {460, 240}, {0, 0}}, TargetProgram32Path()};

        bool Open() { return wide.WaitForWindows() && narrow.WaitForWindows(); }
        std::vector<HWND> Windows() const { return {wide.Window(), narrow.Window()}; }
    };
    std::unique_ptr<TwoPrograms> programs;
    std::vector<HWND> windows;
    std::vector<LRESULT> plainMenus;
};

TEST_F(BothBitnesses, BothCarryButtonsTakeCommandsAndSettingsAndExitLeavesBothPlainAndAnswering) {
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    ASSERT_TRUE(AllDecorated(windows)) << "64-bit attached " << Attached(windows[0]) << ", 32-bit attached "
                                       << Attached(windows[1]);
    const DWORD companion = host.CompanionProcessId();
    EXPECT_NE(companion, 0u) << "the host started no companion";
    SaveScreenshot("companion_both_decorated");

    // A real click on each: the 32-bit library's command reaches the 64-bit host.
    for (HWND window : windows) {
        ::SetForegroundWindow(window);
        ASSERT_TRUE(ClickCaptionButton(window, kOnTopButton));
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window); })) << "window " << window << " not made topmost";
    }

    // What OK in the options dialog does: store, then tell every window.
    SettingsRecord threeButtons = QuietHostSettings();
    threeButtons.ButtonCount = 3;
    ASSERT_TRUE(SaveSettings(threeButtons));
    for (HWND window : windows)
        ::SendMessageTimeoutW(window, WM_SYSCOLORCHANGE, 0, 0, SMTO_NORMAL, 5000, nullptr);
    for (HWND window : windows)
        EXPECT_TRUE(WaitUntil([&] { return ButtonSpans(window).size() == 3; }))
            << "window " << window << " shows " << ButtonSpans(window).size() << " buttons after the new settings";

    DWORD code = 1234;
    ASSERT_TRUE(host.Exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(ProcessRuns(companion)) << "the companion outlived the host";
    EXPECT_TRUE(AllPlain(windows, plainMenus, std::chrono::seconds(10)));
    for (HWND window : windows)
        EXPECT_FALSE(IsTopmost(window)) << "window " << window << " still topmost after the exit";
    SaveScreenshot("companion_both_plain_after_exit");
}

void KillProcess(DWORD processId) {
    const UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    ASSERT_TRUE(process);
    ::TerminateProcess(process.get(), 99);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}

// A companion other than this one, or 0 when none comes within the time.
DWORD NextCompanion(const RunningHost& host, DWORD killed, std::chrono::milliseconds timeout) {
    DWORD next = 0;
    WaitUntil(
        [&] {
            next = host.CompanionProcessId();
            return next != 0 && next != killed;
        },
        timeout);
    return next != killed ? next : 0;
}

TEST_F(BothBitnesses, AKilledCompanionIsStartedAgainAndAKilledHostLeavesBothPlainUntilTheNextHost) {
    {
        RunningHost host;
        ASSERT_TRUE(host.WaitUntilReady());
        ASSERT_TRUE(AllDecorated(windows));
        DWORD companion = host.CompanionProcessId();
        ASSERT_NE(companion, 0u);
        ASSERT_NO_FATAL_FAILURE(KillProcess(companion));
        companion = NextCompanion(host, companion, std::chrono::seconds(20));
        ASSERT_NE(companion, 0u) << "the companion was not started again";
        // The new companion's hook reaches a 32-bit program started after it.
        TargetProgram later({L"32-bit program after the restart", 1, {520, 320}, {460, 240}, {0, 0}},
                            TargetProgram32Path());
        ASSERT_TRUE(later.WaitForWindows());
        EXPECT_TRUE(AllDecorated({windows[1], later.Window()}));
        SaveScreenshot("companion_restarted");

        // Three starts in a minute, the first one's included: the third death is not answered.
        ASSERT_NO_FATAL_FAILURE(KillProcess(companion));
        companion = NextCompanion(host, companion, std::chrono::seconds(20));
        ASSERT_NE(companion, 0u);
        ASSERT_NO_FATAL_FAILURE(KillProcess(companion));
        EXPECT_EQ(NextCompanion(host, companion, std::chrono::seconds(3)), 0u)
            << "a fourth companion within the minute";

        // With no companion left to repaint them, each program's library sees the host's end itself.
        host.Kill();
        EXPECT_TRUE(AllPlain(windows, plainMenus, std::chrono::seconds(5)))
            << "64-bit attached " << Attached(windows[0]) << ", 32-bit attached " << Attached(windows[1]);
        SaveScreenshot("companion_killed_host");
    }
    RunningHost next;
    ASSERT_TRUE(next.WaitUntilReady());
    EXPECT_TRUE(AllDecorated(windows)) << "the next host did not decorate both";
    EXPECT_TRUE(next.Exit());
}

// Windows that appear while the host starts: each round a dozen programs
// (every other one 32-bit where the machine runs them) started from 0 to
// 1,000 ms after the host. Once the host has started, each window carries its
// buttons without a paint of its own: the program paints nothing after its
// first frame unless asked to.
using HostStartUp = RealHostTest;

TEST_F(HostStartUp, ADozenProgramsStartedWithTheHostAreAllDecoratedInEveryRound) {
    constexpr int kRounds = 4;
    constexpr int kPrograms = 12;
    const bool both = ThirtyTwoBitProgramsRun();
    std::mt19937 random(19u);
    for (int round = 0; round < kRounds; ++round) {
        std::vector<int> delaysMs{0};
        for (int i = 1; i < kPrograms; ++i)
            delaysMs.push_back(static_cast<int>(random() % 1001));
        std::sort(delaysMs.begin(), delaysMs.end());
        RunningHost host;
        ASSERT_TRUE(host.Started());
        const auto hostStart = std::chrono::steady_clock::now();
        std::vector<std::unique_ptr<TargetProgram>> programs;
        for (int i = 0; i < kPrograms; ++i) {
            const auto due = hostStart + std::chrono::milliseconds(delaysMs[static_cast<std::size_t>(i)]);
            const auto now = std::chrono::steady_clock::now();
            if (due > now)  // the schedule of the starts, not a wait for anything
                ::Sleep(static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count()));
            const POINT at{10 + (i % 4) * 250, 10 + (i / 4) * 220};
            const TargetLayout layout{L"Started with the host " + std::to_wstring(i + 1), 1, at, {240, 200}, {0, 0}};
            programs.push_back(both && i % 2 ? std::make_unique<TargetProgram>(layout, TargetProgram32Path())
                                             : std::make_unique<TargetProgram>(layout));
        }
        std::vector<HWND> windows;
        for (const auto& program : programs) {
            ASSERT_TRUE(program->WaitForWindows());
            windows.push_back(program->Window());
        }
        ASSERT_TRUE(host.WaitUntilReady());
        const bool all = WaitUntilAttached(windows, true, std::chrono::seconds(20));
        std::string missed;
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (!Attached(windows[i]))
                missed += " " + std::to_string(i + 1) + " (started at " + std::to_string(delaysMs[i]) + " ms, " +
                          std::to_string(AskTarget(windows[i], kAskNcPaints)) + " frame paints)";
        EXPECT_TRUE(all) << "round " << round << ", programs without buttons:" << missed;
        if (!all)
            SaveScreenshot("startup_race_round_" + std::to_string(round));
        EXPECT_TRUE(host.Exit());
    }
}

}  // namespace
}  // namespace kz::test
