// The colour palette of the colour selection button as plain data: which
// colour each 10 x 10 cell shows, the "#RRGGBB" text of the hexadecimal field
// and its parse, and where the palette opens next to its button.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kz {

using Colour = uint32_t;  // 0x00BBGGRR, red in the low byte

// The side of a cell at 100 %.
constexpr int kPaletteCell = 10;
constexpr int kPaletteColumns = 21;
constexpr int kPaletteRows = 12;
// White cannot be told from the key colour of the glyphs: the white cell is
// one step off, blue FE, which the field shows as #FFFFFE.
constexpr Colour kPaletteWhite = 0xFEFFFF;

// The colour of a cell; nothing outside the 21 x 12 cells.
std::optional<Colour> PaletteCellColour(int column, int row);

// "#" and six upper-case hexadecimal digits, red first (0x0080FF: #FF8000).
std::wstring HexFieldText(Colour colour);
// The colour a field's text names: "#" (optional) and six hexadecimal digits
// for red, green and blue. Nothing for a text that is not complete, and for
// FFFFFF, which the field refuses.
std::optional<Colour> ParseHexField(const std::wstring& text);

// Where the palette opens: below the button, moved left to end at the
// screen's right edge, or above the button where it would reach the bottom.
struct PalettePlace {
    int left;
    int top;
};
PalettePlace PlacePalette(int buttonLeft, int buttonTop, int buttonHeight, int paletteWidth, int paletteHeight,
                          int screenWidth, int screenHeight);

}  // namespace kz
