#include "PixelCanvas.h"

#include "../../common/Dib.h"

namespace kz::test {

PixelCanvas::PixelCanvas(int width, int height, uint32_t background)
    : width_(width), height_(height), background_(background), dc_(::CreateCompatibleDC(nullptr)) {
    bitmap_ = CreatePixelBitmap(nullptr, width, height, &pixels_);
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    Clear();
}

PixelCanvas::~PixelCanvas() { ::SelectObject(dc_.get(), previous_); }

void PixelCanvas::Clear() {
    ::GdiFlush();
    for (int i = 0; i < width_ * height_; ++i)
        pixels_[i] = background_;
}

uint32_t PixelCanvas::At(int x, int y) const {
    ::GdiFlush();
    return pixels_[y * width_ + x] & 0xFFFFFF;
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
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (At(x, y) != background_)
                ++changed;
    return changed;
}

}  // namespace kz::test
