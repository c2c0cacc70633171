#include "kz/settings/Colorpalette.h"

#include <cwctype>

namespace kz {

namespace {

constexpr int kLevels[] = {0, 51, 102, 153, 204, 255};

constexpr Colour Rgb(int red, int green, int blue) {
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

// Red, green, blue, yellow, cyan, magenta under the greys of column 0.
constexpr Colour kPrimaries[] = {Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(0, 0, 255),
                                 Rgb(255, 255, 0), Rgb(0, 255, 255), Rgb(255, 0, 255)};

Colour Shown(Colour colour) { return colour == 0xFFFFFF ? kPaletteWhite : colour; }

}  // namespace

std::optional<Colour> PaletteCellColour(int column, int row) {
    if (column < 0 || column >= kPaletteColumns || row < 0 || row >= kPaletteRows)
        return std::nullopt;
    if (column == 0) {
        if (row < 6)
            return Shown(Rgb(kLevels[row], kLevels[row], kLevels[row]));
        return Shown(kPrimaries[row - 6]);
    }
    if (column == 1 || column == kPaletteColumns - 1)
        return Colour{0};
    // Columns 2 to 19: column 2 + (r mod 3) * 6 + g, row (r div 3) * 6 + b.
    const int r = (row / 6) * 3 + (column - 2) / 6;
    const int g = (column - 2) % 6;
    const int b = row % 6;
    return Shown(Rgb(kLevels[r], kLevels[g], kLevels[b]));
}

std::wstring HexFieldText(Colour colour) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text = L"#";
    for (const int shift : {0, 8, 16}) {
        const unsigned component = (colour >> shift) & 0xFF;
        text += kDigits[component >> 4];
        text += kDigits[component & 0xF];
    }
    return text;
}

std::optional<Colour> ParseHexField(const std::wstring& text) {
    std::wstring digits = !text.empty() && text[0] == L'#' ? text.substr(1) : text;
    if (digits.size() != 6)
        return std::nullopt;
    unsigned value = 0;
    for (const wchar_t c : digits) {
        if (!std::iswxdigit(c))
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(std::iswdigit(c) ? c - L'0' : std::towupper(c) - L'A' + 10);
    }
    if (value >= 0xFFFFFF)
        return std::nullopt;
    return Rgb(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF));
}

PalettePlace PlacePalette(int buttonLeft, int buttonTop, int buttonHeight, int paletteWidth, int paletteHeight,
                          int screenWidth, int screenHeight) {
    PalettePlace place{buttonLeft, buttonTop + buttonHeight};
    if (buttonLeft + paletteWidth >= screenWidth)
        place.left = screenWidth - paletteWidth;
    if (buttonTop + buttonHeight + paletteHeight >= screenHeight)
        place.top = buttonTop - paletteHeight;
    return place;
}

}  // namespace kz
