// The hook library's copy of the user settings and its blacklist match.
// Pure code over bytes and characters (no Windows types), so that it also
// builds natively for the fuzz tests; the registry reads are in SettingsReader.
#pragma once

#include "common/Settingsformat.h"

#include <cstddef>
#include <cstdint>

namespace kz {

// The library decodes the same record as the host but has defaults of its own.
using LibrarySettings = SettingsRecord;

// Fills every field the library has a default for; the others stay as they are.
void SetLibraryDefaults(LibrarySettings& settings);

// Zero record, the library's defaults, then the stored value decoded over them;
// a value that fails the validity test gets the defaults again over it.
LibrarySettings DecodeLibrarySettings(const uint8_t* data, int32_t size);

// Whether some entry of the stored multi-string blacklist, lower-cased, equals
// lowerPath (already lower-cased). Walks at most 10001 entries and never past
// the given characters, whether or not the value carries its terminators.
bool IsPathInBlacklist(const wchar_t* lowerPath, const wchar_t* entries, std::size_t length);

}  // namespace kz
