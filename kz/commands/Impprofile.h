// The window command executor: carries out every command on another
// program's top-level window and keeps what it needs to undo it.
#pragma once

#include "Profile.h"

#include "../../common/Handles.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

// What the executor needs of the tray-menu module: the common tray icon.
class CommonTrayIcon {
public:
    virtual ~CommonTrayIcon() = default;
    virtual void ShowCommonTrayIcon() = 0;
    // Removes the common icon when no window is left in the common tray.
    virtual void HideCommonTrayIcon() = 0;
};

// What the executor needs of the box windows. Until boxes exist the executor
// has none, and a window "in a box" is only hidden.
class BoxWindows {
public:
    virtual ~BoxWindows() = default;
    virtual bool HasBox(HWND target) const = 0;
    // Creates the box of target with a copy of icon, shows it and places it.
    virtual void AddBox(HWND target, HICON icon, int iconSize) = 0;
    virtual void RemoveBox(HWND target) = 0;
    virtual void PlaceBox(int index) = 0;
    virtual void SetArrangement(int code) = 0;
};

// Remembers the windows the host has hidden, so that they can be shown again
// should the host end without restoring them.
class HiddenWindowJournal {
public:
    virtual ~HiddenWindowJournal() = default;
    virtual void Hidden(HWND window) = 0;
    virtual void Shown(HWND window) = 0;
};

class TImpProfile : public TWndProfile {
public:
    // Looks up the layered-window functions of user32.
    TImpProfile();
    // Restores every window it changed and removes every icon it added.
    ~TImpProfile();
    TImpProfile(const TImpProfile&) = delete;
    TImpProfile& operator=(const TImpProfile&) = delete;

    // The host main window (owner and callback window of the tray icons, and
    // receiver of WM_SENDTOBACK) and the collaborators; any may be null.
    void Connect(HWND mainWindow, CommonTrayIcon* commonTray, BoxWindows* boxes, HiddenWindowJournal* journal);

    // Records.
    TWndParams& GetProfile(HWND w);
    TWndParams* FindSaved(HWND w);

    // Commands. None reports to its caller.
    void SetVisible(HWND w, bool visible);
    void SetInTray(HWND w, bool on);
    void SetInCommonTray(HWND w, bool on);
    void SetOnTop(HWND w, bool on);
    bool IsOnTop(HWND w) const;
    void SendToBack(HWND w);
    int GetTransparency(HWND w);
    int ReadTransparency(HWND w) const;
    void SetTransparency(HWND w, int percent);
    void ToggleTransparency(HWND w, bool on);
    void SetRolled(HWND w, bool on);
    bool IsRolled(HWND w);
    void WindowSized(HWND w);
    void SetInBox(HWND w, bool on);
    bool HasBox(HWND w) const;
    void PlaceBox(int index);
    void SetArrangement(int code);
    void RunCopy(HWND w);
    void RestoreWindow(HWND w);
    void ForgetWindow(HWND w);
    // Restores every changed window, first saved first (at exit).
    void RestoreAll();
    // Adds every per-window tray icon again (after the shell restarted).
    void AddTrayIconsAgain();

    bool LayeredAvailable() const { return layeredAvailable_; }
    // The opacity in percent the transparency toggle sets (setting TransparencyLevel).
    int ToggleLevel() const { return toggleLevel_; }
    void SetToggleLevel(int percent);
    int Arrangement() const { return arrangement_; }

private:
    // (implementation details are the executor's own)
    bool layeredAvailable_ = false;
    int toggleLevel_ = 50;
    int arrangement_ = 7;
};

// The one executor of the host, built before the main window and destroyed
// after it.
TImpProfile& ImpProfile();

}  // namespace kz
