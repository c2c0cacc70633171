// Commands and notifications from the library to the host's main window.
#pragma once

#include <windows.h>

namespace kz {

class HookedWindow;

// What a button or a menu entry carries until it is sent; message 0 sends nothing.
struct CommandRecord {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The command of a button kind for a window; kinds without one give message 0.
CommandRecord CommandForKind(int kind, HWND window);
// The command of a transparency menu entry: that percentage of opacity.
CommandRecord TransparencyCommand(HWND window, int percent);

// Sends to the host window with SendMessageW and ignores the answer. Nothing
// is sent for message 0 or while no host window is known.
void SendCommand(const CommandRecord& command);
void NotifyHost(UINT message, HWND window);

// Sends a command for the record's window, from a button or a menu entry. The
// roll command marks the record so that the resize the host makes meanwhile
// is not reported back as a resize by hand.
void SendWindowCommand(HookedWindow& record, const CommandRecord& command);
void SendKindCommand(HookedWindow& record, int kind);

}  // namespace kz
