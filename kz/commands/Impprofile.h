// The window command executor: carries out every command on another
// program's top-level window and keeps what it needs to undo it.
#pragma once

#include "kz/commands/LayeredWindows.h"
#include "kz/commands/Profile.h"
#include "kz/commands/WindowTrayIcons.h"

#include "common/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>

namespace kz {

class ForeignWindow;

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
    // The host connects nulls again before its collaborators go, so that the
    // restore in the destructor does not reach them.
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
    // The window whose own tray icon has this identifier (the wParam of
    // WM_TRAYNOTIFY); null when no window's icon has it.
    HWND WindowOfTrayIcon(UINT id) const { return trayIcons_.WindowOf(id); }
    // The record of w's own tray icon; null when w has none.
    const NOTIFYICONDATAW* TrayIconOf(HWND w) const { return trayIcons_.Find(w); }

    bool LayeredAvailable() const { return layered_.Available(); }
    // The opacity in percent the transparency toggle sets (setting TransparencyLevel).
    int ToggleLevel() const { return toggleLevel_; }
    void SetToggleLevel(int percent);
    int Arrangement() const { return arrangement_; }

private:
    std::unique_ptr<TWndParams> MakeRecord(HWND w) const;
    // The opacity of a layered window with an alpha; nothing otherwise.
    std::optional<int> LayeredPercent(HWND w) const;
    // Sets the layered style and the alpha; false when either was refused.
    bool ApplyTransparency(const ForeignWindow& window, int percent) const;
    // Has the main window tell the user once the current command has returned.
    void ReportTransparencyFailure(HWND w) const;
    void RollUp(HWND w);
    void Unroll(HWND w);
    void ResizeForRoll(const ForeignWindow& window, int width, int height);
    // Clears the roll change of w; its height before the roll-up, or nothing
    // when w had no roll change.
    std::optional<int> TakeRollChange(HWND w);
    void Restore(HWND w, const RestoreStep& step);
    void JournalHidden(HWND w);
    void JournalShown(HWND w);

    HWND mainWindow_ = nullptr;
    CommonTrayIcon* commonTray_ = nullptr;
    BoxWindows* boxes_ = nullptr;
    HiddenWindowJournal* journal_ = nullptr;
    LayeredWindows layered_;
    WindowTrayIcons trayIcons_;
    int toggleLevel_ = 50;
    int arrangement_ = 7;
    HWND rolling_ = nullptr;  // the window a roll is resizing right now
};

}  // namespace kz
