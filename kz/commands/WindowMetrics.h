// Measures of other programs' windows, taken at each window's own scale:
// on a desktop of monitors with different scales, a window's caption and
// frame are as high as its monitor's scale makes them, whatever the scale
// of the host's monitor.
#pragma once

#include <windows.h>

namespace kz {

// The height of a window rolled up to its caption: the caption with the frame
// above and below it, and nothing of the menu bar or the client area.
int RolledUpHeight(HWND window);

}  // namespace kz
