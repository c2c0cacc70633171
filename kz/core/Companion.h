// The 32-bit companion of a 64-bit host. The system loads a hook library only
// into programs of its own bitness, so 32-bit programs get their buttons
// from the i686 build: its kz.exe, started from the x86 folder beside the
// host with --companion and the host's main window, installs the i686
// trelmo.dll's hook pointed at that window. Every command from a 32-bit
// window thus reaches the one host, which treats all windows alike.
//
// The host's side: starts the companion, hears when its process ends,
// starts it again (a few times a minute at most) and ends it at exit.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <string>

namespace kz {

constexpr wchar_t kCompanionSwitch[] = L"--companion";

// Posted by the companion to the host's main window, wParam a CompanionReport.
UINT CompanionReportMessage();
enum CompanionReport : WPARAM {
    // Started, and waiting for the host to let it install its hook: the
    // process starts while the host starts, the hook comes once the host
    // takes commands (the host's message loop hears of this report).
    kCompanionWaiting = 0,
    kCompanionHooked = 1,  // its hook is in place
};
// Posted by the host to the companion's thread: install the hook now.
constexpr UINT kCompanionGoMessage = WM_APP;
// Posted by the host to itself when its companion's process has ended.
UINT CompanionEndedMessage();

// The companion's program: x86\kz.exe beside the running program.
std::wstring CompanionProgramPath();

// How often a companion that ended may be started again: a few starts in a
// minute, so that one that keeps dying costs the host next to nothing.
class RestartBudget {
public:
    static constexpr int kStartsPerPeriod = 3;
    static constexpr ULONGLONG kPeriodMs = 60000;

    // Milliseconds until the next start is allowed; 0 when it is allowed now.
    ULONGLONG WaitBeforeStart(ULONGLONG now) const;
    void Started(ULONGLONG now);

private:
    ULONGLONG starts_[kStartsPerPeriod] = {};
    int count_ = 0;  // starts recorded, at most kStartsPerPeriod
    int next_ = 0;   // the oldest start, overwritten by the next one
};

class CompanionProcess {
public:
    // hostWindow: the host's main window, named to the companion and told
    // of its end with CompanionEndedMessage.
    CompanionProcess(HWND hostWindow, std::wstring program = CompanionProgramPath());
    // End().
    ~CompanionProcess();
    CompanionProcess(const CompanionProcess&) = delete;
    CompanionProcess& operator=(const CompanionProcess&) = delete;

    // Starts the companion; false when there is none to start (no x86
    // folder, a system that runs no 32-bit programs) or it runs already.
    bool Start();
    // What the companion reported: one waiting is let install its hook.
    void Reported(WPARAM report);
    // After CompanionEndedMessage: milliseconds until the companion should be
    // started again, 0 for now, INFINITE for never (it is still running, or
    // it never got its hook in place and so never will).
    DWORD RestartDelay();
    // Asks the companion to end (it removes its hook and repaints its
    // windows without buttons) and waits for it a short while; one that
    // does not end in time is ended the hard way.
    void End();

    bool Running() const;
    DWORD ProcessId() const { return processId_; }

private:
    static void CALLBACK ProcessEnded(void* context, BOOLEAN timedOut) noexcept;
    void StopWatching();

    HWND hostWindow_;
    std::wstring program_;
    UniqueKernelHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HANDLE wait_ = nullptr;
    bool everReady_ = false;
    RestartBudget budget_;
};

// The companion's whole life, in the i686 kz.exe started with --companion:
// once the host lets it, installs its hook for the host window from a thread
// that only pumps, and waits until the host asks it to end or the host's
// process ends for whatever reason; then removes its hook. Returns the
// program's exit code: 0, or 1 when the hook could not be installed.
int RunCompanion(HWND hostWindow);

}  // namespace kz
