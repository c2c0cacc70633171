// The host's access to the program's registry key (under HKEY_CURRENT_USER),
// where the settings and the blacklist are stored. The host works with the
// 8-bit (ANSI) forms of the registry functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace kz {

// Reads a value of the program's key into buffer whatever its type. Returns
// the number of bytes the registry returned, or nothing when the key or the
// value cannot be read or the value is larger than the buffer.
std::optional<uint32_t> ReadProgramValue(const char* name, uint8_t* buffer, uint32_t capacity);

// Writes a value of the program's key, creating the key when it is missing.
// Returns whether the registry accepted the data.
bool WriteProgramValue(const char* name, DWORD type, const uint8_t* data, uint32_t size);

}  // namespace kz
