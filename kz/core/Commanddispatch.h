// The command messages of the hook library (and of any other program that
// sends them) mapped onto the window command executor.
#pragma once

#include <windows.h>

namespace kz {

class TImpProfile;

// Whether message is one of the command messages (1125 to 1140; the codes
// between the commands and the notifications are accepted and ignored).
bool IsWindowCommandMessage(UINT message);

// Carries out one command message about window w. Windows a command must not
// touch (see Commandtarget.h) are ignored, except that a window that no
// longer exists is still forgotten when the library reports it gone.
void DispatchWindowCommand(TImpProfile& executor, UINT message, HWND w, LPARAM argument);

}  // namespace kz
