// The real 64-bit kz.exe with its 32-bit companion, and programs of both
// bitnesses: buttons, commands and settings in both; exit; a killed
// companion and a killed host; and windows that appear while the host starts.
// A 64-bit Wine prefix runs both bitnesses, as 64-bit Windows does.
#include "common/Product.h"
#include "kz/settings/Usettingsfile.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace kz::test {
namespace {

constexpr std::size_t kOnTopButton = 4;
constexpr std::size_t kDefaultButtonCount = 9;

class BothBitnesses : public RealHostTest {
protected:
    void SetUp() override {
        if (!ThirtyTwoBitProgramsRun())
            GTEST_SKIP() << "this machine runs no 32-bit programs: no companion and no 32-bit target were placed";
        RealHostTest::SetUp();
    }
};

// One window of a 64-bit and one of a 32-bit target program, side by side.
struct TwoPrograms {
    TargetProgram wide{{L"64-bit program", 1, {40, 40}, {460, 240}, {0, 0}}};
    TargetProgram narrow{{L"32-bit program", 1, {520, 40}, {460, 240}, {0, 0}}, TargetProgram32Path()};

    bool Open() { return wide.WaitForWindows() && narrow.WaitForWindows(); }
    std::vector<HWND> Windows() const { return {wide.Window(), narrow.Window()}; }
};

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

TEST_F(BothBitnesses, BothCarryButtonsTakeCommandsAndSettingsAndExitLeavesBothPlainAndAnswering) {
    TwoPrograms programs;
    ASSERT_TRUE(programs.Open());
    const std::vector<HWND> windows = programs.Windows();
    const std::vector<LRESULT> plainMenus = SystemMenuCounts(windows);

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

TEST_F(BothBitnesses, AKilledCompanionIsStartedAgainAndAKilledHostLeavesBothPlainUntilTheNextHost) {
    TwoPrograms programs;
    ASSERT_TRUE(programs.Open());
    const std::vector<HWND> windows = programs.Windows();
    const std::vector<LRESULT> plainMenus = SystemMenuCounts(windows);
    {
        RunningHost host;
        ASSERT_TRUE(host.WaitUntilReady());
        ASSERT_TRUE(AllDecorated(windows));
        const DWORD companion = host.CompanionProcessId();
        ASSERT_NE(companion, 0u);
        {
            const UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, companion));
            ASSERT_TRUE(process);
            ::TerminateProcess(process.get(), 99);
            ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
        }
        EXPECT_TRUE(WaitUntil([&] {
            const DWORD next = host.CompanionProcessId();
            return next != 0 && next != companion;
        })) << "no new companion";
        // The new companion's hook reaches a 32-bit program started after it.
        TargetProgram later({L"32-bit program after the restart", 1, {520, 320}, {460, 240}, {0, 0}},
                            TargetProgram32Path());
        ASSERT_TRUE(later.WaitForWindows());
        EXPECT_TRUE(AllDecorated({windows[1], later.Window()}));
        SaveScreenshot("companion_restarted");

        host.Kill();
        // Nobody touches the windows: they let go of themselves once the host's process is gone.
        EXPECT_TRUE(AllPlain(windows, plainMenus, std::chrono::seconds(5)))
            << "64-bit attached " << Attached(windows[0]) << ", 32-bit attached " << Attached(windows[1]);
        SaveScreenshot("companion_killed_host");
    }
    RunningHost next;
    ASSERT_TRUE(next.WaitUntilReady());
    EXPECT_TRUE(AllDecorated(windows)) << "the next host did not decorate both";
    EXPECT_TRUE(next.Exit());
}

// Windows that appear while the host starts: each round a dozen programs,
// every other one 32-bit, started from 0 to 1,000 ms after the host. Once the
// host has started, each carries its buttons without a paint of its own.
TEST_F(BothBitnesses, ADozenProgramsStartedWithTheHostAreAllDecoratedInEveryRound) {
    constexpr int kRounds = 3;
    constexpr int kPrograms = 12;
    std::mt19937 random(19u);
    for (int round = 0; round < kRounds; ++round) {
        RunningHost host;
        ASSERT_TRUE(host.Started());
        const auto hostStart = std::chrono::steady_clock::now();
        std::vector<std::unique_ptr<TargetProgram>> programs;
        for (int i = 0; i < kPrograms; ++i) {
            const auto delay = std::chrono::milliseconds(i == 0 ? 0 : random() % 1001);
            const auto due = hostStart + delay;
            if (due > std::chrono::steady_clock::now())
                ::Sleep(static_cast<DWORD>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(due - std::chrono::steady_clock::now())
                        .count()));
            const POINT at{10 + (i % 4) * 250, 10 + (i / 4) * 220};
            const TargetLayout layout{L"Started with the host " + std::to_wstring(i + 1), 1, at, {240, 200}, {0, 0}};
            programs.push_back(i % 2 ? std::make_unique<TargetProgram>(layout, TargetProgram32Path())
                                     : std::make_unique<TargetProgram>(layout));
        }
        std::vector<HWND> windows;
        for (const auto& program : programs) {
            ASSERT_TRUE(program->WaitForWindows());
            windows.push_back(program->Window());
        }
        ASSERT_TRUE(host.WaitUntilReady());
        const bool all = WaitUntilAttached(windows, true, std::chrono::seconds(20));
        int missed = 0;
        for (HWND window : windows)
            missed += !Attached(window);
        EXPECT_TRUE(all) << "round " << round << ": " << missed << " of " << kPrograms << " windows without buttons";
        if (!all)
            SaveScreenshot("companion_startup_race_round_" + std::to_string(round));
        EXPECT_TRUE(host.Exit());
    }
}

}  // namespace
}  // namespace kz::test
