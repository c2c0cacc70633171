// Driving the real host kz.exe from another process in the Wine desktop:
// starting and ending it, finding its main window, watching its tray icons,
// starting target programs with many windows, and asking windows whether they
// carry the caption buttons.
#pragma once

#include "tests/e2e/EndToEnd.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace kz::test {

constexpr wchar_t kHostWindowClass[] = L"TTQuorvane_Invisible_Buttons";
constexpr UINT kHostTrayIconId = 0xFFFFFFFFu;
constexpr UINT kCommonTrayIconId = 0xFFFFFFFEu;
constexpr UINT kTrayNotifyMessage = WM_USER + 20;  // 1044

std::wstring HostPath();
bool HostBuilt();

// Starts a program with the given current directory; nothing when it cannot start.
LaunchedProgram StartProgram(const std::wstring& commandLine, const std::wstring& directory = L"");

// Waits for a process to end; its exit code, or nothing when it still runs.
bool WaitForExit(HANDLE process, std::chrono::milliseconds timeout, DWORD* exitCode = nullptr);

// The top-level windows of a process with the given class (any when null).
std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className = nullptr);

// One running kz.exe. Ended with "kz.exe --exit" when the object goes, or
// terminated when it does not end by itself: no test leaves a host behind.
class RunningHost {
public:
    RunningHost();
    ~RunningHost();
    RunningHost(const RunningHost&) = delete;
    RunningHost& operator=(const RunningHost&) = delete;

    bool Started() const { return static_cast<bool>(program_.process); }
    // Waits until the host's main window exists and its tray icon is shown.
    bool WaitUntilReady(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    HWND MainWindow() const { return mainWindow_; }
    HANDLE Process() const { return program_.process.get(); }
    DWORD ProcessId() const { return program_.processId; }
    bool Running() const;

    // Runs "kz.exe --exit" and waits for this host to end; false when it does not.
    bool Exit(DWORD* exitCode = nullptr);
    // Ends the host the hard way, as a crash would.
    void Kill();

    // SendMessageTimeout to the main window; false when it did not answer.
    bool Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) const;
    // What the shell sends when the user clicks a tray icon.
    bool NotifyTrayClick(UINT iconId, UINT mouseMessage = WM_LBUTTONDOWN) const;

private:
    LaunchedProgram program_;
    HWND mainWindow_ = nullptr;
};

// Runs "kz.exe --exit" once and waits for it.
bool RunHostExitCommand();

// Whether the shell shows the icon (owner window, identifier): a modification
// without flags succeeds only for an icon that exists.
bool TrayIconShown(HWND owner, UINT id);
inline UINT TrayIconIdOf(HWND window) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(window)); }
// How many icons the notification area shows, counted from its pixels (Wine's
// shell draws them into the taskbar, right of the task buttons): an icon
// without a picture is not counted. -1 when there is no taskbar.
int ShownTrayIconCount();

// A program with several top-level windows (kz_windows_target).
class WindowsTarget {
public:
    struct Layout {
        int count = 1;
        POINT at{40, 40};
        SIZE size{560, 260};
        SIZE step{24, 24};
        std::wstring title = L"Target";
    };
    explicit WindowsTarget(const Layout& layout);
    ~WindowsTarget();
    WindowsTarget(const WindowsTarget&) = delete;
    WindowsTarget& operator=(const WindowsTarget&) = delete;

    // Waits for all windows; false when they do not all appear.
    bool WaitForWindows();
    const std::vector<HWND>& Windows() const { return windows_; }
    DWORD ProcessId() const { return program_.processId; }

private:
    LaunchedProgram program_;
    int count_;
    std::vector<HWND> windows_;
};

// Whether a target window reports that its window procedure lies in trelmo.dll.
bool Attached(HWND window);
bool WaitUntilAttached(const std::vector<HWND>& windows, bool attached,
                       std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A real left click on a window at a screen point, through the system's input
// queue: the pointer moves there, the button goes down once the window has
// seen the pointer arrive, and never within the double-click time of the
// previous click.
void ClickAt(HWND window, int x, int y);
// Moves the mouse to a corner of the desktop where no window is tested.
void ParkMouse();

int WindowHeight(HWND window);
bool Topmost(HWND window);
bool Layered(HWND window);
// The window's alpha when it is layered with LWA_ALPHA; -1 otherwise.
int LayeredAlpha(HWND window);

// Forgets the host's blacklist and journal and stores its default settings
// (the default button row 1..9) without the splash: a topmost splash that
// takes the foreground and hides again at a moment that depends on the load
// of the machine would race with the clicks and key presses of a test.
void ResetHostSettings();

}  // namespace kz::test
