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
#include "kz/core/FollowUpRepaints.h"
#include "tests/support/Host.h"
#include "tests/support/MessageProbe.h"
#include "tests/support/TestWindows.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
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

// Under Wine every Windows process is a Linux process, found by a word of its
// command line: the context switches of its threads count every time one of
// them woke, and its anonymous resident memory is its private memory. Wine
// reports neither through the Windows functions for another process.
struct UnixFigures {
    std::map<std::string, long long> switchesByThread;
    long long privateKiB = -1;
};

// Wake-ups between two looks: of the threads seen the second time (a pool
// thread may end meanwhile), each counted from the first look if it was there.
long long WakeUpsBetween(const UnixFigures& before, const UnixFigures& after) {
    long long wakeUps = 0;
    for (const auto& [thread, switches] : after.switchesByThread) {
        const auto earlier = before.switchesByThread.find(thread);
        wakeUps += switches - (earlier == before.switchesByThread.end() ? 0 : earlier->second);
    }
    return wakeUps;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

long long FieldOf(const std::string& status, const std::string& name) {
    const std::size_t at = status.find(name + ":");
    return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + name.size() + 1);
}

std::vector<std::string> SubfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::isdigit(static_cast<unsigned char>(found.cFileName[0])))
            names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

// The Linux process whose command line holds the word; empty when none (not under Wine).
std::string UnixProcessWith(const std::string& word) {
    for (const std::string& pid : SubfolderNames("Z:\\proc"))
        if (ReadWhole("Z:\\proc\\" + pid + "\\cmdline").find(word) != std::string::npos)
            return "Z:\\proc\\" + pid;
    return {};
}

UnixFigures FiguresOf(const std::string& process) {
    UnixFigures figures;
    if (process.empty())
        return figures;
    for (const std::string& task : SubfolderNames(process + "\\task")) {
        const std::string status = ReadWhole(process + "\\task\\" + task + "\\status");
        figures.switchesByThread[task] =
            FieldOf(status, "voluntary_ctxt_switches") + FieldOf(status, "nonvoluntary_ctxt_switches");
    }
    figures.privateKiB = FieldOf(ReadWhole(process + "\\status"), "RssAnon");
    return figures;
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
    const bool companionStarted = both && WaitUntil([&] { return host.CompanionProcessId() != 0; });
    const double companionMs = MillisecondsSince(start);
    const double decorated64Ms = DecoratedAfter(windows64, start);
    const double decorated32Ms = both ? DecoratedAfter(windows32, start) : 0;
    int attached = 0;
    for (HWND window : windows)
        attached += Attached(window);
    std::printf("start-up with %zu windows open (%zu of 64-bit programs, %zu of 32-bit ones):\n", windows.size(),
                windows64.size(), windows32.size());
    std::printf("  main window        %8.0f ms after the start of kz.exe\n", mainWindowMs);
    std::printf("  host tray icon     %8.0f ms\n", trayIconMs);
    if (both)
        std::printf("  companion process  %8.0f ms%s\n", companionMs, companionStarted ? "" : " (none came)");
    std::printf("  64-bit decorated   %8.0f ms\n", decorated64Ms);
    if (both)
        std::printf("  32-bit decorated   %8.0f ms (the companion's part: %.0f ms after the 64-bit ones)\n",
                    decorated32Ms, decorated32Ms - decorated64Ms);
    else
        std::printf("  no 32-bit programs: this machine runs none, or x86 is not placed beside kz.exe\n");
    std::printf("  %3d of %zu decorated%s\n", attached, windows.size(),
                attached == static_cast<int>(windows.size()) ? "" : " (gave up waiting)");
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
    // The follow-up repaints of the companion's start are part of the start, not of the idle time.
    WaitUntil([] { return false; }, std::chrono::milliseconds(std::end(kz::FollowUpRepaints::kRoundsMs)[-1]));
    // The processes to watch while idle: the companion and one program of each bitness.
    const std::vector<std::pair<const char*, std::string>> watched = {
        {"the companion", UnixProcessWith("--companion")},
        {"a 64-bit program (25 windows)", UnixProcessWith("Bench window A")},
        {"a 32-bit program (25 windows)", UnixProcessWith("32-bit bench window A")}};
    std::vector<UnixFigures> before;
    for (const auto& process : watched)
        before.push_back(FiguresOf(process.second));
    const Clock::time_point idleStart = Clock::now();
    WaitUntil([] { return false; }, std::chrono::seconds(idleSeconds));  // nothing happens, on purpose
    const double idleMs = MillisecondsSince(idleStart);
    std::printf("idle for %.1f s, nothing happening (Linux figures of the Wine processes):\n", idleMs / 1000);
    for (std::size_t i = 0; i < watched.size(); ++i) {
        if (watched[i].second.empty()) {
            std::printf("  %s: not found\n", watched[i].first);
            continue;
        }
        const UnixFigures after = FiguresOf(watched[i].second);
        std::printf("  %s: %lld wake-ups of its threads, %lld KiB private resident memory\n", watched[i].first,
                    WakeUpsBetween(before[i], after), after.privateKiB);
    }
    const ProbeCounts counts = probe.Counts();
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
