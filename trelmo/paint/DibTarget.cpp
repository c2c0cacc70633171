#include "trelmo/paint/DibTarget.h"

#include <cstddef>
#include <cstdint>

namespace kz {

namespace {

// A mirrored layout, a window or viewport origin, a scale or a world
// transform moves drawing away from the pixel it names.
bool DrawsAtDevicePixels(HDC dc) {
    if (::GetLayout(dc) & LAYOUT_RTL)
        return false;
    POINT points[3] = {{0, 0}, {1, 0}, {0, 1}};
    return ::LPtoDP(dc, points, 3) && points[0].x == 0 && points[0].y == 0 && points[1].x == 1 &&
           points[1].y == 0 && points[2].x == 0 && points[2].y == 1;
}

// 0x00RRGGBB in every pixel, as a DIB of 32 bits gets it unless it names
// other colour masks.
bool HoldsRgbPixels(const DIBSECTION& section) {
    if (!section.dsBm.bmBits || section.dsBm.bmBitsPixel != 32)
        return false;
    const DWORD* masks = section.dsBitfields;
    return section.dsBmih.biCompression == BI_RGB ||
           (section.dsBmih.biCompression == BI_BITFIELDS && masks[0] == 0xFF0000 && masks[1] == 0xFF00 &&
            masks[2] == 0xFF);
}

// GDI reports the height of every DIB section as positive, so the order of
// the rows is asked of GDI itself: the memory's first pixel is made unlike
// the first pixel of the memory's last row for a moment, and GDI's top-left
// pixel shows which of the two is on top.
std::optional<bool> MemoryStartsAtTop(HBITMAP bitmap, uint32_t* bits, int height, std::ptrdiff_t stride) {
    if (height <= 1)
        return true;
    const uint32_t saved = bits[0];
    const uint32_t marker = ~bits[(height - 1) * stride] & 0xFFFFFF;
    bits[0] = marker;
    uint32_t topLeft = 0;
    const bool read = ::GetBitmapBits(bitmap, sizeof topLeft, &topLeft) == sizeof topLeft;
    bits[0] = saved;
    if (!read)
        return std::nullopt;
    return (topLeft & 0xFFFFFF) == marker;
}

}  // namespace

std::optional<DibTarget> DibTargetOf(HDC dc) {
    const HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section || !HoldsRgbPixels(section))
        return std::nullopt;
    RECT clip{};
    const int clipKind = ::GetClipBox(dc, &clip);
    if (clipKind == ERROR || clipKind == COMPLEXREGION || !DrawsAtDevicePixels(dc))
        return std::nullopt;
    if (clipKind == NULLREGION)
        clip = RECT{0, 0, 0, 0};
    ::GdiFlush();
    const int height = section.dsBm.bmHeight;
    const std::ptrdiff_t stride = section.dsBm.bmWidthBytes / 4;
    const std::optional<bool> topDown = MemoryStartsAtTop(
        static_cast<HBITMAP>(bitmap), static_cast<uint32_t*>(section.dsBm.bmBits), height, stride);
    if (!topDown)
        return std::nullopt;
    return DibTarget{
        RowsOfDib(section.dsBm.bmBits, section.dsBm.bmWidth, *topDown ? -height : height, section.dsBm.bmWidthBytes),
        clip};
}

}  // namespace kz
