// Test support for the end-to-end layer: a driver that acts as the host
// (installs the real hook through the library's ordinals and records what
// every process sends it), programs started in other processes, and
// screenshots of the desktop.
#pragma once

#include "common/Launch.h"
#include "kz/core/HookLibrary.h"
#include "tests/support/TestHost.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace kz::test {

// The directory of the running test program, where the binaries lie.
std::wstring BinaryDirectory();

// The driver as host: a recording host window with the real hook installed.
class HookedDesktop {
public:
    HookedDesktop();
    ~HookedDesktop();
    HookedDesktop(const HookedDesktop&) = delete;
    HookedDesktop& operator=(const HookedDesktop&) = delete;

    bool Installed() const { return hook_.Installed(); }
    RecordingHost& Host() { return host_; }
    // What the host does at exit: clears the library's shared section (its
    // window, then the hook handle) through the exports, then unhooks.
    void LeaveAsAtExit();

private:
    RecordingHost host_;
    HookLibrary hook_;
};

// A program running in another process; ended when the object goes.
class ChildProgram {
public:
    explicit ChildProgram(const std::wstring& commandLine);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool Started() const { return static_cast<bool>(program_.process); }
    // Waits for the process's first visible top-level window with a caption.
    HWND WaitForWindow();
    // Asks the window to close and waits for the process to end.
    bool Close();

private:
    LaunchedProgram program_;
    HWND window_ = nullptr;
};

// Asks the target program a question (see TargetQuery.h); -1 when it does not answer.
LRESULT AskTarget(HWND window, WPARAM question, LPARAM argument = 0);

// What a window answers WM_NCHITTEST with over the caption toolbar's buttons.
constexpr LRESULT kCaptionButtonHitCode = 65;

// The screen y of the middle row of a window's caption.
int CaptionMiddle(HWND window);
// The spans of the caption's middle row (screen x, left to right) where the
// window answers the hit test with the toolbar's button code.
std::vector<std::pair<int, int>> ButtonSpans(HWND window);
// Waits until the window's caption shows at least `count` buttons.
bool WaitForButtons(HWND window, std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Moves to a screen point and clicks there `clicks` times, in one batch of
// input, so that two clicks make a double click.
void SendClicksAt(int x, int y, int clicks = 1);

// Saves the whole desktop as <build>/screenshots/<name>.bmp.
void SaveScreenshot(const std::string& name);

}  // namespace kz::test
