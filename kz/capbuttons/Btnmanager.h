// The host-side caption button manager: turns the button messages the host's
// main window receives (a hotkey's press and release) into a click of one
// button of a window, and draws that button on the window's caption.
#pragma once

#include "kz/capbuttons/Btnlist.h"
#include "kz/capbuttons/Exbackdrawer.h"

#include "common/Settingsformat.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class TBtnManager {
public:
    // mainWindow: the host main window, whose visual style the pictures
    // imitate and which pops up the transparency presets.
    TBtnManager(TImpProfile& executor, HWND mainWindow, const SettingsRecord& settings);
    // Takes the pictures off every caption still carrying one.
    ~TBtnManager();
    TBtnManager(const TBtnManager&) = delete;
    TBtnManager& operator=(const TBtnManager&) = delete;

    // The button row and the glyph colour of new settings. Button sets made
    // for the old row are dropped: their entries no longer match.
    void Configure(const SettingsRecord& settings);
    // A button message for entry `index` of wnd (messages 1033 to 1043).
    void HandleMessage(UINT message, HWND wnd, int index);
    // The window is gone: its buttons are dropped.
    void ForgetWindow(HWND wnd);
    // The visual style or the system colours changed: the pictures are made again.
    void StyleChanged();

    const TExBackDrawer& Drawer() const { return *Drawer_; }
    // The buttons of wnd; null before its first message.
    const TWndButtonSet* FindSet(HWND wnd) const;

private:
    TWndButtonSet& SetOf(HWND wnd);
    void DropDeadSets();

    SettingsRecord settings_;
    std::unique_ptr<TExBackDrawer> Drawer_;
    CapButtonEnvironment environment_;
    std::vector<std::unique_ptr<TWndButtonSet>> Sets;
};

}  // namespace kz
