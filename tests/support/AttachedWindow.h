// Test support: a test window with the hook library attached in-process, its
// settings stored in a scratch registry first, as the tests of the caption
// toolbars begin.
#pragma once

#include "common/LibrarySettings.h"
#include "trelmo/toolbar/CaptionToolBar.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/ScratchRegistry.h"

namespace kz::test {

LibrarySettings DefaultLibrarySettings();

class AttachedWindow {
public:
    AttachedWindow() = default;
    // installer: the handlers each attached window gets.
    explicit AttachedWindow(HandlerInstaller installer) : library_(installer) {}

    // Stores the settings, opens a captioned window of the class (the test
    // class when null) in the classic look or the current style, places it
    // and attaches the library to it. Fails the test when no toolbar came.
    void Open(const LibrarySettings& settings, int width, const wchar_t* className = nullptr,
              bool classicLook = false);
    // Stores new settings and has the window rebuild its handlers.
    void ChangeSettings(const LibrarySettings& settings);

    HWND Window() const { return window_.get(); }
    RecordingHost& Host() { return library_.Host(); }
    // The window's toolbar; null when it has none.
    CaptionToolBar* Toolbar();
    const CaptionButtonRow& Row() { return Toolbar()->Row(); }
    // Index of the first slot of a kind; fails the test when there is none.
    int SlotOf(int kind);
    const RECT& RectOf(int kind) { return Row()[SlotOf(kind)].rect; }

    ScratchRegistry registry_;
    LibraryInProcess library_;
    UniqueWindow window_;
};

}  // namespace kz::test
