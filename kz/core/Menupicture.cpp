#include "Menupicture.h"

#include <algorithm>
#include <vector>

namespace kz {

uint32_t PremultipliedPixel(uint32_t onBlack, uint32_t onWhite) {
    uint32_t covered = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int black = static_cast<int>((onBlack >> shift) & 0xFF);
        const int white = static_cast<int>((onWhite >> shift) & 0xFF);
        covered = std::max(covered, static_cast<uint32_t>(255 - std::clamp(white - black, 0, 255)));
    }
    uint32_t pixel = covered << 24;
    for (int shift = 0; shift < 24; shift += 8)
        pixel |= std::min((onBlack >> shift) & 0xFF, covered) << shift;
    return pixel;
}

namespace {

struct PixelBitmap {
    UniqueBitmap bitmap;
    uint32_t* pixels = nullptr;
};

PixelBitmap CreatePixelBitmap(HDC dc, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    PixelBitmap result;
    void* bits = nullptr;
    result.bitmap.reset(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    result.pixels = static_cast<uint32_t*>(bits);
    return result;
}

// The icon drawn onto a background of one colour.
std::vector<uint32_t> DrawnOnto(HDC dc, HICON icon, int size, uint32_t background) {
    PixelBitmap target = CreatePixelBitmap(dc, size);
    if (!target.bitmap)
        return {};
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    std::fill(target.pixels, target.pixels + count, background);
    {
        const SelectGuard select(dc, target.bitmap.get());
        ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
    }
    std::vector<uint32_t> pixels(target.pixels, target.pixels + count);
    for (uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

}  // namespace

UniqueBitmap MenuPictureOfIcon(HICON icon, int size) {
    if (!icon || size <= 0)
        return UniqueBitmap();
    const UniqueIcon copy(::CopyIcon(icon));
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!copy || !dc)
        return UniqueBitmap();
    const std::vector<uint32_t> onBlack = DrawnOnto(dc.get(), copy.get(), size, 0x000000);
    const std::vector<uint32_t> onWhite = DrawnOnto(dc.get(), copy.get(), size, 0xFFFFFF);
    PixelBitmap picture = CreatePixelBitmap(dc.get(), size);
    if (!picture.bitmap || onBlack.empty() || onWhite.empty())
        return UniqueBitmap();
    for (size_t i = 0; i < onBlack.size(); ++i)
        picture.pixels[i] = PremultipliedPixel(onBlack[i], onWhite[i]);
    return std::move(picture.bitmap);
}

}  // namespace kz
