// Prints what the host's window command executor costs per command on a real
// window of this process (median over many runs, each command with its undo),
// and what restoring a hundred changed windows at once costs. The registry is
// redirected to a scratch key, so the crash journal is written as
// in the host but leaves the user's values alone.
#include "kz/commands/Hiddenjournal.h"
#include "kz/commands/Impprofile.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ExecutorStandIns.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestWindows.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace kz;

constexpr int kRuns = 101;
constexpr int kChangedWindows = 100;

double NowMicroseconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double TimeMicroseconds(const std::function<void()>& body) {
    const double start = NowMicroseconds();
    body();
    return NowMicroseconds() - start;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

struct CommandCase {
    const char* name;
    std::function<void(TImpProfile&, HWND)> command;
    std::function<void(TImpProfile&, HWND)> undo;
};

// The executor calls the host's main window makes for each command message,
// and the undo the user would choose.
const std::vector<CommandCase>& CommandCases() {
    static const std::vector<CommandCase> cases = {
        {"HM_TO_TRAY", [](TImpProfile& p, HWND w) { p.SetInTray(w, true); p.SetVisible(w, false); },
         [](TImpProfile& p, HWND w) { p.RestoreWindow(w); }},
        {"HM_TO_COMMON_TRAY", [](TImpProfile& p, HWND w) { p.SetInCommonTray(w, true); p.SetVisible(w, false); },
         [](TImpProfile& p, HWND w) { p.SetInCommonTray(w, false); }},
        {"HM_TO_BOX", [](TImpProfile& p, HWND w) { p.SetVisible(w, false); p.SetInBox(w, true); },
         [](TImpProfile& p, HWND w) { p.RestoreWindow(w); }},
        {"HM_ROLL", [](TImpProfile& p, HWND w) { p.SetRolled(w, !p.IsRolled(w)); },
         [](TImpProfile& p, HWND w) { p.SetRolled(w, !p.IsRolled(w)); }},
        {"HM_ON_TOP", [](TImpProfile& p, HWND w) { p.SetOnTop(w, !p.IsOnTop(w)); },
         [](TImpProfile& p, HWND w) { p.SetOnTop(w, !p.IsOnTop(w)); }},
        {"HM_TO_BACK", [](TImpProfile& p, HWND w) { p.SendToBack(w); }, [](TImpProfile&, HWND) {}},
        {"HM_TRANSPARENCY 50", [](TImpProfile& p, HWND w) { p.SetTransparency(w, 50); },
         [](TImpProfile& p, HWND w) { p.SetTransparency(w, 100); }},
        {"HM_TRANSPARENCY toggle",
         [](TImpProfile& p, HWND w) { p.ToggleTransparency(w, p.GetTransparency(w) >= 100); },
         [](TImpProfile& p, HWND w) { p.ToggleTransparency(w, p.GetTransparency(w) >= 100); }},
        {"HM_WINDOW_SIZED (rolled)", [](TImpProfile& p, HWND w) { p.SetRolled(w, true); p.WindowSized(w); },
         [](TImpProfile& p, HWND w) { p.RestoreWindow(w); }},
    };
    return cases;
}

void PrintCommandTimes(TImpProfile& profile) {
    std::printf("%-26s %14s %14s\n", "command", "command us", "undo us");
    for (const CommandCase& c : CommandCases()) {
        UniqueWindow target = test::MakeCommandTarget();
        profile.GetProfile(target.get());  // the record is made once per window
        std::vector<double> commands, undos;
        for (int run = 0; run < kRuns; ++run) {
            commands.push_back(TimeMicroseconds([&] { c.command(profile, target.get()); }));
            undos.push_back(TimeMicroseconds([&] { c.undo(profile, target.get()); }));
            test::PumpPending();
        }
        profile.ForgetWindow(target.get());
        std::printf("%-26s %14.1f %14.1f\n", c.name, Median(commands), Median(undos));
    }
}

void PrintRecordCreation(TImpProfile& profile) {
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        UniqueWindow target = test::MakeCommandTarget();
        times.push_back(TimeMicroseconds([&] { profile.GetProfile(target.get()); }));
        profile.ForgetWindow(target.get());
    }
    std::printf("%-26s %14.1f   (first command on a window: program path, icons)\n", "record creation",
                Median(times));
}

