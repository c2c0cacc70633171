// Test support for the caption toolbars on real windows: a window in the
// classic or the themed look with the library attached in-process, mouse
// messages at a button's place and the frame's pixels read back.
#pragma once

#include "trelmo/toolbar/CaptionToolBar.h"
#include "tests/support/LibraryInProcess.h"
#include "trelmo/hook/LibrarySettings.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz::test {

enum class Look { Classic, Themed };

std::string LookName(const testing::TestParamInfo<Look>& info);

LibrarySettings DefaultSettings();

// The pixels of a rect of the window (window coordinates), as COLORREFs.
std::vector<COLORREF> CaptureFrame(HWND window, const RECT& inWindow);
int CountColour(const std::vector<COLORREF>& pixels, COLORREF colour);

class ToolbarWindowTest : public testing::TestWithParam<Look> {
public:
    // Stores the settings, opens a test window in the look of the test's
    // parameter and attaches the library to it.
    void Open(const LibrarySettings& settings, int width = 480);
    // Stores new settings and has the window rebuild its handlers.
    void ChangeSettings(const LibrarySettings& settings);

    HWND Window() const { return window_.get(); }
    RecordingHost& Host() { return library_.Host(); }
    CaptionToolBar& Toolbar();
    const CaptionButtonRow& Row() { return Toolbar().Row(); }
    // Index of the first slot of a kind; fails the test when there is none.
    int SlotOf(int kind);
    const RECT& RectOf(int kind) { return Row()[SlotOf(kind)].rect; }

    // Screen points: the middle of a button, and a point in the client area.
    POINT OnButton(int kind);
    POINT InClientArea();
    POINT OnCaptionText();

    void NcButtonDown(POINT screen);
    void MouseMove(POINT screen);
    void ButtonUp(POINT screen);
    void Click(int kind);
    void RepaintFrame();
    std::vector<COLORREF> Pixels(int kind) { return CaptureFrame(Window(), RectOf(kind)); }

    ScratchRegistry registry_;
    LibraryInProcess library_;
    UniqueWindow window_;
};

}  // namespace kz::test
