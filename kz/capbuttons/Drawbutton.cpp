#include "kz/capbuttons/Drawbutton.h"

#include "kz/capbuttons/Kz_lib.h"

#include "common/Dib.h"

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

}  // namespace

COLORREF DrawableGlyphColor(COLORREF color) { return color == RGB(255, 255, 255) ? RGB(254, 255, 255) : color; }

TButtonGlyphs::TButtonGlyphs(COLORREF color) { SetColor(color); }

void TButtonGlyphs::SetColor(COLORREF color) {
    color_ = color;
    for (int kind = 0; kind < kKinds; ++kind)
        strips_[kind] = LoadRecolouredStrip(kind, color);
}

HBITMAP TButtonGlyphs::Glyph(int kind) const { return kind >= 0 && kind < kKinds ? strips_[kind].get() : nullptr; }

void DrawGlyphCell(HDC dc, HBITMAP strip, int state, int x, int y) {
    if (!strip)
        return;
    const UniqueMemoryDC glyphDC(::CreateCompatibleDC(dc));
    const SelectGuard select(glyphDC.get(), strip);
    const COLORREF key = ::GetPixel(glyphDC.get(), 0, 0);
    ::TransparentBlt(dc, x, y, kGlyphSize, kGlyphSize, glyphDC.get(), 0, state * kGlyphSize, kGlyphSize, kGlyphSize,
                     key);
}

void DrawClassicButton(HDC dc, const RECT& r, int state, HBITMAP glyph) {
    RECT face{r.left, r.top + 2, r.right, r.bottom - 2};
    ::DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | FrameControlFlags(state));
    DrawGlyphCell(dc, glyph, state, r.left + (r.right - r.left - kGlyphSize) / 2,
                  r.top + (r.bottom - r.top - kGlyphSize) / 2);
}

}  // namespace kz
