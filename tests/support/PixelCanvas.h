// Test support: a memory DC over 32-bit pixels that a test can read back.
#pragma once

#include "common/Handles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kz::test {

// The bitmap behind a canvas: painters write the memory of the DIB sections
// directly and leave a device bitmap to GDI.
enum class CanvasBitmap { TopDownDib, BottomUpDib, DeviceBitmap };

class PixelCanvas {
public:
    PixelCanvas(int width, int height, uint32_t background, CanvasBitmap kind = CanvasBitmap::TopDownDib);
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas();

    HDC Dc() const { return dc_.get(); }
    void Clear();
    // 0x00RRGGBB
    uint32_t At(int x, int y) const;
    uint32_t Background() const { return background_; }
    // Every pixel, row after row from the top.
    std::vector<uint32_t> Pixels() const;
    // Pixels outside rect that are not the background.
    int ChangedOutside(const RECT& rect) const;
    // Pixels inside rect and the canvas that are not the background.
    int ChangedInside(const RECT& rect) const;
    // Pixels that differ from the other canvas's at the same place.
    int DifferingFrom(const PixelCanvas& other) const;

private:
    int width_;
    int height_;
    uint32_t background_;
    uint32_t* pixels_ = nullptr;  // the top row's first; null for a device bitmap
    std::ptrdiff_t stride_ = 0;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace kz::test
