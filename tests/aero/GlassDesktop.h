// Test support for the styles that show their buttons in a helper window:
// windows of a chosen class with the library attached in-process, on a
// desktop that the stand-in window manager reports as composed.
#pragma once

#include "trelmo/toolbar/AeroHelper.h"
#include "tests/aero/DwmStandIn.h"
#include "tests/support/AttachedWindow.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kz::test {

// The helper windows of a class that the test process owns.
std::vector<HWND> ProcessWindowsOfClass(const wchar_t* className);

class GlassDesktop : public testing::Test, public AttachedWindow {
protected:
    GlassDesktop() = default;
    explicit GlassDesktop(HandlerInstaller installer) : AttachedWindow(installer) {}

    void SetUp() override;
    void TearDown() override;

    // Opens a captioned window of the class (the plain test class when null)
    // and attaches the library to it.
    void Open(const LibrarySettings& settings = DefaultLibrarySettings(), const wchar_t* className = nullptr,
              int width = 560) {
        AttachedWindow::Open(settings, width, className);
    }
    HWND Helper();
    // Where the helper must stand: the button bounds moved by the window's place.
    RECT ExpectedHelperRect();
    // The middle of a button in helper client coordinates.
    POINT InHelper(int kind);
    void PaintHelperNow();
    std::vector<uint32_t> ButtonPixels(int kind);

    DwmStandIn dwm_;
};

}  // namespace kz::test
