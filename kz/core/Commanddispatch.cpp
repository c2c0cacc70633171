#include "kz/core/Commanddispatch.h"

#include "common/Protocol.h"
#include "kz/core/Commandtarget.h"
#include "kz/commands/Impprofile.h"

namespace kz {

bool IsWindowCommandMessage(UINT message) { return message >= HM_TO_TRAY && message <= HM_WINDOW_SIZED; }

void DispatchWindowCommand(TImpProfile& executor, UINT message, HWND w, LPARAM argument) {
    if (message == HM_WINDOW_GONE) {
        executor.WindowReleased(w);
        return;
    }
    if (!MayTouchWindow(w))
        return;
    switch (message) {
    case HM_TO_TRAY: executor.MinimizeToTray(w); break;
    case HM_TO_COMMON_TRAY: executor.MinimizeToCommonTray(w); break;
    case HM_TO_BOX: executor.MinimizeToBox(w); break;
    case HM_ROLL: executor.SetRolled(w, !executor.IsRolled(w)); break;
    case HM_ON_TOP: executor.SetOnTop(w, !executor.IsOnTop(w)); break;
    case HM_TO_BACK: executor.SendToBack(w); break;
    case HM_TRANSPARENCY:
        if (argument > 0)
            executor.SetTransparency(w, static_cast<int>(argument < 100 ? argument : 100));
        else
            executor.ToggleTransparency(w, executor.GetTransparency(w) >= 100);
        break;
    case HM_RUN_COPY: executor.RunCopy(w); break;
    case HM_WINDOW_SIZED: executor.WindowSized(w); break;
    default: break;  // 1133..1138 carry nothing
    }
}

}  // namespace kz
