// Test support: what a real menu holds, read back through the API.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kz::test {

struct MenuItemView {
    std::wstring text;  // without the mnemonic markers
    UINT id = 0;
    HMENU submenu = nullptr;
    bool checked = false;
    bool enabled = false;
    bool separator = false;
};

// The item at a position; an empty view when there is none.
MenuItemView ReadItem(HMENU menu, int position);
std::vector<MenuItemView> ReadMenu(HMENU menu);
// The identifier of the first item with this text, depth first; 0 when none.
UINT FindIdByText(HMENU menu, const std::wstring& text);
// The identifiers of a menu's items in order.
std::vector<UINT> MenuIds(HMENU menu);

}  // namespace kz::test
