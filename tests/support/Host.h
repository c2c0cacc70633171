// Test support: the host under test, however it runs. The real main window,
// tray-menu module and executor in the test process (the window tests), or
// the real kz.exe in a process of its own (the end-to-end tests); both are
// driven through the messages the library, the shell and other programs
// send the main window.
#pragma once

#include "common/Settingsformat.h"
#include "kz/commands/Hiddenjournal.h"
#include "kz/commands/Impprofile.h"
#include "kz/commands/Utraymenu2.h"
#include "kz/core/Umain.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace kz::test {

// The default settings without the splash: a topmost splash that takes the
// foreground and hides again at a moment that depends on the load of the
// machine would race with the clicks and key presses of a test.
SettingsRecord QuietHostSettings();

// The host's main window, as the other programs reach it.
class HostWindow {
public:
    HWND Window() const { return window_; }
    // SendMessageTimeout to the main window; false when it did not answer.
    bool Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) const;
    // A command about a window, as the library sends it: wParam the window.
    bool Command(UINT message, HWND about, LPARAM argument = 0) const {
        return Send(message, reinterpret_cast<WPARAM>(about), argument);
    }
    // What the shell sends when the user clicks a tray icon.
    bool NotifyTrayClick(UINT iconId, UINT mouseMessage = WM_LBUTTONDOWN) const;

protected:
    HWND window_ = nullptr;
};

// The real main window, tray-menu module and executor in the test process,
// without the hook, on a scratch registry. The host never acts on its own
// process's windows: its targets are other programs.
class InProcessHost : public HostWindow {
public:
    explicit InProcessHost(bool trayMenuSeparate = false);
    // Restores every window the executor changed.
    ~InProcessHost();
    InProcessHost(const InProcessHost&) = delete;
    InProcessHost& operator=(const InProcessHost&) = delete;

    TTQuorvane_Invisible_Buttons& Main() { return *main_; }
    TdmTrayMenu& TrayMenu() { return *trayMenu_; }
    TImpProfile& Executor() { return executor_; }

private:
    ScratchRegistry registry_;
    RegistryChangeJournal journal_;
    TImpProfile executor_;
    WindowPtr<TTQuorvane_Invisible_Buttons> main_;
    std::unique_ptr<TdmTrayMenu> trayMenu_;
};

std::wstring HostPath();
bool HostBuilt();

// One running kz.exe. Ended with "kz.exe --exit" when the object goes, or
// terminated when it does not end by itself: no test leaves a host behind.
class RunningHost : public HostWindow {
public:
    RunningHost();
    ~RunningHost();
    RunningHost(const RunningHost&) = delete;
    RunningHost& operator=(const RunningHost&) = delete;

    bool Started() const { return program_.Started(); }
    // Waits until the host's main window exists and its tray icon is shown.
    bool WaitUntilReady(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    HANDLE Process() const { return program_.Process(); }
    DWORD ProcessId() const { return program_.ProcessId(); }
    bool Running() const { return program_.Running(); }

    // Runs "kz.exe --exit" and waits for this host to end; false when it does not.
    bool Exit(DWORD* exitCode = nullptr);
    // Ends the host the hard way, as a crash would.
    void Kill() { program_.Kill(); }
    // The process of its 32-bit companion (a kz.exe it started); 0 while it has none.
    DWORD CompanionProcessId() const;

private:
    ChildProgram program_;
};

// A test of the real kz.exe: no host from elsewhere runs, the host's stored
// values are reset and the mouse is parked.
class RealHostTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Runs "kz.exe --exit" once and waits for it.
bool RunHostExitCommand();

// Forgets the host's blacklist and journal and stores its quiet settings.
void ResetHostSettings();

// How many icons the notification area shows, counted from its pixels (Wine's
// shell draws them into the taskbar, right of the task buttons): an icon
// without a picture is not counted. -1 when there is no taskbar.
int ShownTrayIconCount();

}  // namespace kz::test
