// The host's own tray icon: added at start-up, carries the balloon tips,
// added again when the shell restarts, deleted when the main window goes.
#pragma once

#include "common/Handles.h"

#include "common/Text.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace kz {

class MainTrayIcon {
public:
    MainTrayIcon() = default;
    ~MainTrayIcon() { Delete(); }
    MainTrayIcon(const MainTrayIcon&) = delete;
    MainTrayIcon& operator=(const MainTrayIcon&) = delete;

    // Adds the icon "TRAYICON" with the application title as its tip. The
    // shell reads the balloon members only when withBalloons is set. The
    // record is kept when the shell refuses it (no notification area yet).
    void Add(HWND owner, bool withBalloons);
    // Adds the icon again after the shell restarted; nothing before Add.
    void AddAgain();
    // Shows the icon's own image for the scale of the taskbar's monitor.
    void ShowAtScale(UINT dpi);
    // Shows text as an information balloon titled with the application title.
    void ShowTip(const wchar_t* text);
    void Delete();

private:
    NOTIFYICONDATAW data_{};
    UniqueIcon icon_;
};


}  // namespace kz
