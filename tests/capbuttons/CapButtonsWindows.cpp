#include "tests/capbuttons/CapButtonsWindows.h"

#include <string>

namespace kz::test {

SettingsRecord RowSettings(std::initializer_list<int> kinds, COLORREF glyphColor) {
    SettingsRecord settings = RowSettings(kinds);
    settings.GlyphColor = glyphColor;
    settings.GlyphColorAutodetect = false;
    return settings;
}

OriginalGlyph::OriginalGlyph(int kind)
    : bitmap_(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                 (L"BT" + std::to_wstring(101 + kind)).c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_CREATEDIBSECTION))),
      dc_(::CreateCompatibleDC(nullptr)) {
    // The DC goes first and lets go of the bitmap as it goes.
    ::SelectObject(dc_.get(), bitmap_.get());
}

COLORREF OriginalGlyph::At(int state, int x, int y) const { return ::GetPixel(dc_.get(), x, state * 18 + y); }

}  // namespace kz::test
