// A box's context menu: show or close the window, and a grid of pictures
// to choose the arrangement of all boxes, the one in force marked.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

enum BoxMenuCommand : UINT {
    kShowWindowCommand = 1,
    kCloseWindowCommand = 2,
    // Arrangement code c has the command kArrangementCommandBase + c.
    kArrangementCommandBase = 100,
};

// The arrangement a command chooses; 0 when it chooses none.
int ArrangementOfCommand(UINT command);
UINT CommandOfArrangement(int code);

// One picture of the arrangement grid.
struct ArrangementMenuItem {
    int code;
    const wchar_t* hint;  // what the picture shows, for readers of the menu
    UINT columnBreak;     // MFT_MENUBREAK or MFT_MENUBARBREAK when the item starts a column
};

// In menu order: four columns of two pictures, top side, top side from the
// right, left side, right side.
constexpr ArrangementMenuItem kArrangementMenuItems[] = {
    {1, L"Top side from left to right", 0},
    {5, L"Bottom side from left to right", 0},
    {2, L"Top side from right to left", MFT_MENUBREAK},
    {6, L"Bottom side from right to left", 0},
    {3, L"Left side from top to bottom", MFT_MENUBARBREAK},
    {4, L"Left side from bottom to top", 0},
    {7, L"Right side from top to bottom", MFT_MENUBREAK},
    {8, L"Right side from bottom to top", 0},
};

// The popup menu of a box: "&Show window" (default), "&Close window", a
// separator and "Arrange boxes" with the pictures, arrangementInForce marked.
UniqueMenu BuildBoxMenu(int arrangementInForce);

// The arrangement submenu of a menu BuildBoxMenu made.
HMENU ArrangementSubmenu(HMENU boxMenu);

// The owner-drawn pictures: their size, and drawing one into its item, at
// the scale of the monitor the menu opens on.
void MeasureArrangementItem(MEASUREITEMSTRUCT& item, UINT dpi);
void DrawArrangementItem(const DRAWITEMSTRUCT& item, UINT dpi);

}  // namespace kz
