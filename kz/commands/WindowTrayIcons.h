// The tray icons that stand for windows minimised to an icon of their own.
// Each icon belongs to the host's main window and has the window's handle as
// its identifier: window handles have 32 significant bits on 64-bit Windows
// too, so the 32-bit uID holds them, and the host maps an identifier back to
// its window through this list rather than by widening the number.
#pragma once

#include "common/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace kz {

// The identifier of the tray icon of window w.
inline UINT TrayIconIdOf(HWND w) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(w)); }

// The record of the icon of window w: owned by mainWindow, reporting with
// WM_TRAYNOTIFY, showing icon and the window's text as it is now.
NOTIFYICONDATAW WindowIconData(HWND mainWindow, HWND w, HICON icon);

class WindowTrayIcons {
public:
    WindowTrayIcons() = default;
    // Deletes every icon still shown.
    ~WindowTrayIcons();
    WindowTrayIcons(const WindowTrayIcons&) = delete;
    WindowTrayIcons& operator=(const WindowTrayIcons&) = delete;

    // Adds the icon of w and keeps its record, even when the shell refuses
    // it (no notification area yet): AddAgain adds it later. An icon smaller
    // than the shell's icons is shown from the image of their size where the
    // icon's program has one.
    void Add(HWND mainWindow, HWND w, HICON icon);
    // Deletes the icon of w, if it has one.
    void Remove(HWND w);
    // Adds every kept icon again, after the shell was restarted.
    void AddAgain();

    const NOTIFYICONDATAW* Find(HWND w) const;
    // The window whose icon has this identifier; null when none has.
    HWND WindowOf(UINT id) const;
    int Count() const { return static_cast<int>(icons_.size()); }

private:
    struct Icon {
        HWND window;
        NOTIFYICONDATAW data;
        UniqueIcon sized;  // the image the record shows, when not the window's own icon
    };
    // The index of the icon of w; Count() when it has none.
    std::size_t IndexOf(HWND w) const;

    std::vector<Icon> icons_;
};

}  // namespace kz
