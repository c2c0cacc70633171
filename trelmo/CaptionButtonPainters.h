// The painters of the classic and XP caption buttons, shared by every
// toolbar of the process and kept until the library unloads.
#pragma once

#include <windows.h>

namespace kz {

// Draws the glyph of each button kind from the library's glyph strips,
// recoloured once per pair of colours (0 = no recolouring).
class CaptionButtonGlyphPainter {
public:
    // The cached painter for these colours (0x00RRGGBB), its count raised.
    static CaptionButtonGlyphPainter* Acquire(COLORREF activeColour, COLORREF inactiveColour);
    void Release();
    // state 0 normal, 1 hot, 2 pressed, 3 disabled; inactive captions use frames 4..7.
    virtual void Draw(HWND window, HDC dc, const RECT& rect, int kind, int state, bool activeCaption);
    virtual ~CaptionButtonGlyphPainter();
    // TODO(painters): fields.
};

// Draws the face of a themed caption button from the theme's minimise-button
// image, stretched once per button size.
class CaptionButtonXPPainter {
public:
    static CaptionButtonXPPainter* Acquire(HWND window, bool smallCaption, int width, int height,
                                           const wchar_t* colourSchemeName);
    void Release();
    bool HasSize(int width, int height) const;
    virtual void Draw(HWND window, HDC dc, const RECT& rect, int state, bool activeCaption);
    virtual ~CaptionButtonXPPainter();
    // TODO(painters): fields.
};

// Frees every painter; at unload only.
void FreePainterCache();

}  // namespace kz
