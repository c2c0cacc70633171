// Small helpers for the system's fixed-size text fields and for converting text.
#pragma once

#include <cstddef>

namespace kz {

// Copies text into a fixed-size member of the icon record, cut to fit.
template <size_t N>
void CopyToField(wchar_t (&field)[N], const wchar_t* text) {
    size_t i = 0;
    for (; text && text[i] && i + 1 < N; ++i)
        field[i] = text[i];
    field[i] = L'\0';
}

}  // namespace kz
