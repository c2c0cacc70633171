// Copies between 32-bit pixel buffers on plain data: the painters draw into
// a DIB section's memory directly, which costs a fraction of a GDI blit.
#pragma once

#include "common/PixelScaling.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace kz {

// One copy from a source image to a target: the target rect and the same
// size at (sourceX, sourceY) in the source.
struct PixelBlit {
    RECT target;
    int sourceX;
    int sourceY;
};

// Writable 32-bit pixels seen top row first. Rows lie stride pixels apart;
// the stride is negative when the memory holds the bottom row first.
struct PixelRows {
    uint32_t* top;
    int width;
    int height;
    std::ptrdiff_t stride;
};

// The rows of a 32-bit DIB from its memory and header values: a positive
// header height means the memory starts with the bottom row.
PixelRows RowsOfDib(void* bits, int width, int headerHeight, int bytesPerRow);

// The blit cut to bounds, to the target and to the source; an empty target
// when nothing is left.
PixelBlit CutBlit(const PixelBlit& blit, const RECT& bounds, const PixelRows& target, const PixelImage& source);

// Copies every pixel of the blit that lies within bounds.
void CopyPixels(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source);

// Copies the pixels whose colour (the low 24 bits) is not key.
void CopyPixelsKeyed(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                     uint32_t key);

// Copies the pixels whose byte in mask (one per source pixel, laid out as the
// source) is not zero.
void CopyPixelsMasked(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                      const uint8_t* mask);

// Draws source over target: both hold premultiplied 0xAARRGGBB pixels, as a
// window of glass and GDI+'s PARGB format have them.
void BlendPixelsOver(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source);

// Draws one premultiplied colour over every pixel of rect within bounds.
void FillPixelsOver(const PixelRows& target, const RECT& bounds, const RECT& rect, uint32_t colour);

// Draws one premultiplied colour over the target wherever the source pixel's
// colour (the low 24 bits) is mark: a one-colour drawing made of a mask.
void TintPixelsOver(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                    uint32_t mark, uint32_t colour);

// One premultiplied pixel over another.
inline uint32_t PixelOver(uint32_t below, uint32_t above) {
    const uint32_t alpha = above >> 24;
    if (alpha == 0xFF)
        return above;
    if (alpha == 0)
        return below;
    const uint32_t keep = 255 - alpha;
    // Two channels at a time: red and blue, then alpha and green.
    const uint32_t rb = (below & 0x00FF00FF) * keep + 0x00800080;
    const uint32_t ag = ((below >> 8) & 0x00FF00FF) * keep + 0x00800080;
    const uint32_t rbScaled = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
    const uint32_t agScaled = (ag + ((ag >> 8) & 0x00FF00FF)) & 0xFF00FF00;
    return above + (rbScaled | agScaled);
}

}  // namespace kz
