// The glyphs of the host-drawn buttons and the classic push-button picture.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <vector>

namespace kz {

// The glyph strips "BT101" to "BT110" of the program (kind 0 to 9), each 18
// pixels wide with one 18 x 18 cell per visual state from the top, held as
// 32-bit bitmaps recoloured for the glyph colour: black and 0x404040 become
// the colour unless it is black. White is keyed out when a glyph is drawn,
// so a white glyph colour is taken as 0xFFFFFE. At another scale the strips
// are scaled whole pixel by whole pixel, once per scale asked for, and kept.
class TButtonGlyphs {
public:
    explicit TButtonGlyphs(COLORREF color);
    TButtonGlyphs(const TButtonGlyphs&) = delete;
    TButtonGlyphs& operator=(const TButtonGlyphs&) = delete;

    // Loads the strips again in another colour.
    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    // The strip of a kind at a scale, its cells as wide as the strip; null
    // for a code outside 0 to 9 or a missing resource.
    HBITMAP Glyph(int kind, UINT dpi) const;

private:
    static constexpr int kKinds = 10;
    struct StripSet {
        UINT dpi;
        UniqueBitmap strips[kKinds];
    };
    const StripSet& SetAtDpi(UINT dpi) const;

    COLORREF color_ = 0;
    // The strips as loaded (100 %) first, then one set per other scale.
    mutable std::vector<StripSet> sets_;
};

// The colour a glyph colour is drawn in: white is the key colour.
COLORREF DrawableGlyphColor(COLORREF color);

// The side of a strip's square cells: the strip's width.
int GlyphCellSize(HBITMAP strip);

// Draws cell `state` of a glyph strip at (x, y), its top-left pixel's colour
// keyed out.
void DrawGlyphCell(HDC dc, HBITMAP strip, int state, int x, int y);

// A classic push button in a visual state over r (shrunk by 2 at the top and
// bottom), with the glyph cell of that state centred on r.
void DrawClassicButton(HDC dc, const RECT& r, int state, HBITMAP glyph);

}  // namespace kz
