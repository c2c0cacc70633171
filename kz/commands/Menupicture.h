// Pictures of menu items. The menu asks its owner window to measure and draw
// them (HBMMENU_CALLBACK), so an icon keeps its transparency on the normal
// and on the highlighted background alike: a menu bitmap is copied as it is,
// and some systems even invert it on the highlight.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

struct MenuPicture {
    UniqueIcon icon;
    int size = 16;
};

// A picture of icon, iconSize pixels square, for a place of size pixels: the
// image of that size from the icon's resource where the icon is smaller and
// the resource has one, else a copy of the icon at its own size, never
// stretched. An empty picture without an icon.
MenuPicture MenuPictureOfIcon(HICON icon, int iconSize, int size);

// Gives item the picture; nothing for an empty picture. The picture must
// live as long as the menu item.
void SetItemPicture(MENUITEMINFOW& item, const MenuPicture& picture);

// The owner window's part, for WM_MEASUREITEM and WM_DRAWITEM: false when
// the message is not about a menu item's picture.
bool MeasureMenuPicture(MEASUREITEMSTRUCT& measure);
bool DrawMenuPicture(const DRAWITEMSTRUCT& draw);

}  // namespace kz
