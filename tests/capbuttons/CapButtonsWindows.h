// Test support for the host-drawn buttons: windows of a given style on the
// calling thread, a main window whose drawing is classic or themed, the
// original glyph pictures and pixels read back from a window's frame.
#pragma once

#include "common/Handles.h"
#include "common/Settingsformat.h"

#include <windows.h>

#include <cstdint>

namespace kz::test {

// A visible top-level window that counts its non-client paints.
class CountingWindow {
public:
    explicit CountingWindow(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0);
    HWND get() const { return window_.get(); }
    int NcPaints() const { return ncPaints_; }
    void Destroy() { window_.reset(); }

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    int ncPaints_ = 0;
    UniqueWindow window_;
};

// A hidden window in the classic look (visual style turned off) or in the
// current visual style, as the drawer's main window.
UniqueWindow MainWindow(bool classic);

// Settings with the given button row and glyph colour, no automatic colour.
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

// 0x00RRGGBB of a COLORREF, as canvases report pixels.
uint32_t Rgb(COLORREF color);

// Pixel of a window's frame at window coordinates.
COLORREF FramePixel(HWND window, int x, int y);

}  // namespace kz::test
