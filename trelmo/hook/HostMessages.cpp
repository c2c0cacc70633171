#include "trelmo/hook/HostMessages.h"

#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/LibraryProcess.h"
#include "common/Protocol.h"

namespace kz {

CommandRecord CommandForKind(int kind, HWND window) {
    const UINT message = CommandMessageOfKind(kind);
    if (message == 0)
        return {};
    const LPARAM argument = kind == kTransparencyToggle ? kTransparencyToggleArgument : 0;
    return {message, reinterpret_cast<WPARAM>(window), argument};
}

CommandRecord TransparencyCommand(HWND window, int percent) {
    return {HM_TRANSPARENCY, reinterpret_cast<WPARAM>(window), percent};
}

void SendCommand(const CommandRecord& command) {
    const HWND host = Process().HostWindow();
    if (command.message != 0 && host)
        ::SendMessageW(host, command.message, command.wParam, command.lParam);
}

void NotifyHost(UINT message, HWND window) { SendCommand({message, reinterpret_cast<WPARAM>(window), 0}); }

void SendWindowCommand(HookedWindow& record, const CommandRecord& command) {
    if (command.message != HM_ROLL) {
        SendCommand(command);
        return;
    }
    // The host resizes the window while this thread waits in SendMessageW; the
    // WM_SIZE that comes meanwhile must not be reported as a resize by hand.
    record.suppressSizeNotify = true;
    record.rolledUp = !record.rolledUp;
    SendCommand(command);
    record.suppressSizeNotify = false;
}

void SendKindCommand(HookedWindow& record, int kind) {
    SendWindowCommand(record, CommandForKind(kind, record.Window()));
}

}  // namespace kz
