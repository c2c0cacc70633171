// The one menu model behind the transparency menu, the overflow menu and the
// entries the library adds to every window's system menu.
#pragma once

#include "HostMessages.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class HookedWindow;

class PopupMenu {
public:
    // TODO(menus): fields and the full interface: entries (submenu, MENUITEMINFOW,
    // CommandRecord), identifier base, owned or borrowed handle, handle creation,
    // depth-first lookup by identifier.
    virtual ~PopupMenu();
};

// The window's current opacity in percent: 100 when it is not layered or the
// layered-window functions are missing.
int CurrentOpacityPercent(HWND window);

// The eleven transparency entries ("100 %" ... "10 %", "5 %"), identifier base 8400.
std::unique_ptr<PopupMenu> BuildTransparencyMenu(HookedWindow& record);

// One entry per kind in order (0 a separator, 8 with the transparency menu as
// submenu), identifier base 0: the overflow menu.
std::unique_ptr<PopupMenu> BuildKindMenu(HookedWindow& record, const std::vector<int>& kinds);

// Shows the menu below a button (rect in window coordinates) and sends the
// chosen entry's command to the host.
void TrackMenuAtButton(HookedWindow& record, PopupMenu& menu, const RECT& buttonInWindow);

}  // namespace kz
