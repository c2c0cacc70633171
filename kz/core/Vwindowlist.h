// The host window list: the top-level windows of other programs that can
// carry caption buttons, in the system's z-order.
#pragma once

#include <windows.h>

#include <vector>

namespace kz {

// What the filter looks at for one top-level window.
struct TopLevelWindowFacts {
    HWND window = nullptr;
    HWND owner = nullptr;
    bool visible = false;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
};

// The host's main window and its owner (none so far): the host's other
// windows, the options dialog and the boxes, are owned by one of them.
struct HostWindows {
    HWND mainWindow = nullptr;
    HWND mainOwner = nullptr;
};

// Whether a window belongs in the list: visible, not one of the host's own,
// captioned (either bit of WS_CAPTION) with a system menu, no tool window.
bool BelongsInWindowList(const TopLevelWindowFacts& facts, const HostWindows& host);

// Empties list and fills it with every top-level window that belongs in it.
void CollectTopLevelWindows(std::vector<HWND>& list, HWND mainWindow);

// The windows of the list that this program's hook library can reach: those
// of programs of its own bitness. The others are the business of the other
// bitness's hook (a 64-bit host's companion, or the companion's host), and
// asking them to repaint for nothing costs every start. A program that
// cannot be asked its bitness is kept.
void CollectWindowsOfOwnBitness(std::vector<HWND>& list, HWND mainWindow);

}  // namespace kz
