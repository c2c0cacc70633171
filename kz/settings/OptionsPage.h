// One page of the options dialog: a child dialog of the frame, made from its
// own template, that owns its controls and their handlers. The frame fills
// every page from its working copy of the settings, has every page store its
// controls into it on OK, and shows one page at a time.
#pragma once

#include "common/Handles.h"
#include "common/Settingsformat.h"
#include "kz/core/Hotkeys.h"
#include "kz/settings/Optionspages.h"

#include <windows.h>

#include <vector>

namespace kz {

// What the frame lends its pages: the program's resources, the white
// background and the bold font of the titles, and the flag that says some
// control was changed since the dialog was last filled.
struct PageSite {
    HINSTANCE instance = nullptr;
    UniqueBrush background;
    UniqueFont boldFont;
    bool modified = false;
};

class OptionsPage {
public:
    virtual ~OptionsPage();
    OptionsPage(const OptionsPage&) = delete;
    OptionsPage& operator=(const OptionsPage&) = delete;

    HWND Window() const { return window_.get(); }
    // Fills the controls from the record.
    virtual void Load(const SettingsRecord& settings) = 0;
    // Copies the controls into the record.
    virtual void Store(SettingsRecord& settings) const = 0;
    // After OK: marks the hotkeys of this page that the host could not register.
    virtual void ShowRefusedHotKeys(const SettingsRecord& settings, const std::vector<RefusedHotKey>& refused);

protected:
    // Creates the page's window, hidden, from the template of page.
    OptionsPage(PageSite& site, HWND frame, Page page);

    // The page's messages; a page that takes more than commands and the
    // colours of its controls passes the rest on to this one.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A control's notification. Nothing here: the window exists before the
    // page that derives from this class, whose controls are not set up yet.
    virtual void OnCommand(int id, int code);
    // The change handler of the controls that only mark the dialog changed.
    void OnModifyParameter() { site_.modified = true; }

    HWND Item(int id) const { return ::GetDlgItem(Window(), id); }
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    HINSTANCE Instance() const { return site_.instance; }
    HBRUSH Background() const { return site_.background.get(); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR OnCtlColor(HDC dc, HWND control) const;

    PageSite& site_;
    UniqueWindow window_;
};

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
void MoveChild(HWND child, int x, int y, int width, int height);

}  // namespace kz
