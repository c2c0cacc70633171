// Small helpers for the system's fixed-size text fields and for converting text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kz {

// Copies text into a fixed-size member of the icon record, cut to fit.
template <size_t N>
void CopyToField(wchar_t (&field)[N], const wchar_t* text) {
    size_t i = 0;
    for (; text && text[i] && i + 1 < N; ++i)
        field[i] = text[i];
    field[i] = L'\0';
}

// Text of the system's ANSI code page in UTF-16.
inline std::wstring Widen(std::string_view text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace kz
