// Messages the host's main window receives from the host itself (hotkeys,
// tray icons, deferred actions), and the identifiers of its own tray icons.
// The library's command messages are in trelmo/Protocol.h.
#pragma once

#include <windows.h>

namespace kz {

enum HostInternalMessage : UINT {
    // 1033..1043 go to the host-side caption button manager as (message,
    // window = lParam, index = wParam).
    HM_FIRST_BUTTON_MESSAGE = 1033,
    HM_BUTTON_WINDOW_SIZED = 1033,
    HM_BUTTON_HOVER = 1034,
    HM_BUTTON_DOWN = 1035,  // posted by a global hotkey: press
    HM_BUTTON_UP = 1036,    // posted by a global hotkey: release
    HM_BUTTON_LEAVE = 1037,
    HM_BUTTON_OTHER = 1038,
    HM_WINDOW_ACTIVE = 1039,
    HM_WINDOW_INACTIVE = 1040,
    HM_LAST_BUTTON_MESSAGE = 1043,
    // Every tray icon of the host: wParam the icon's identifier, lParam the mouse message.
    WM_TRAYNOTIFY = WM_USER + 20,  // 1044
    // The transparency presets button: wParam the window, lParam the screen
    // point (PresetMenuPointParam).
    WM_PRESETMENU = WM_USER + 21,  // 1045
    // Posted by the executor's send-to-back: lParam the window to put at the
    // bottom once the command message that asked for it has returned.
    WM_SENDTOBACK = WM_USER + 23,  // 1047
    // Posted by the executor when a window's transparency could not be
    // changed: the message box comes after the command that asked for the
    // change has returned to the program waiting on it.
    WM_TRANSPARENCYFAILED = WM_USER + 24,  // 1048
    // Posted by the executor the first time it refuses a command on a window
    // (wParam) whose program runs above the host: the user is told why.
    WM_ELEVATEDWINDOW = WM_USER + 25,  // 1049
};

// The screen point of WM_PRESETMENU: x in the high word, y in the low word,
// each a signed 16-bit number, as a monitor above or left of the primary one
// has negative coordinates.
inline LPARAM PresetMenuPointParam(POINT point) {
    return MAKELPARAM(static_cast<WORD>(point.y), static_cast<WORD>(point.x));
}

inline POINT PresetMenuPointOf(LPARAM param) {
    return POINT{static_cast<short>(HIWORD(param)), static_cast<short>(LOWORD(param))};
}

// Identifiers (uID) of the host's two own tray icons. A window's own icon
// has the window's handle as its identifier instead.
constexpr UINT kHostTrayIconId = 0xFFFFFFFFu;
constexpr UINT kCommonTrayIconId = 0xFFFFFFFEu;

}  // namespace kz