// The system calls the commands make, timed alone, so that the figures above
// can be told apart into the executor's own work and the system's.
void PrintSystemCallTimes(HWND mainWindow) {
    struct SystemCall {
        const char* name;
        std::function<void(HWND)> call;
    };
    const std::vector<SystemCall> calls = {
        {"ShowWindow SW_HIDE", [](HWND w) { ::ShowWindow(w, SW_HIDE); }},
        {"ShowWindow SW_SHOW", [](HWND w) { ::ShowWindow(w, SW_SHOW); }},
        {"SetWindowPos topmost",
         [](HWND w) { ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE); }},
        {"SetWindowPos not topmost",
         [](HWND w) { ::SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE); }},
        {"Shell_NotifyIconW add", [mainWindow](HWND w) {
             NOTIFYICONDATAW data = WindowIconData(mainWindow, w, ::LoadIconW(nullptr, IDI_APPLICATION));
             ::Shell_NotifyIconW(NIM_ADD, &data);
         }},
        {"Shell_NotifyIconW delete", [mainWindow](HWND w) {
             NOTIFYICONDATAW data = WindowIconData(mainWindow, w, nullptr);
             ::Shell_NotifyIconW(NIM_DELETE, &data);
         }},
    };
    std::printf("System calls alone:\n");
    UniqueWindow target = test::MakeCommandTarget();
    std::vector<std::vector<double>> times(calls.size());
    for (int run = 0; run < kRuns; ++run)
        for (std::size_t i = 0; i < calls.size(); ++i)
            times[i].push_back(TimeMicroseconds([&] { calls[i].call(target.get()); }));
    for (std::size_t i = 0; i < calls.size(); ++i)
        std::printf("  %-24s %14.1f\n", calls[i].name, Median(times[i]));
}

// Restoring a hundred windows, each changed by every command in changes.
void PrintRestoreAll(TImpProfile& profile, const char* changes, const std::function<void(HWND)>& change) {
    std::vector<double> totals;
    for (int run = 0; run < 3; ++run) {
        std::vector<UniqueWindow> targets;
        for (int i = 0; i < kChangedWindows; ++i) {
            targets.push_back(test::MakeCommandTarget());
            change(targets.back().get());
        }
        totals.push_back(TimeMicroseconds([&] { profile.RestoreAll(); }));
        for (const UniqueWindow& target : targets)
            profile.ForgetWindow(target.get());
        test::PumpPending();
    }
    const double total = Median(totals);
    std::printf("RestoreAll of %d windows %s:\n  %-24s %14.1f us, %.1f us per window\n", kChangedWindows, changes,
                "total", total, total / kChangedWindows);
}

void PrintRestoreAllTimes(TImpProfile& profile) {
    PrintRestoreAll(profile, "at 60 %, topmost, rolled up and hidden", [&profile](HWND w) {
        profile.SetTransparency(w, 60);
        profile.SetOnTop(w, true);
        profile.SetRolled(w, true);
        profile.SetVisible(w, false);
    });
    PrintRestoreAll(profile, "as above and each behind a tray icon of its own", [&profile](HWND w) {
        profile.SetTransparency(w, 60);
        profile.SetOnTop(w, true);
        profile.SetRolled(w, true);
        profile.SetInTray(w, true);
        profile.SetVisible(w, false);
    });
}

}  // namespace

int main() {
    test::ScratchRegistry registry;
    test::RecordingHost host;
    test::CountingCommonTray commonTray;
    RegistryChangeJournal journal;
    TImpProfile profile;
    profile.Connect(host.Window(), &commonTray, nullptr, &journal);

    std::printf("Window command executor, median of %d runs on a real window of this process\n", kRuns);
    PrintRecordCreation(profile);
    PrintCommandTimes(profile);
    PrintSystemCallTimes(host.Window());
    PrintRestoreAllTimes(profile);
    profile.Connect(nullptr, nullptr, nullptr, nullptr);
    return 0;
}
