// Showing one of the host's popup menus from a notification.
#pragma once

#include <windows.h>

namespace kz {

// Makes owner the foreground window, so that the menu closes when the user
// clicks elsewhere, shows menu at a screen point and returns the identifier
// of the chosen item, 0 when none was chosen.
UINT ShowPopupMenu(HWND owner, HMENU menu, POINT at);

}  // namespace kz
