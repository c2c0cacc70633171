#include "tests/support/PixelCanvas.h"

#include "common/Dib.h"
#include "trelmo/paint/PainterGeometry.h"

#include <algorithm>

namespace kz::test {

namespace {

UniqueBitmap CreateBottomUpBitmap(int width, int height, uint32_t** pixels) {
    BITMAPINFO info = TopDownDibInfo(width, height);
    info.bmiHeader.biHeight = height;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    *pixels = bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    return bitmap;
}

UniqueBitmap CreateDeviceBitmap(int width, int height) {
    const WindowDC screen = WindowDC::OfClient(nullptr);
    return UniqueBitmap(::CreateCompatibleBitmap(screen.get(), width, height));
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height, uint32_t background, CanvasBitmap kind)
    : width_(width), height_(height), background_(background), dc_(::CreateCompatibleDC(nullptr)) {
    uint32_t* first = nullptr;
    switch (kind) {
    case CanvasBitmap::TopDownDib:
        bitmap_ = CreatePixelBitmap(nullptr, width, height, &first);
        pixels_ = first;
        stride_ = width;
        break;
    case CanvasBitmap::BottomUpDib:
        bitmap_ = CreateBottomUpBitmap(width, height, &first);
        pixels_ = first ? first + static_cast<std::ptrdiff_t>(height - 1) * width : nullptr;
        stride_ = -width;
        break;
    case CanvasBitmap::DeviceBitmap: bitmap_ = CreateDeviceBitmap(width, height); break;
    }
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    Clear();
}

PixelCanvas::~PixelCanvas() { ::SelectObject(dc_.get(), previous_); }

void PixelCanvas::Clear() {
    ::GdiFlush();
    if (!pixels_) {
        const UniqueBrush brush(::CreateSolidBrush(ColorrefOfRgb(background_)));
        const RECT all{0, 0, width_, height_};
        ::FillRect(dc_.get(), &all, brush.get());
        return;
    }
    for (int y = 0; y < height_; ++y)
        std::fill_n(pixels_ + y * stride_, width_, background_);
}

uint32_t PixelCanvas::At(int x, int y) const {
    ::GdiFlush();
    if (!pixels_)
        return RgbOfColorref(::GetPixel(dc_.get(), x, y));
    return pixels_[y * stride_ + x] & 0xFFFFFF;
}

std::vector<uint32_t> PixelCanvas::Pixels() const {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            pixels.push_back(At(x, y));
    return pixels;
}

int PixelCanvas::ChangedOutside(const RECT& rect) const {
    int changed = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            if (!inside && At(x, y) != background_)
                ++changed;
        }
    return changed;
}

int PixelCanvas::ChangedInside(const RECT& rect) const {
    int changed = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height_); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, width_); ++x)
            if (At(x, y) != background_)
                ++changed;
    return changed;
}

int PixelCanvas::DifferingFrom(const PixelCanvas& other) const {
    int differing = 0;
    for (int y = 0; y < std::min(height_, other.height_); ++y)
        for (int x = 0; x < std::min(width_, other.width_); ++x)
            differing += At(x, y) != other.At(x, y);
    return differing;
}

}  // namespace kz::test
