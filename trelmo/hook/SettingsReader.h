// Reads the stored settings and blacklist from the registry, afresh each time.
#pragma once

#include "common/LibrarySettings.h"

namespace kz {

// The stored settings over the library's defaults; the defaults when the value
// is missing, unreadable or invalid. Refreshes the process's blacklist mark.
LibrarySettings ReadSettings();

// Whether lowerPath (already lower-cased) is in the stored blacklist, which is
// read whole whatever its size.
bool IsInStoredBlacklist(const wchar_t* lowerPath);

// Whether this process's executable is in the stored blacklist.
bool ReadProcessBlacklisted();

}  // namespace kz
