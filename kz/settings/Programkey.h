// The host's writes to the program's registry key (under HKEY_CURRENT_USER),
// where the settings and the blacklist are stored; the reads, which the hook
// library shares, are in common/RegistryValue.h. The host works with the wide
// (UTF-16) forms of the registry functions.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kz {

// Writes a value of the program's key, creating the key when it is missing.
// Returns whether the registry accepted the data.
bool WriteProgramValue(const wchar_t* name, DWORD type, const uint8_t* data, uint32_t size);

}  // namespace kz
