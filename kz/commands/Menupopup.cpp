#include "kz/commands/Menupopup.h"

namespace kz {

UINT ShowPopupMenu(HWND owner, HMENU menu, POINT at) {
    ::SetForegroundWindow(owner);
    const UINT id = static_cast<UINT>(
        ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
    // Lets the menu close properly the next time it is shown.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return id;
}

}  // namespace kz
