// Test support for the styles that show their buttons in a helper window:
// windows of a chosen class with the library attached in-process, on a
// desktop that the stand-in window manager reports as composed.
#pragma once

#include "trelmo/toolbar/AeroHelper.h"
#include "tests/aero/DwmStandIn.h"
#include "tests/support/LibraryInProcess.h"
#include "trelmo/hook/LibrarySettings.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kz::test {

LibrarySettings DefaultLibrarySettings();

// The helper windows of a class that the calling thread owns.
std::vector<HWND> ThreadWindowsOfClass(const wchar_t* className);

// Pixels of a rect of a window's client area, 0x00RRGGBB.
std::vector<uint32_t> ClientPixels(HWND window, const RECT& rect);
int CountPixels(const std::vector<uint32_t>& pixels, uint32_t rgb);

class GlassDesktop : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a captioned window of the class (the plain test class when null)
    // and attaches the library to it.
    void Open(const LibrarySettings& settings = DefaultLibrarySettings(), const wchar_t* className = nullptr,
              int width = 560);
    HWND Window() const { return window_.get(); }
    RecordingHost& Host() { return library_.Host(); }
    CaptionToolBar* Toolbar();
    HWND Helper();
    const CaptionButtonRow& Row() { return Toolbar()->Row(); }
    int SlotOf(int kind);
    // Where the helper must stand: the button bounds moved by the window's place.
    RECT ExpectedHelperRect();
    RECT HelperRect();
    // The middle of a button in helper client coordinates.
    POINT InHelper(int kind);
    void PaintHelperNow();
    std::vector<uint32_t> ButtonPixels(int kind);

    ScratchRegistry registry_;
    DwmStandIn dwm_;
    LibraryInProcess library_;
    UniqueWindow window_;
};

}  // namespace kz::test
