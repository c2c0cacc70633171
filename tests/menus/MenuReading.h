// Test support: what a real menu holds, read back through the API.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kz::test {

struct MenuItemView {
    std::wstring text;
    UINT id = 0;
    HMENU submenu = nullptr;
    bool checked = false;
    bool separator = false;
};

std::vector<MenuItemView> ReadMenu(HMENU menu);
// The identifier of the first item with this text, depth first; 0 when none.
UINT FindIdByText(HMENU menu, const std::wstring& text);
// The identifiers of a menu's items in order.
std::vector<UINT> MenuIds(HMENU menu);

}  // namespace kz::test
