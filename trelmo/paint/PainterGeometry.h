// The arithmetic of the caption-button painters on plain data: where a glyph
// lands in a button, which pixels a glyph colour replaces, which frame of a
// theme image a state uses and how a frame is cut and stretched to a button.
#pragma once

#include "trelmo/paint/PixelCopy.h"

#include <windows.h>
#include <uxtheme.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kz {

// Pixels of a 32-bit DIB are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
constexpr uint32_t RgbOfColorref(COLORREF colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
constexpr COLORREF ColorrefOfRgb(uint32_t rgb) { return RgbOfColorref(rgb); }

// Replaces every pixel that is exactly black with colour (0x00RRGGBB).
void RecolourBlack(uint32_t* pixels, std::size_t count, uint32_t colour);

// A glyph colour equal to the strip's transparent colour would make the
// glyphs vanish: it is moved by one step of blue.
uint32_t GlyphColourBesideKey(uint32_t colour, uint32_t key);

// The frame centred in the button and cut to it; an empty target when the
// button has no room.
PixelBlit PlaceGlyph(const RECT& button, int frameWidth, int frameHeight);

// The frame of a theme image for a button state (0 normal .. 3 disabled),
// inactive captions using the second four; -1 when the image has none.
int FaceFrameIndex(int state, bool activeCaption, int frameCount);

// The index-th of count equal parts of an image, stacked or side by side.
RECT FaceFrameSource(int imageWidth, int imageHeight, int count, bool sideBySide, int index);

// Theme sizing types.
constexpr int kSizingTrueSize = 0;
constexpr int kSizingTile = 2;

struct StretchStep {
    RECT target;
    RECT source;
};

// The copies that turn a frame (source) into a face of width x height by the
// theme's sizing type and margins. Empty parts are left out.
std::vector<StretchStep> FaceSteps(int sizingType, const RECT& source, int width, int height,
                                   const MARGINS& margins);

// A length in pixels at 100 % (96 DPI) at another scale, rounded.
inline int ScaledLength(int length, UINT dpi) { return ::MulDiv(length, static_cast<int>(dpi), 96); }

// The name under which a theme file keeps an image: the image's path with
// "." and "\" turned into "_", upper case.
std::wstring ThemeImageResourceName(const wchar_t* imagePath);

}  // namespace kz
