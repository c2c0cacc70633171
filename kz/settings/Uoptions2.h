// The options dialog: the only place where the user changes the settings and
// the blacklist. Created hidden at start-up and shown without being modal; OK
// stores and applies the changes and makes every attached window rebuild its
// caption buttons, Cancel drops them, "Restore to Defaults" puts the defaults
// into the controls, Help opens the page's help topic.
#pragma once

#include "common/Handles.h"
#include "common/WindowBase.h"
#include "kz/core/Hotkeys.h"
#include "kz/settings/Colorselectbtn.h"
#include "kz/settings/OptionsPage.h"
#include "kz/settings/Optionseditors.h"
#include "kz/settings/Optionspages.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kz {

// What the dialog needs of the running host.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    // The host's main window: its windows are left out of the broadcast.
    virtual HWND MainWindow() const = 0;
    virtual void SetTipsEnabled(bool enabled) = 0;
    // Registers the hotkeys again; returns those that could not be.
    virtual std::vector<RefusedHotKey> ApplyButtonSettings(const SettingsRecord& settings) = 0;
    // The size of the boxes made from now on.
    virtual void SetCurrentBoxSize(int size) = 0;
    virtual void ShowHelp() = 0;
    virtual void ShowHelpTopic(const std::wstring& topic) = 0;
    // Tells the user about a failure.
    virtual void ShowMessage(const std::wstring& text) = 0;
};

// How long the broadcast of new settings waits for one window.
constexpr UINT kBroadcastTimeoutMs = 500;

class ButtonsSetPage;
class MinimizeToBoxPage;
class BlacklistPage;

class TfrmOptions final : public DialogBase<TfrmOptions> {
public:
    // Creates the form hidden (FormCreate); its windows are owned by owner.
    // Nothing when the form or one of its pages cannot be made.
    static WindowPtr<TfrmOptions> Create(HINSTANCE instance, HWND owner, OptionsHost& host);

    // Fills the controls from the registry and shows the form.
    void OpenOptions();
    // For the message loop: keyboard navigation inside the form.
    bool IsDialogMessage(MSG& msg) const;

    HWND PageWindow(Page page) const { return pages_[static_cast<size_t>(page)]->Window(); }
    // A control of the frame or of any page; null when there is none.
    HWND Control(int id) const;
    Page VisiblePage() const { return visiblePage_; }
    bool Modified() const { return site_.modified; }
    const ListEditor& ButtonEditor() const;
    TColorSelectBtn& ColorButton();
    HBITMAP PreviewBitmap() const;
    HBITMAP BoxPicture() const;

private:
    friend DialogBase;
    TfrmOptions(HINSTANCE instance, OptionsHost& host);
    // The hover effects of the navigation labels, in a subclass of each label.
    static LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) noexcept;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Building the form: false when a page cannot be made.
    bool FormCreate();
    bool CreatePages();
    WindowPtr<OptionsPage> MakePage(Page page);
    void LayOutFrame();
    void CentreOnWorkArea();
    void MakeFonts();

    // Frame events.
    INT_PTR OnCommand(WORD id, WORD code);
    INT_PTR OnCtlColor(HDC dc, HWND control);
    INT_PTR OnDpiChanged(const RECT& suggested);
    INT_PTR OnPaint();
    INT_PTR OnSetCursor(HWND under);
    void FormActivate();
    void Label1Click(int number);
    void Label1MouseMove(int number);
    void Label1MouseLeave(int number);
    void OK_ButtonClick();
    void Cancel_ButtonClick();
    void Restore_ButtonClick();
    void Help_ButtonClick();

    // Filling and storing.
    struct StoreOutcome {
        bool startupEntryFailed = false;
        bool settingsFailed = false;
        bool blacklistFailed = false;
        std::vector<RefusedHotKey> refused;
    };
    void LoadControls(bool reload);
    StoreOutcome StoreControls();
    void BroadcastSettingsChange() const;
    void ReportStoreFailures(const StoreOutcome& outcome) const;
    void SelectPage(Page page);

    OptionsHost& host_;
    PageSite site_;
    std::array<WindowPtr<OptionsPage>, kPageCount> pages_;
    // The pages the frame asks for more than their part of the settings.
    ButtonsSetPage* buttonsSet_ = nullptr;
    MinimizeToBoxPage* boxPage_ = nullptr;
    BlacklistPage* blacklistPage_ = nullptr;
    DesignScale scale_;
    Page visiblePage_ = Page::ButtonsSet;
    int selectedLabel_ = 0;
    int hoveredLabel_ = 0;

    SettingsRecord settings_;
    bool firstActivation_ = true;
    UniqueBitmap banner_;
    // The banner drawn at 200 %, for every scale above 100 %.
    UniqueBitmap largeBanner_;
    UniqueFont underlineFont_;
};

}  // namespace kz
