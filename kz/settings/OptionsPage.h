// One page of the options dialog: a child dialog of the frame, made from its
// own template, that owns its controls and their handlers. The frame fills
// every page from its working copy of the settings, has every page store its
// controls into it on OK, and shows one page at a time.
#pragma once

#include "common/Handles.h"
#include "common/Settingsformat.h"
#include "common/WindowBase.h"
#include "kz/core/Hotkeys.h"
#include "kz/settings/Optionsids.h"
#include "kz/settings/Optionspages.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace kz {

// The dialog's measures are pixels of the font it was drawn for, MS Sans Serif
// 8 at 96 DPI, whose dialog base units are 6 x 13; the page templates, in
// dialog units, fill exactly the room these measures leave them. With any
// other font or resolution the measures grow as the dialog units do, so that
// the pages still fit beside the navigation.
struct DesignScale {
    static constexpr int kDesignBaseX = 6;
    static constexpr int kDesignBaseY = 13;
    int baseX = kDesignBaseX;
    int baseY = kDesignBaseY;
    int X(int designPixels) const { return ::MulDiv(designPixels, baseX, kDesignBaseX); }
    int Y(int designPixels) const { return ::MulDiv(designPixels, baseY, kDesignBaseY); }
};
// The scale of a dialog from its own font, which the system makes for the
// scale of the dialog's monitor.
DesignScale DesignScaleOf(HWND dialog);

// What the frame lends its pages: the program's resources, the white
// background and the bold font of the titles, and the flag that says some
// control was changed since the dialog was last filled.
struct PageSite {
    HINSTANCE instance = nullptr;
    UniqueBrush background;
    UniqueFont boldFont;
    bool modified = false;
};

// The root of the pages: the frame owns each page through a WindowPtr of
// this class.
class OptionsPage : public DialogBase<OptionsPage> {
public:
    virtual ~OptionsPage() = default;

    // Fills the controls from the record.
    virtual void Load(const SettingsRecord& settings) = 0;
    // Copies the controls into the record.
    virtual void Store(SettingsRecord& settings) const = 0;
    // After OK: marks the hotkeys of this page that the host could not register.
    virtual void ShowRefusedHotKeys(const SettingsRecord& settings, const std::vector<RefusedHotKey>& refused);
    // The dialog moved to a monitor of another scale and has its new fonts:
    // the title takes the bold one, and whatever is sized in pixels follows.
    virtual void FitToScale();

protected:
    explicit OptionsPage(PageSite& site) : site_(site) {}

    // Makes a page of class Made, hidden, from the template of page, with
    // the frame as its parent; null when it cannot be made.
    template <typename Made, typename... Arguments>
    static WindowPtr<Made> MakePage(PageSite& site, HWND frame, Page page, Arguments&&... arguments) {
        return Create<Made>(site.instance, IDD_PAGE_FIRST + static_cast<int>(page), frame, site,
                            std::forward<Arguments>(arguments)...);
    }

    // The page's messages; a page that takes more than its set-up, commands
    // and the colours of its controls passes the rest on to this one.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Sets up the controls once the window exists.
    virtual void OnInitDialog();
    // A control's notification.
    virtual void OnCommand(int id, int code) = 0;
    // The change handler of the controls that only mark the dialog changed.
    void OnModifyParameter() { site_.modified = true; }

    HWND Item(int id) const { return ::GetDlgItem(Window(), id); }
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    HINSTANCE Instance() const { return site_.instance; }
    // Pixels of the design at 100 %, at the scale of the page's monitor.
    int ScaledPixels(int designPixels) const;
    HBRUSH Background() const { return site_.background.get(); }

private:
    friend DialogBase;
    INT_PTR OnCtlColor(HDC dc, HWND control) const;

    PageSite& site_;
};

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
void MoveChild(HWND child, int x, int y, int width, int height);

}  // namespace kz
