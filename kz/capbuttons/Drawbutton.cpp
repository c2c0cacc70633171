#include "kz/capbuttons/Drawbutton.h"

#include "kz/capbuttons/Kz_lib.h"

#include "common/Dib.h"
#include "common/Dpi.h"
#include "common/PixelScaling.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace kz {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

// 0x00RRGGBB of a DIB pixel from a COLORREF (0x00BBGGRR).
uint32_t PixelOf(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

UniqueBitmap LoadRecolouredStrip(int kind, COLORREF color) {
    const std::wstring name = L"BT" + std::to_wstring(101 + kind);
    const UniqueBitmap source(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!source || !::GetObjectW(source.get(), sizeof info, &info))
        return {};
    const UniqueMemoryDC sourceDC(::CreateCompatibleDC(nullptr));
    const UniqueMemoryDC targetDC(::CreateCompatibleDC(nullptr));
    uint32_t* pixels = nullptr;
    UniqueBitmap strip = CreatePixelBitmap(targetDC.get(), info.bmWidth, info.bmHeight, &pixels);
    if (!strip)
        return {};
    {
        const SelectGuard selectSource(sourceDC.get(), source.get());
        const SelectGuard selectTarget(targetDC.get(), strip.get());
        ::BitBlt(targetDC.get(), 0, 0, info.bmWidth, info.bmHeight, sourceDC.get(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    if (color != 0) {
        const uint32_t ink = PixelOf(DrawableGlyphColor(color));
        for (int i = 0; i < info.bmWidth * info.bmHeight; ++i) {
            const uint32_t rgb = pixels[i] & kRgbMask;
            if (rgb == 0 || rgb == 0x404040)
                pixels[i] = ink;
        }
    }
    return strip;
}

// A strip (a top-down 32-bit DIB of square cells) with cells of another side.
UniqueBitmap ScaledStrip(HBITMAP strip, int cell) {
    DIBSECTION section{};
    if (!strip || ::GetObjectW(strip, sizeof section, &section) != sizeof section || section.dsBm.bmWidth <= 0)
        return {};
    const BITMAP& info = section.dsBm;
    const int cells = info.bmHeight / info.bmWidth;
    ::GdiFlush();
    const std::vector<uint32_t> scaled = ScaleCellsNearest(
        PixelImage{static_cast<const uint32_t*>(info.bmBits), info.bmWidth, info.bmHeight}, 1, cells, cell, cell);
    uint32_t* pixels = nullptr;
    UniqueBitmap result = CreatePixelBitmap(nullptr, cell, cells * cell, &pixels);
    if (result)
        std::copy(scaled.begin(), scaled.end(), pixels);
    return result;
}

}  // namespace

COLORREF DrawableGlyphColor(COLORREF color) { return color == RGB(255, 255, 255) ? RGB(254, 255, 255) : color; }

TButtonGlyphs::TButtonGlyphs(COLORREF color) { SetColor(color); }

void TButtonGlyphs::SetColor(COLORREF color) {
    color_ = color;
    sets_.clear();
    sets_.push_back(StripSet{kDesignDpi, {}});
    for (int kind = 0; kind < kKinds; ++kind)
        sets_.front().strips[kind] = LoadRecolouredStrip(kind, color);
}

const TButtonGlyphs::StripSet& TButtonGlyphs::SetAtDpi(UINT dpi) const {
    for (const StripSet& set : sets_)
        if (set.dpi == dpi)
            return set;
    StripSet scaled{dpi, {}};
    const int cell = ScaleToDpi(kGlyphSize, dpi);
    for (int kind = 0; kind < kKinds; ++kind)
        scaled.strips[kind] = ScaledStrip(sets_.front().strips[kind].get(), cell);
    sets_.push_back(std::move(scaled));
    return sets_.back();
}

HBITMAP TButtonGlyphs::Glyph(int kind, UINT dpi) const {
    return kind >= 0 && kind < kKinds ? SetAtDpi(dpi).strips[kind].get() : nullptr;
}

int GlyphCellSize(HBITMAP strip) {
    BITMAP info{};
    return strip && ::GetObjectW(strip, sizeof info, &info) ? info.bmWidth : 0;
}

void DrawGlyphCell(HDC dc, HBITMAP strip, int state, int x, int y) {
    const int cell = GlyphCellSize(strip);
    if (cell == 0)
        return;
    const UniqueMemoryDC glyphDC(::CreateCompatibleDC(dc));
    const SelectGuard select(glyphDC.get(), strip);
    const COLORREF key = ::GetPixel(glyphDC.get(), 0, 0);
    ::TransparentBlt(dc, x, y, cell, cell, glyphDC.get(), 0, state * cell, cell, cell, key);
}

void DrawClassicButton(HDC dc, const RECT& r, int state, HBITMAP glyph) {
    RECT face{r.left, r.top + 2, r.right, r.bottom - 2};
    ::DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | FrameControlFlags(state));
    const int cell = GlyphCellSize(glyph);
    DrawGlyphCell(dc, glyph, state, r.left + (r.right - r.left - cell) / 2, r.top + (r.bottom - r.top - cell) / 2);
}

}  // namespace kz
