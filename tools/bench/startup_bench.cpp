// Start-up of the real host kz.exe: with fifty captioned windows of other
// programs open, the time from starting kz.exe until all fifty carry the
// caption buttons; then, with nothing happening, what wakes the host's main
// thread (every message it takes from its queue or is sent, timers by id).
// Runs in the Wine desktop like the end-to-end tests:
//   startup_bench.exe [idle seconds, default 10]
#include "common/Product.h"
#include "tests/support/Host.h"
#include "tests/support/MessageProbe.h"
#include "tests/support/TestWindows.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace kz::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWindows = 50;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string ClassOf(HWND window) {
    char name[128] = "?";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    if (!HostBuilt()) {
        std::printf("kz.exe is missing beside startup_bench.exe\n");
        return 1;
    }
    if (::FindWindowW(kz::kMainWindowClass, nullptr)) {
        std::printf("a kz.exe is already running: end it first\n");
        return 1;
    }

    std::vector<std::unique_ptr<TargetProgram>> targets;
    targets.push_back(std::make_unique<TargetProgram>(
        TargetProgram::Layout{L"Bench window A", kWindows / 2, {10, 10}, {420, 200}, {12, 12}}));
    targets.push_back(std::make_unique<TargetProgram>(
        TargetProgram::Layout{L"Bench window B", kWindows / 2, {520, 10}, {420, 200}, {12, 12}}));
    std::vector<HWND> windows;
    for (const auto& target : targets) {
        if (!target->WaitForWindows()) {
            std::printf("the target windows did not appear\n");
            return 1;
        }
        windows.insert(windows.end(), target->Windows().begin(), target->Windows().end());
    }
    int attachedBefore = 0;
    for (HWND window : windows)
        attachedBefore += Attached(window);
    if (attachedBefore != 0) {
        std::printf("%d windows carry buttons before the host starts: another hook runs\n", attachedBefore);
        return 1;
    }

    const Clock::time_point start = Clock::now();
    RunningHost host;
    if (!host.Started() || !WaitUntil([&] { return ::FindWindowW(kz::kMainWindowClass, nullptr) != nullptr; },
                                      std::chrono::seconds(20))) {
        std::printf("kz.exe shows no main window\n");
        return 1;
    }
    const double mainWindowMs = MillisecondsSince(start);
    if (!host.WaitUntilReady()) {
        std::printf("kz.exe shows no tray icon\n");
        return 1;
    }
    const double trayIconMs = MillisecondsSince(start);
    const bool allAttached = WaitUntilAttached(windows, true, std::chrono::seconds(60));
    const double decoratedMs = MillisecondsSince(start);
    int attached = 0;
    for (HWND window : windows)
        attached += Attached(window);
    std::printf("start-up with %d windows open:\n", kWindows);
    std::printf("  main window        %8.0f ms after the start of kz.exe\n", mainWindowMs);
    std::printf("  host tray icon     %8.0f ms\n", trayIconMs);
    std::printf("  %2d of %d decorated %7.0f ms%s\n", attached, kWindows, decoratedMs,
                allAttached ? "" : " (gave up waiting)");

    // Idle: the splash may still be up; its end is part of the start.
    WaitUntil([&] { return !::IsWindowVisible(host.Window()); }, std::chrono::seconds(10));
    MessageProbe probe;
    if (!probe.Attach(::GetWindowThreadProcessId(host.Window(), nullptr))) {
        std::printf("idle: the message probe could not hook the host's thread\n");
        return host.Exit() ? 0 : 1;
    }
    // The probe sees what the thread takes from its queue: one posted message shows it.
    ::PostMessageW(host.Window(), WM_NULL, 0, 0);
    if (!WaitUntil([&] { return probe.Counts().Count(WM_NULL) > 0; })) {
        std::printf("idle: the message probe does not see the host's queue\n");
        return host.Exit() ? 0 : 1;
    }
    probe.Reset();
    const Clock::time_point idleStart = Clock::now();
    WaitUntil([] { return false; }, std::chrono::seconds(idleSeconds));  // nothing happens, on purpose
    const double idleMs = MillisecondsSince(idleStart);
    const ProbeCounts counts = probe.Counts();
    std::printf("idle for %.1f s, nothing happening:\n", idleMs / 1000);
    std::printf("  the host's main thread took %ld messages from its queue and was sent %ld\n", counts.retrieved,
                counts.sent);
    for (const ProbeMessage& entry : counts.retrievedByCode)
        std::printf("    queued message 0x%04x: %ld\n", entry.message, entry.count);
    for (const ProbeMessage& entry : counts.sentByCode)
        std::printf("    sent message   0x%04x: %ld\n", entry.message, entry.count);
    for (const ProbeTimer& timer : counts.timers)
        std::printf("    WM_TIMER id %llu of a %s window: %ld, every %.0f ms\n",
                    static_cast<unsigned long long>(timer.id), ClassOf(timer.window).c_str(), timer.count,
                    timer.count ? idleMs / timer.count : 0.0);
    if (counts.timers.empty())
        std::printf("    no timer fired\n");
    return host.Exit() ? 0 : 1;
}
