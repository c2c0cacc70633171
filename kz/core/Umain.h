// The host's main window: the address every command is sent to, owner of the
// host's tray icons, splash screen and About box, and owner of the menus of a
// window's own tray icon and of the transparency presets.
#pragma once

#include "common/Handles.h"
#include "common/WindowBase.h"
#include "kz/capbuttons/Btnmanager.h"
#include "common/Dpi.h"
#include "kz/commands/Utraymenu2.h"
#include "kz/commands/WindowIdentity.h"
#include "common/Settingsformat.h"
#include "common/Version.h"
#include "kz/core/Companion.h"
#include "kz/core/HookLibrary.h"
#include "kz/core/Hotkeys.h"
#include "kz/core/Maintrayicon.h"

#include <windows.h>

#include <memory>
#include <random>
#include <string>

namespace kz {

class TfrmOptions;

class TTQuorvane_Invisible_Buttons final : public TrayMenuHost, public WindowBase<TTQuorvane_Invisible_Buttons> {
public:
    // Creates the window from the settings: opens the message filter for the
    // commands, adds the main tray icon, starts the balloon tips and shows
    // the splash. executor carries out the commands the window receives.
    // Nothing when the window cannot be made.
    static WindowPtr<TTQuorvane_Invisible_Buttons> Create(TImpProfile& executor, HINSTANCE instance,
                                                          const SettingsRecord& settings);
    // The module whose menus the tray icons open.
    void SetTrayMenu(TdmTrayMenu* trayMenu) { trayMenu_ = trayMenu; }
    // The options dialog that the tray icon and the tray menu open.
    void SetOptionsDialog(TfrmOptions* options) { options_ = options; }
    // In a 64-bit host, starts the 32-bit companion where there is one; it
    // installs its hook once the host's message loop runs.
    void StartCompanion();
    // Installs the hook. Throws StartupError when the library cannot be
    // loaded; false, after telling the user, when the start cannot go on.
    bool InstallHook();
    // Starts or stops the balloon tips; nothing where the shell has none.
    void SetTipsEnabled(bool enabled);
    // New settings: the hotkeys are registered again and the host-drawn
    // buttons follow the new row. Returns the combinations that could not be
    // registered.
    std::vector<RefusedHotKey> ApplyButtonSettings(const SettingsRecord& settings);

    HWND Window() const override { return WindowBase::Window(); }
    void ShowAbout() override;
    // Fills the options dialog from the registry and shows it.
    void OpenOptions() override;
    void ShowHelp() override;
    void RequestExit() override;

    HWND TransparencyTarget() const { return transparencyTarget; }
    HMENU popupWndTray() const { return popupWndTray_.get(); }
    HMENU popupTransparency() const { return popupTransparency_.get(); }

    // Handlers of the two menus' items and of the presets menu's popup.
    void Show1Click();
    void Close1Click();
    void popupTransparencyPopup();
    void N1001Click(int tag);

private:
    friend WindowBase;
    TTQuorvane_Invisible_Buttons(TImpProfile& executor, UniqueWindow applicationWindow, UniqueBitmap picture);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What follows the window: the message filter, buttons, hotkeys, tray icon, tips and splash.
    void Start(const SettingsRecord& settings);

    LRESULT OnTimer(UINT_PTR timer);
    LRESULT OnTrayNotify(UINT iconId, UINT mouseMessage);
    LRESULT OnPresetMenu(HWND target, LPARAM screenPoint);
    LRESULT OnSendToBack(HWND target);
    LRESULT OnTransparencyFailed();
    LRESULT OnElevatedWindow();
    LRESULT OnWindowCommand(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMessage(UINT message, HWND target, int index);
    LRESULT OnHotKey(WPARAM id);
    LRESULT OnStyleChanged(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint();
    LRESULT OnClick(POINT point);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam);
    LRESULT OnActivateApp(bool active);
    LRESULT OnClose();
    LRESULT OnDestroy();
    LRESULT OnTaskbarCreated();
    LRESULT OnCompanionReport(WPARAM report);
    LRESULT OnCompanionEnded();
    void CompanionTimer();
    LRESULT OnDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT OnMeasureItem(MEASUREITEMSTRUCT& measure);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT& draw);

    void Timer1Timer();
    void Timer2Timer();
    void Image1Click();
    void siteLinkClick();
    void OnWindowTrayIconClick(HWND w, UINT mouseMessage);
    void Hide();
    // The picture, its labels and their fonts at a scale.
    void FitToScale(UINT dpi);
    void CentreOnMonitor();
    // The picture's size at the window's scale.
    SIZE PictureSize() const;

    TImpProfile& executor_;
    // The hidden owner of the host's windows: an owned window gets no
    // taskbar button, whatever the shell.
    UniqueWindow applicationWindow_;
    HookLibrary hookLibrary;
    // The 32-bit companion; none in a 32-bit host or where it cannot run.
    std::unique_ptr<CompanionProcess> companion_;
    // The host-drawn buttons a hotkey presses, and the hotkeys themselves;
    // both made once the window exists, and gone with it.
    std::unique_ptr<TBtnManager> buttonManager;
    std::unique_ptr<TghkLoader> hotKeys_;
    MainTrayIcon mainTrayIcon;
    TdmTrayMenu* trayMenu_ = nullptr;
    TfrmOptions* options_ = nullptr;
    UniqueMenu popupWndTray_;
    UniqueMenu popupTransparency_;
    UniqueBitmap Image1;
    // The picture drawn at 200 %, for every scale above 100 %; loaded when first needed.
    UniqueBitmap largePicture_;
    UINT dpi_ = kDesignDpi;
    UniqueFont versionFont_;
    UniqueFont siteLinkFont_;
    std::wstring lbVersion = KZ_VERSION_TEXT_WIDE;
    bool exitRequested = false;
    bool balloonsSupported = false;
    bool tipsActive = false;
    UINT timer2Interval_ = 0;
    HWND transparencyTarget = nullptr;
    // The window whose own tray icon was clicked last, by its identity: its
    // menu acts on it only while it is still that window.
    WindowIdentity TrayWnd;
    std::mt19937 random_;
    UINT taskbarCreatedMessage_ = 0;
    UINT exitRequestMessage_ = 0;
    UINT companionReportMessage_ = 0;
    UINT companionEndedMessage_ = 0;
};

}  // namespace kz
