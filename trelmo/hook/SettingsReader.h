// Reads the stored settings and blacklist from the registry, afresh each time.
#pragma once

#include "common/LibrarySettings.h"

namespace kz {

// The stored settings over the library's defaults; the defaults when the value
// is missing, unreadable or invalid. Refreshes the process's blacklist mark.
LibrarySettings ReadSettings();

// Whether this process's executable is in the stored blacklist.
bool ReadProcessBlacklisted();

}  // namespace kz
