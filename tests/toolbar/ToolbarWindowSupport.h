// Test support for the caption toolbars on real windows: a window in the
// classic or the themed look with the library attached in-process, mouse
// messages at a button's place and the frame's pixels read back.
#pragma once

#include "tests/support/AttachedWindow.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kz::test {

enum class Look { Classic, Themed };

std::string LookName(const testing::TestParamInfo<Look>& info);

class ToolbarWindowTest : public testing::TestWithParam<Look>, public AttachedWindow {
public:
    // Stores the settings, opens a test window in the look of the test's
    // parameter and attaches the library to it.
    void Open(const LibrarySettings& settings, int width = 480) {
        AttachedWindow::Open(settings, width, nullptr, GetParam() == Look::Classic);
    }

    // Screen points: the middle of a button, and a point in the client area.
    POINT OnButton(int kind);
    POINT InClientArea();
    POINT OnCaptionText();

    void NcButtonDown(POINT screen);
    void MouseMove(POINT screen);
    void ButtonUp(POINT screen);
    void Click(int kind);
    void RepaintFrame();
    std::vector<uint32_t> Pixels(int kind) { return FramePixels(Window(), RectOf(kind)); }
};

}  // namespace kz::test
