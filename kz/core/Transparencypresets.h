// The items of the transparency-preset menu and the rule that picks the item
// to check for a window's opacity.
#pragma once

#include <array>

namespace kz {

struct TransparencyPreset {
    int tag;  // the opacity in percent the item sets
    const wchar_t* caption;
};

// In menu order; the blanks line the numbers up.
constexpr std::array<TransparencyPreset, 11> kTransparencyPresets{{
    {100, L"100 %"},
    {90, L"  90 %"},
    {80, L"  80 %"},
    {70, L"  70 %"},
    {60, L"  60 %"},
    {50, L"  50 %"},
    {40, L"  40 %"},
    {30, L"  30 %"},
    {20, L"  20 % "},
    {10, L"  10 %"},
    {5, L"    5 %"},
}};

// The tag of the item to check for a window at percent opacity: the value is
// rounded up to a multiple of 5 first. 0 when no item has that value, and the
// check marks then stay as they were.
int PresetToCheck(int percent);

}  // namespace kz
