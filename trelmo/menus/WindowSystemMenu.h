// The handler that puts the configured commands at the top of a window's
// system menu and turns their system commands into host commands.
#pragma once

#include "trelmo/menus/PopupMenu.h"
#include "trelmo/hook/WindowHandler.h"

#include <windows.h>

#include <memory>

namespace kz {

class HookedWindow;

// Entry i of the system menu has identifier 8300 + i * 256. The system keeps
// the low four bits of WM_SYSCOMMAND for itself, so they never take part in
// a comparison.
constexpr UINT kSystemMenuFirstIdentifier = 8300;
constexpr UINT kSystemCommandOwnBits = 0xF;

class WindowSystemMenu : public WindowHandler {
public:
    explicit WindowSystemMenu(HookedWindow& record);
    // Takes the entries out of the system menu again; whatever else the
    // window keeps there stays.
    ~WindowSystemMenu() override;
    WindowSystemMenu(const WindowSystemMenu&) = delete;
    WindowSystemMenu& operator=(const WindowSystemMenu&) = delete;

    // Sends the command of a chosen entry; never swallows the system command.
    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT, WPARAM, LPARAM) override { return 0; }

private:
    HookedWindow& record_;
    std::unique_ptr<PopupMenu> entries_;
};

}  // namespace kz
