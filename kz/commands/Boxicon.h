// The picture a box shows: the largest icon its window or the window's
// program offers, so that drawing it at the box's size scales it down
// rather than blowing a small picture up.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <cstddef>

namespace kz {

// The width of the largest image an icon group resource lists (its stored
// directory: a header of three 16-bit words, then 14 bytes per image whose
// first byte is the width, 0 meaning 256). 0 when the directory is malformed.
int LargestIconWidth(const BYTE* directory, std::size_t size);

// The width of an icon's image in pixels; 0 for no icon.
int IconWidth(HICON icon);

// For an icon smaller than size, its image of size x size pixels copied from
// the resource it was loaded from; null for a large enough icon or one made
// in memory.
UniqueIcon ResourceImageOfSize(HICON icon, int size);

// The largest of: the icon given, the window's own large icons, the images
// of the resources they were loaded from, and the program's first icon.
// Null only when none of them exists.
UniqueIcon LargestIconOf(HWND window, HICON given);

}  // namespace kz
