// Reading the values of the program's registry key (under HKEY_CURRENT_USER),
// as the host and the hook library both do, through the wide (UTF-16) registry
// functions: a string keeps every character whatever the system's code page.
#pragma once

#include "common/Handles.h"
#include "common/Protocol.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace kz {

// The program's key opened for reading; empty when it cannot be opened.
inline UniqueKey OpenProgramKey() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return UniqueKey();
    return UniqueKey(key);
}

// Reads a value of the program's key into buffer whatever its type. Returns
// the number of bytes the registry returned, or nothing when the key or the
// value cannot be read or the value is larger than the buffer.
inline std::optional<DWORD> ReadProgramValue(const wchar_t* name, BYTE* buffer, DWORD capacity) {
    const UniqueKey key = OpenProgramKey();
    DWORD size = capacity;
    if (!key || ::RegQueryValueExW(key.get(), name, nullptr, nullptr, buffer, &size) != ERROR_SUCCESS ||
        size > capacity)
        return std::nullopt;
    return size;
}

// Reads a value of the program's key whole, whatever its size and type: the
// size is asked first and the buffer made to fit it, so that no value is too
// long to be read and a short one costs no more than it holds. The data comes
// as the wide registry functions return it (a multi-string in UTF-16,
// whichever function wrote it), in whole elements: a last element the data
// fills only in part is left out. Nothing when the value cannot be read.
template <typename Element>
std::optional<std::vector<Element>> ReadWholeProgramValue(const wchar_t* name) {
    const UniqueKey key = OpenProgramKey();
    if (!key)
        return std::nullopt;
    // Another process may store a longer value between the two queries: the
    // second then answers with the new size, and the read is tried again.
    constexpr int kAttempts = 4;
    DWORD size = 0;
    LONG status = ::RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, &size);
    for (int attempt = 0; attempt < kAttempts && status == ERROR_SUCCESS; ++attempt) {
        std::vector<Element> data((size + sizeof(Element) - 1) / sizeof(Element));
        DWORD read = static_cast<DWORD>(data.size() * sizeof(Element));
        status = ::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &read);
        if (status == ERROR_SUCCESS) {
            data.resize(read / sizeof(Element));
            return data;
        }
        if (status == ERROR_MORE_DATA) {
            size = read;
            status = ERROR_SUCCESS;
        }
    }
    return std::nullopt;
}

}  // namespace kz
