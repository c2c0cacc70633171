// Pictures the program stores as PNG (resources of type RCDATA), a small
// fraction of the same picture stored as a bitmap, decoded at run time by
// the system's GDI+.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

// The PNG resource `name` of `module` as a 32-bit DIB section; null when the
// resource is missing or cannot be decoded.
UniqueBitmap LoadPngPicture(HMODULE module, const wchar_t* name);

}  // namespace kz
