// The hotkeys of the window commands: a combination stored for a command
// whose button is on the caption button row presses that button on the
// foreground window, as a click on it would.
#pragma once

#include "kz/core/Hotkeylib.h"

#include "common/Settingsformat.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace kz {

// A combination of the settings for one position of the button row.
struct PlannedHotKey {
    int buttonIndex = 0;
    int kind = 0;
    uint16_t stored = 0;
};

// One hotkey per position of the row whose kind is a command with a stored
// combination, in row order.
std::vector<PlannedHotKey> PlanHotKeys(const SettingsRecord& settings);

// Where a pressed hotkey goes: the host main window receives the press and
// the release; mayTouch says whether a foreground window may be acted on.
struct ButtonPressRoute {
    HWND mainWindow = nullptr;
    std::function<bool(HWND)> mayTouch;
};

// Presses the button at a position of the row on the foreground window: posts
// HM_BUTTON_DOWN and HM_BUTTON_UP (wParam the position, lParam the window).
class TButtonPressEvent : public TGlobalHotKey {
public:
    TButtonPressEvent(uint16_t stored, int buttonIndex, const ButtonPressRoute& route)
        : TGlobalHotKey(stored), buttonIndex_(buttonIndex), route_(route) {}
    void Fire() override;

private:
    int buttonIndex_;
    const ButtonPressRoute& route_;
};

// A stored combination that could not be registered: another program holds
// it, or an earlier position of the row has it already.
struct RefusedHotKey {
    int buttonIndex = 0;
    int kind = 0;
    uint16_t stored = 0;
};

// The hotkeys built from the stored settings.
class TghkLoader : public TGlobalHotKeyDispatcher {
public:
    // Registers the stored combinations for mainWindow; its procedure hands
    // every WM_HOTKEY to HandleHotKey.
    TghkLoader(HWND mainWindow, std::function<bool(HWND)> mayTouch);
    TghkLoader(std::unique_ptr<HotKeyRegistry> registry, ButtonPressRoute route);
    ~TghkLoader() override;

    // Gives every combination back and registers them again from the stored
    // settings; returns the combinations that could not be registered.
    std::vector<RefusedHotKey> Reload();
    // The same from a settings record.
    std::vector<RefusedHotKey> Reload(const SettingsRecord& settings);

private:
    ButtonPressRoute route_;
    std::vector<std::unique_ptr<TButtonPressEvent>> hotKeys_;
};

// The settings as stored: the defaults, then the stored record over them.
SettingsRecord StoredSettings();

}  // namespace kz
