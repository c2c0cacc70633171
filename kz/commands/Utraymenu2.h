// The tray-menu module: the host icon's menu popupMainTray with the lists of
// trayed and changed windows, the common tray icon with its animation, and
// that icon's menu popupTrayMenu.
#pragma once

#include "common/Handles.h"
#include "kz/commands/Menupicture.h"
#include "kz/commands/Impprofile.h"
#include "kz/commands/Profile.h"

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kz {

// What the tray-menu module needs of the host main window.
class TrayMenuHost {
public:
    virtual ~TrayMenuHost() = default;
    // Owner of the tray icons and of the menus.
    virtual HWND Window() const = 0;
    virtual void ShowAbout() = 0;
    virtual void OpenOptions() = 0;
    virtual void ShowHelp() = 0;
    // Lets the main window close and closes it, which ends the program.
    virtual void RequestExit() = 0;
};

// A menu item that stands for a window: it names the window by its
// identity, not by a place in a list. While a menu is open the host still
// handles messages sent to it, and a window that goes meanwhile moves the
// others up its lists.
struct WindowMenuItem {
    WindowIdentity Window;
    std::wstring Caption;
};

// The run-time parts of popupMainTray, built from the executor's records.
struct MainTrayMenuLists {
    std::vector<WindowMenuItem> common;   // inserted before TrayMenuSeparator
    std::vector<WindowMenuItem> trayed;   // under "Show &trayed windows"
    std::vector<WindowMenuItem> changed;  // under "Restore &changed windows"
    bool trayMenuSeparatorVisible = false;
    bool trayedSeparatorVisible = false;
    bool showAllEnabled = false;
    bool changedSeparatorVisible = false;
    bool restoreAllEnabled = false;
};

// The windows in the common tray go into the main menu only when
// commonInMainMenu is set; the changed windows come from saved.
MainTrayMenuLists BuildMainTrayMenuLists(const TWndParamsAr& current, const TWndParamsAr& saved,
                                         bool commonInMainMenu);
// The items of popupTrayMenu: every window in the common tray.
std::vector<WindowMenuItem> BuildCommonTrayItems(const TWndParamsAr& current);

// The common icon's animation: the frame for a tick counter below
// kAnimationCycle. The icon rests on frame 0 for 40 ticks, then runs through
// the frames to 5 and back.
constexpr int kAnimationCycle = 132;
int AnimationFrameOf(int counter);
constexpr UINT kAnimationTickMs = 50;

class TdmTrayMenu final : public CommonTrayIcon {
public:
    // commonInMainMenu: the setting TrayMenuSeparate is clear. The menus list
    // the windows of executor and act on them through it.
    TdmTrayMenu(TrayMenuHost& host, bool commonInMainMenu, TImpProfile& executor);
    ~TdmTrayMenu() override;
    TdmTrayMenu(const TdmTrayMenu&) = delete;
    TdmTrayMenu& operator=(const TdmTrayMenu&) = delete;

    void ShowCommonTrayIcon() override;
    void HideCommonTrayIcon() override;
    // Adds the common icon again after the shell restarted, if it is shown.
    void AddCommonIconAgain();
    bool CommonIconShown() const { return commonIcon_.has_value(); }
    int AnimationFrame() const { return AnimFrame; }

    // Shows the menu at a screen point and carries out the chosen item.
    void ShowMainTrayMenu(POINT at);
    void ShowCommonTrayMenu(POINT at);

    // The menus as the last popup built them.
    HMENU popupMainTray() const { return popupMainTray_.get(); }
    HMENU popupTrayMenu() const { return popupTrayMenu_.get(); }
    // Carries out the item with this command identifier of either menu.
    void MenuCommand(UINT id);

    // Each builds its menu with the pictures at a scale: that of the monitor
    // where the menu opens.
    void popupMainTrayPopup(UINT dpi);
    void popupTrayMenuPopup(UINT dpi);
    void TMTimerTimer();
    void ShowAll1Click();
    void RestoreAll1Click();
    void Help1Click();
    void About1Click();
    void Options1Click();
    void Exit1Click();
    // Each does nothing when the item's window is no longer the one recorded.
    void CommonTrayItemClick(const WindowIdentity& window);
    void TrayedItemClick(const WindowIdentity& window);
    void ChangedItemClick(const WindowIdentity& window);

private:
    // A run-time item: its window and the picture of the window's icon,
    // which stays where it is while the menu uses it.
    struct RuntimeItem {
        WindowIdentity window;
        std::unique_ptr<MenuPicture> picture;
    };
    enum ItemList : int { kCommonInMain, kTrayed, kChanged, kCommonInTrayMenu, kItemListCount };

    static void CALLBACK TMTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    // Appends a window's item, with a picture for a place of pictureSize
    // pixels, to menu and keeps it in its list.
    void AppendWindowItem(HMENU menu, ItemList list, const WindowMenuItem& item, UINT position, int pictureSize);
    void BuildTrayedSubmenu(HMENU submenu, const MainTrayMenuLists& lists, int pictureSize);
    void BuildChangedSubmenu(HMENU submenu, const MainTrayMenuLists& lists, int pictureSize);
    void SetCommonIconFrame(int frame);
    // Loads ilTray's images of the size for a scale, unless they have it.
    void LoadTrayPictures(UINT dpi);

    TrayMenuHost& host_;
    TImpProfile& executor_;
    const bool CommonInMainMenu;
    std::array<UniqueIcon, 6> frames_;
    std::array<MenuPicture, 6> ilTray;
    UINT ilTrayDpi_ = 0;
    UniqueMenu popupMainTray_;
    UniqueMenu popupTrayMenu_;
    std::array<std::vector<RuntimeItem>, kItemListCount> items_;
    std::optional<NOTIFYICONDATAW> commonIcon_;
    int AnimCounter = 0;
    int AnimFrame = 0;
};

}  // namespace kz
