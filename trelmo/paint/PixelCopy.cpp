#include "trelmo/paint/PixelCopy.h"

#include <algorithm>
#include <cstdlib>

namespace kz {

namespace {

// Calls copy(targetRow, sourceRow, sourceIndex, count) for each row of the
// cut blit; sourceIndex counts pixels from the source's first one.
template <typename RowCopy>
void ForEachRow(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                RowCopy&& copy) {
    const PixelBlit cut = CutBlit(blit, bounds, target, source);
    const int count = cut.target.right - cut.target.left;
    for (int y = cut.target.top; y < cut.target.bottom; ++y) {
        const std::ptrdiff_t sourceIndex =
            static_cast<std::ptrdiff_t>(cut.sourceY + y - cut.target.top) * source.width + cut.sourceX;
        copy(target.top + y * target.stride + cut.target.left, source.pixels + sourceIndex, sourceIndex, count);
    }
}

}  // namespace

PixelRows RowsOfDib(void* bits, int width, int headerHeight, int bytesPerRow) {
    const int height = std::abs(headerHeight);
    const std::ptrdiff_t stride = bytesPerRow / static_cast<std::ptrdiff_t>(sizeof(uint32_t));
    uint32_t* first = static_cast<uint32_t*>(bits);
    if (headerHeight < 0 || height == 0)
        return PixelRows{first, width, height, stride};
    return PixelRows{first + (height - 1) * stride, width, height, -stride};
}

PixelBlit CutBlit(const PixelBlit& blit, const RECT& bounds, const PixelRows& target, const PixelImage& source) {
    const int dx = blit.target.left - blit.sourceX;
    const int dy = blit.target.top - blit.sourceY;
    const RECT cut{
        std::max({blit.target.left, bounds.left, LONG{0}, LONG(dx)}),
        std::max({blit.target.top, bounds.top, LONG{0}, LONG(dy)}),
        std::min({blit.target.right, bounds.right, LONG(target.width), LONG(dx + source.width)}),
        std::min({blit.target.bottom, bounds.bottom, LONG(target.height), LONG(dy + source.height)}),
    };
    if (cut.right <= cut.left || cut.bottom <= cut.top)
        return PixelBlit{RECT{0, 0, 0, 0}, 0, 0};
    return PixelBlit{cut, int(cut.left) - dx, int(cut.top) - dy};
}

void CopyPixels(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source) {
    ForEachRow(target, bounds, blit, source, [](uint32_t* to, const uint32_t* from, std::ptrdiff_t, int count) {
        std::copy(from, from + count, to);
    });
}

void CopyPixelsKeyed(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                     uint32_t key) {
    key &= 0xFFFFFF;
    ForEachRow(target, bounds, blit, source, [key](uint32_t* to, const uint32_t* from, std::ptrdiff_t, int count) {
        for (int x = 0; x < count; ++x)
            if ((from[x] & 0xFFFFFF) != key)
                to[x] = from[x];
    });
}

void CopyPixelsMasked(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                      const uint8_t* mask) {
    ForEachRow(target, bounds, blit, source,
               [mask](uint32_t* to, const uint32_t* from, std::ptrdiff_t sourceIndex, int count) {
                   const uint8_t* keep = mask + sourceIndex;
                   for (int x = 0; x < count; ++x)
                       if (keep[x])
                           to[x] = from[x];
               });
}

void BlendPixelsOver(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source) {
    ForEachRow(target, bounds, blit, source, [](uint32_t* to, const uint32_t* from, std::ptrdiff_t, int count) {
        for (int x = 0; x < count; ++x)
            to[x] = PixelOver(to[x], from[x]);
    });
}

void FillPixelsOver(const PixelRows& target, const RECT& bounds, const RECT& rect, uint32_t colour) {
    RECT cut{};
    if (!::IntersectRect(&cut, &rect, &bounds))
        return;
    cut.left = std::max<LONG>(cut.left, 0);
    cut.top = std::max<LONG>(cut.top, 0);
    cut.right = std::min<LONG>(cut.right, target.width);
    cut.bottom = std::min<LONG>(cut.bottom, target.height);
    for (int y = cut.top; y < cut.bottom; ++y) {
        uint32_t* row = target.top + y * target.stride;
        for (int x = cut.left; x < cut.right; ++x)
            row[x] = PixelOver(row[x], colour);
    }
}

void TintPixelsOver(const PixelRows& target, const RECT& bounds, const PixelBlit& blit, const PixelImage& source,
                    uint32_t mark, uint32_t colour) {
    ForEachRow(target, bounds, blit, source, [mark, colour](uint32_t* to, const uint32_t* from, std::ptrdiff_t, int count) {
        for (int i = 0; i < count; ++i)
            if ((from[i] & 0xFFFFFF) == mark)
                to[i] = PixelOver(to[i], colour);
    });
}

}  // namespace kz
