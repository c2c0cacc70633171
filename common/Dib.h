// 32-bit top-down device-independent bitmaps, whose pixels can be read and
// written in place: for composing off screen and for reading pixels back.
#pragma once

#include "common/Handles.h"

#include <cstdint>

namespace kz {

inline BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// pixels receives the bitmap's memory, row after row from the top; null on failure.
inline UniqueBitmap CreatePixelBitmap(HDC dc, int width, int height, uint32_t** pixels) {
    const BITMAPINFO info = TopDownDibInfo(width, height);
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    *pixels = bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    return bitmap;
}

}  // namespace kz
