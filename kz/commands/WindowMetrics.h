// Measures of other programs' windows, taken at each window's own scale:
// on a desktop of monitors with different scales, a window's caption and
// frame are as high as its monitor's scale makes them, whatever the scale
// of the host's monitor.
#pragma once

#include <windows.h>

namespace kz {

// The height of a window rolled up to its caption: the caption at the
// window's scale with the frame the window has above and below it, and
// nothing of the menu bar or the client area; 0 when the window is gone.
int RolledUpHeight(HWND window);

}  // namespace kz
