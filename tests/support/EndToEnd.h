// Test support for the end-to-end layer on the desktop: a driver that acts
// as the host (installs the real hook through the library's ordinals and
// records what every process sends it), the caption buttons of windows of
// other processes seen from outside, real mouse input, and screenshots.
#pragma once

#include "kz/core/HookLibrary.h"
#include "tests/support/Programs.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace kz::test {

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

// A test with the driver as host.
class HookedDesktopTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(desktop_.Installed()); }
    RecordingHost& Host() { return desktop_.Host(); }
    HookedDesktop desktop_;
};

// The screen y of the middle row of a window's caption.
int CaptionMiddle(HWND window);
// The spans of the caption's middle row, or of the row at screen y (screen x,
// left to right) where the window answers the hit test with the toolbar's
// button code.
std::vector<std::pair<int, int>> ButtonSpans(HWND window);
std::vector<std::pair<int, int>> ButtonSpans(HWND window, int y);
// Waits until the window's caption shows at least `count` buttons.
bool WaitForButtons(HWND window, std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Moves to a screen point and clicks there `clicks` times, in one batch of
// input, so that two clicks make a double click.
void SendClicksAt(int x, int y, int clicks = 1);
// A real left click on a window at a screen point, through the system's input
// queue: the pointer moves there, the button goes down once the window has
// seen the pointer arrive, and never within the double-click time of the
// previous click.
void ClickAt(HWND window, int x, int y);
// Clicks the button at this position of the window's caption row; false when
// the row has no button there.
bool ClickCaptionButton(HWND window, std::size_t index);
// Moves the mouse to a corner of the desktop where no window is tested.
void ParkMouse();

// Saves the whole desktop as <build>/screenshots/<name>.bmp.
void SaveScreenshot(const std::string& name);

}  // namespace kz::test
