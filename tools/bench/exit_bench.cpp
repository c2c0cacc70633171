// Exit of the real host kz.exe with a hundred changed windows of other
// programs, one of which takes no messages: the time from "kz.exe --exit"
// until the host has ended, and how many of the ninety-nine answering windows
// are back as they were. Runs in the Wine desktop like the end-to-end tests.
#include "common/Product.h"
#include "common/Protocol.h"
#include "tests/support/Host.h"
#include "tests/support/TestWindows.h"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <vector>

using namespace kz::test;
using Clock = std::chrono::steady_clock;

namespace {

// Longer than any exit takes: the program is still hung when the host ends.
constexpr LPARAM kHangMs = 30000;

}  // namespace

int main() {
    if (!HostBuilt() || ::FindWindowW(kz::kMainWindowClass, nullptr)) {
        std::printf("kz.exe is missing beside exit_bench.exe, or one is already running\n");
        return 1;
    }
    ResetHostSettings();
    TargetProgram answering({L"Answering window", 99, {10, 10}, {300, 150}, {6, 3}});
    TargetProgram hanging({L"Hanging program", 1, {620, 420}, {360, 200}, {0, 0}});
    if (!answering.WaitForWindows() || !hanging.WaitForWindows()) {
        std::printf("the target windows did not appear\n");
        return 1;
    }
    const std::vector<HWND> windows = answering.Windows();
    const HWND hung = hanging.Window();
    std::vector<int> heights;
    for (HWND window : windows)
        heights.push_back(WindowHeight(window));

    RunningHost host;
    if (!host.WaitUntilReady() || !WaitUntilAttached(windows, true, std::chrono::seconds(60)) ||
        !WaitUntilAttached({hung}, true)) {
        std::printf("kz.exe did not start or did not decorate the windows\n");
        return 1;
    }
    const UINT changes[] = {kz::HM_TO_TRAY, kz::HM_TO_COMMON_TRAY, kz::HM_ROLL, kz::HM_ON_TOP, kz::HM_TRANSPARENCY};
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const UINT change = changes[i % std::size(changes)];
        host.Command(change, windows[i], change == kz::HM_TRANSPARENCY ? kz::kTransparencyToggleArgument : 0);
    }
    host.Command(kz::HM_TO_TRAY, hung);
    host.Command(kz::HM_ON_TOP, hung);
    if (AskTarget(hung, kAskHang, kHangMs) != 1) {
        std::printf("the hanging program did not take the request\n");
        return 1;
    }
    // The request is carried out once the program takes its next message.
    WaitUntil([&] { return !Answers(hung, std::chrono::milliseconds(100)); });

    const Clock::time_point start = Clock::now();
    const bool ended = host.Exit();
    const double exitMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const int restored = static_cast<int>(windows.size()) - CountChanged(windows, heights);
    std::printf("exit with 100 changed windows, one of them hung:\n");
    std::printf("  kz.exe --exit until the host ended %8.0f ms%s\n", exitMs, ended ? "" : " (it did not end)");
    std::printf("  answering windows restored         %5d of %zu\n", restored, windows.size());
    return ended ? 0 : 1;
}
