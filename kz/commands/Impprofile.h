// The window command executor: carries out every command on another
// program's top-level window and keeps what it needs to undo it.
#pragma once

#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Integrity.h"
#include "kz/commands/LayeredWindows.h"
#include "kz/commands/Profile.h"
#include "kz/commands/WindowTrayIcons.h"

#include "common/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <vector>

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

// Remembers every change the host has made to a window with what undoes it,
// so that it can be undone should the host end without restoring the window.
class ChangeJournal {
public:
    virtual ~ChangeJournal() = default;
    // Keeps the entry in place of any earlier one of its window.
    virtual void Put(const JournalEntry& entry) = 0;
    // Forgets the entry of the window, if it has one.
    virtual void Drop(HWND window) = 0;
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
    // While connected to a main window and while it keeps any record, the
    // executor drops the records of windows that have gone every few seconds
    // (see DropGoneWindows).
    void Connect(HWND mainWindow, CommonTrayIcon* commonTray, BoxWindows* boxes, ChangeJournal* journal);
    // Where the executor learns whether a window's program runs above the
    // host: the system's answer unless a test says otherwise; null for the
    // system's answer again.
    void SetIntegrity(const WindowIntegrity* integrity) { integrity_ = integrity ? integrity : &systemIntegrity_; }

    // Records. A record is kept with the window's identity: a record whose
    // window has gone, and whose handle may now name another window, is
    // dropped rather than used.
    TWndParams& GetProfile(HWND w);
    TWndParams* FindSaved(HWND w);
    // The window of a record with this identity, while it is still that
    // window; null otherwise.
    HWND RecordedWindow(const WindowIdentity& identity) const;
    // Forgets every window whose record no longer names it: its tray icon,
    // box, journal entry and records go, and nothing is done to any window.
    // Windows of a program that crashed, or that the library does not
    // reach, never report that they have gone.
    void DropGoneWindows();

    // Commands. None reports to its caller, but SetVisible: it tells whether
    // the window is in the state asked for afterwards. A command that does
    // not take effect (a window above the host, a window that refused the
    // change) records nothing; one on a window of a program above the host
    // is refused at once, and the main window is told the first time for
    // each window (WM_ELEVATEDWINDOW).
    bool SetVisible(HWND w, bool visible);
    // The commands that take a window out of sight: it is hidden first, and
    // goes behind its icon, the common icon or its box only once it is.
    void MinimizeToTray(HWND w);
    void MinimizeToCommonTray(HWND w);
    void MinimizeToBox(HWND w);
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
    // Undoes every change of w, while w is still the window recorded.
    void RestoreWindow(HWND w);
    // Forgets w, its icon, box and journal entry, and changes nothing of it
    // or its owner.
    void ForgetWindow(HWND w);
    // The library let go of w (HM_WINDOW_GONE). It does so for windows that
    // live on as well (their program newly excluded, its hook ending, the
    // companion leaving at exit), and those must still be given back; so a
    // window that no longer exists is forgotten now, and one that still
    // exists is left to a sweep for gone windows brought forward, which drops
    // it only if it was on its way out. Nothing of w is changed either way.
    void WindowReleased(HWND w);
    // Restores every changed window, first saved first (at exit).
    void RestoreAll();
    // Adds every per-window tray icon again (after the shell restarted).
    void AddTrayIconsAgain();
    // The window whose own tray icon has this identifier (the wParam of
    // WM_TRAYNOTIFY); null when no window's icon has it, or when the window
    // with that handle is no longer the one recorded (it is dropped then).
    HWND WindowOfTrayIcon(UINT id);
    // The record of w's own tray icon; null when w has none.
    const NOTIFYICONDATAW* TrayIconOf(HWND w) const { return trayIcons_.Find(w); }

    bool LayeredAvailable() const { return layered_.Available(); }
    // The opacity in percent the transparency toggle sets (setting TransparencyLevel).
    int ToggleLevel() const { return toggleLevel_; }
    void SetToggleLevel(int percent);
    int Arrangement() const { return arrangement_; }

private:
    static void CALLBACK DropGoneWindowsTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    // The next sweep for gone windows, on a timer of the main window.
    void SweepIn(UINT milliseconds);
    void StopSweeping();
    std::unique_ptr<TWndParams> MakeRecord(HWND w) const;
    // Whether the window a record names is still the one it was made for.
    static bool StillSame(const TWndParams& record);
    // Refuses a command on a window above the host; see the commands.
    bool Refused(HWND w);
    bool Hide(HWND w, TWndParams& current);
    void Show(HWND w, TWndParams& current);
    // The opacity of a layered window with an alpha; nothing otherwise.
    std::optional<int> LayeredPercent(HWND w) const;
    // Gives the window its layering from before the first change.
    void UndoTransparency(const ForeignWindow& window, TWndParams& current);
    // Has the main window tell the user once the current command has returned.
    void ReportTransparencyFailure(HWND w) const;
    void RollUp(HWND w);
    void Unroll(HWND w);
    // False when the system refused the resize.
    bool ResizeForRoll(const ForeignWindow& window, int width, int height);
    // Clears the roll change of w; its height before the roll-up, or nothing
    // when w had no roll change.
    std::optional<int> TakeRollChange(HWND w);
    void Restore(HWND w, const RestoreStep& step);
    // Writes what undoes the changes of w now, or drops its entry when none
    // is left; w's changes and its being the hidden owner of another window.
    void Journal(HWND w);
    // Forgets w without touching it; see DropGoneWindows.
    void Drop(HWND w);

    HWND mainWindow_ = nullptr;
    bool sweeping_ = false;
    CommonTrayIcon* commonTray_ = nullptr;
    BoxWindows* boxes_ = nullptr;
    ChangeJournal* journal_ = nullptr;
    WindowIntegrity systemIntegrity_;
    const WindowIntegrity* integrity_ = &systemIntegrity_;
    // The windows above the host the user has been told of.
    std::vector<WindowIdentity> toldAbove_;
    LayeredWindows layered_;
    WindowTrayIcons trayIcons_;
    int toggleLevel_ = 50;
    int arrangement_ = 7;
    HWND rolling_ = nullptr;  // the window a roll is resizing right now
};

}  // namespace kz
