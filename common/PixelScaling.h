// Whole-pixel scaling of pixel drawings: glyph strips are drawn at 100 % and
// shown at every scale without a blur, by both the library and the host.
#pragma once

#include <cstdint>
#include <vector>

namespace kz {

// Read-only 32-bit pixels, top row first, rows next to each other.
struct PixelImage {
    const uint32_t* pixels;
    int width;
    int height;
};

// An image of equal cells (columns x rows of them, side by side and stacked)
// scaled cell by cell to cells of cellWidth x cellHeight. Each pixel takes
// the source pixel it falls on: no colours are mixed, so pixel drawings keep
// sharp edges and key colours stay exact at every scale.
std::vector<uint32_t> ScaleCellsNearest(const PixelImage& image, int columns, int rows, int cellWidth,
                                        int cellHeight);

}  // namespace kz
