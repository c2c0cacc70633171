// Test support for the host-drawn buttons: windows that count their frame's
// paints, rows of buttons in the settings, and the original glyph pictures.
#pragma once

#include "common/Handles.h"
#include "common/Settingsformat.h"
#include "tests/support/StoredValues.h"
#include "tests/support/TestWindows.h"

#include <windows.h>

#include <initializer_list>

namespace kz::test {

// A visible top-level window that counts its non-client paints.
class CountingWindow {
public:
    explicit CountingWindow(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0)
        : window_([this](UINT message, WPARAM, LPARAM) { return Count(message); }, style | WS_VISIBLE, exStyle) {}
    HWND Window() const { return window_.Window(); }
    int NcPaints() const { return ncPaints_; }
    void Destroy() { window_.Destroy(); }

private:
    std::optional<LRESULT> Count(UINT message) {
        ncPaints_ += message == WM_NCPAINT;
        return std::nullopt;
    }
    int ncPaints_ = 0;
    TestWindow window_;
};

// A record with the given button row and glyph colour, no automatic colour.
SettingsRecord RowSettings(std::initializer_list<int> kinds, COLORREF glyphColor);

// The glyph resource of a kind as stored, for reading its pixels.
class OriginalGlyph {
public:
    explicit OriginalGlyph(int kind);
    // Pixel (x, y) of the cell of a visual state.
    COLORREF At(int state, int x, int y) const;

private:
    UniqueBitmap bitmap_;
    UniqueMemoryDC dc_;
};

}  // namespace kz::test
