// Start-up of the real host kz.exe: with fifty captioned windows of 64-bit
// programs open (and fifty of 32-bit ones where the 32-bit companion and
// target are placed in x86), the time from starting kz.exe until all carry
// the caption buttons, each bitness apart: the 32-bit ones wait for the
// companion, which is what it adds to the start. Then, with nothing
// happening, what wakes the host's main thread (every message it takes from
// its queue or is sent, timers by id), and the companion's private bytes and
// processor time, and the target programs' processor time (the library's
// wait on the host's process must cost them nothing).
// Runs in the Wine desktop like the end-to-end tests:
//   startup_bench.exe [idle seconds, default 10]
#include "common/Product.h"
#include "tests/support/Host.h"
#include "tests/support/MessageProbe.h"
#include "tests/support/TestWindows.h"

#include <psapi.h>

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

// Processor time a process has used, user and kernel, in milliseconds.
double ProcessorMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    const auto ticks = [](FILETIME time) {
        return static_cast<double>(static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

double PrivateKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        return -1;
    return static_cast<double>(memory.PrivateUsage) / 1024;
}

// Waits until every window is attached; the milliseconds since start, or -1.
double DecoratedAfter(const std::vector<HWND>& windows, Clock::time_point start) {
    return WaitUntilAttached(windows, true, std::chrono::seconds(60)) ? MillisecondsSince(start) : -1;
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
    const bool both = ThirtyTwoBitProgramsRun();
    if (both) {
        targets.push_back(std::make_unique<TargetProgram>(
            TargetProgram::Layout{L"32-bit bench window A", kWindows / 2, {10, 380}, {420, 200}, {12, 8}},
            TargetProgram32Path()));
        targets.push_back(std::make_unique<TargetProgram>(
            TargetProgram::Layout{L"32-bit bench window B", kWindows / 2, {520, 380}, {420, 200}, {12, 8}},
            TargetProgram32Path()));
    }
    std::vector<HWND> windows;
    std::vector<HWND> windows64;
    std::vector<HWND> windows32;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i]->WaitForWindows()) {
            std::printf("the target windows did not appear\n");
            return 1;
        }
        const std::vector<HWND>& own = targets[i]->Windows();
        windows.insert(windows.end(), own.begin(), own.end());
        std::vector<HWND>& ofBitness = i < 2 ? windows64 : windows32;
        ofBitness.insert(ofBitness.end(), own.begin(), own.end());
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
    const double decorated64Ms = DecoratedAfter(windows64, start);
    const double decorated32Ms = both ? DecoratedAfter(windows32, start) : 0;
    int attached = 0;
    for (HWND window : windows)
        attached += Attached(window);
    std::printf("start-up with %zu windows open (%zu of 64-bit programs, %zu of 32-bit ones):\n", windows.size(),
                windows64.size(), windows32.size());
    std::printf("  main window        %8.0f ms after the start of kz.exe\n", mainWindowMs);
    std::printf("  host tray icon     %8.0f ms\n", trayIconMs);
    std::printf("  64-bit decorated   %8.0f ms\n", decorated64Ms);
    if (both)
        std::printf("  32-bit decorated   %8.0f ms (the companion's part: %.0f ms after the 64-bit ones)\n",
                    decorated32Ms, decorated32Ms - decorated64Ms);
    else
        std::printf("  no 32-bit programs: this machine runs none, or x86 is not placed beside kz.exe\n");
    std::printf("  %3d of %zu decorated%s\n", attached, windows.size(),
                attached == static_cast<int>(windows.size()) ? "" : " (gave up waiting)");
    const DWORD companionId = host.CompanionProcessId();
    const kz::UniqueKernelHandle companion(
        companionId ? ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, companionId) : nullptr);

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
    std::vector<double> processorBefore;
    for (const auto& target : targets)
        processorBefore.push_back(ProcessorMs(target->Process()));
    const double companionBefore = companion ? ProcessorMs(companion.get()) : 0;
    const Clock::time_point idleStart = Clock::now();
    WaitUntil([] { return false; }, std::chrono::seconds(idleSeconds));  // nothing happens, on purpose
    const double idleMs = MillisecondsSince(idleStart);
    if (companion)
        std::printf("the companion (process %lu), idle: private bytes %.0f KiB, processor time %.1f ms in %.1f s\n",
                    static_cast<unsigned long>(companionId), PrivateKiB(companion.get()),
                    ProcessorMs(companion.get()) - companionBefore, idleMs / 1000);
    else if (both)
        std::printf("no companion process found\n");
    for (std::size_t i = 0; i < targets.size(); ++i)
        std::printf("target program %zu (%s), idle: processor time %.1f ms\n", i + 1, i < 2 ? "64-bit" : "32-bit",
                    ProcessorMs(targets[i]->Process()) - processorBefore[i]);
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
