// Test support: a memory DC over 32-bit pixels that a test can read back.
#pragma once

#include "../../common/Handles.h"

#include <cstdint>

namespace kz::test {

class PixelCanvas {
public:
    PixelCanvas(int width, int height, uint32_t background);
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    ~PixelCanvas();

    HDC Dc() const { return dc_.get(); }
    void Clear();
    // 0x00RRGGBB
    uint32_t At(int x, int y) const;
    uint32_t Background() const { return background_; }
    // Pixels outside rect that are not the background.
    int ChangedOutside(const RECT& rect) const;
    // Pixels inside rect that are not the background.
    int ChangedInside(const RECT& rect) const;

private:
    int width_;
    int height_;
    uint32_t background_;
    uint32_t* pixels_ = nullptr;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace kz::test
