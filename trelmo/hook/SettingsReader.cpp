#include "trelmo/hook/SettingsReader.h"

#include "common/Handles.h"
#include "trelmo/hook/LibraryProcess.h"
#include "trelmo/hook/ProcessFilter.h"
#include "common/Protocol.h"

#include <windows.h>

namespace kz {

namespace {

// Reads a value of the program's key into buffer; returns the bytes read, or
// -1 when the key or value cannot be read or is larger than the buffer.
LONG ReadValue(const wchar_t* name, BYTE* buffer, DWORD capacity) {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return -1;
    DWORD size = capacity;
    if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, buffer, &size) != ERROR_SUCCESS ||
        size > capacity)
        return -1;
    return static_cast<LONG>(size);
}

}  // namespace

LibrarySettings ReadSettings() {
    BYTE buffer[kSettingsValueMaxBytes];
    const LONG size = ReadValue(kSettingsValueW, buffer, sizeof buffer);
    LibrarySettings settings = DecodeLibrarySettings(size >= 0 ? buffer : nullptr, size >= 0 ? size : 0);
    Process().RefreshBlacklisted();
    return settings;
}

bool ReadProcessBlacklisted() {
    constexpr DWORD kPathCapacity = 512;
    wchar_t path[kPathCapacity];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity)
        return false;
    const std::wstring lowerPath = LowerCase(path, length);

    wchar_t entries[kBlacklistValueMaxBytes / sizeof(wchar_t)];
    const LONG size = ReadValue(kBlacklistValueW, reinterpret_cast<BYTE*>(entries), sizeof entries);
    if (size <= 0)
        return false;
    return IsPathInBlacklist(lowerPath.c_str(), entries, static_cast<std::size_t>(size) / sizeof(wchar_t));
}

}  // namespace kz
