#include "common/PixelScaling.h"

#include <cstddef>

namespace kz {

std::vector<uint32_t> ScaleCellsNearest(const PixelImage& image, int columns, int rows, int cellWidth,
                                        int cellHeight) {
    if (columns <= 0 || rows <= 0 || cellWidth <= 0 || cellHeight <= 0)
        return {};
    const int sourceCellWidth = image.width / columns;
    const int sourceCellHeight = image.height / rows;
    const int width = columns * cellWidth;
    const int height = rows * cellHeight;
    std::vector<uint32_t> scaled(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int sourceY = y / cellHeight * sourceCellHeight + y % cellHeight * sourceCellHeight / cellHeight;
        const uint32_t* sourceRow = image.pixels + static_cast<std::size_t>(sourceY) * image.width;
        uint32_t* row = scaled.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            row[x] = sourceRow[x / cellWidth * sourceCellWidth + x % cellWidth * sourceCellWidth / cellWidth];
    }
    return scaled;
}

}  // namespace kz
