// The memory behind a DC, when painting can write it directly.
#pragma once

#include "trelmo/paint/PixelCopy.h"

#include <windows.h>

#include <optional>

namespace kz {

// What a painter may write: the rows of the 32-bit DIB section selected into
// the DC and the DC's clip box, both in the DC's own coordinates.
struct DibTarget {
    PixelRows rows;
    RECT clip;
};

// The DC's DIB section when it has one of 32 bits per pixel, logical and
// device coordinates are the same and the clip is a rectangle; nothing
// otherwise, and GDI has to draw. Drawing GDI batched is finished first.
std::optional<DibTarget> DibTargetOf(HDC dc);

}  // namespace kz
