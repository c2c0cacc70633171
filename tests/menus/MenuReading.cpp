#include "tests/menus/MenuReading.h"

namespace kz::test {

std::vector<MenuItemView> ReadMenu(HMENU menu) {
    std::vector<MenuItemView> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        MenuItemView view;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            view.text = text;
            view.id = info.wID;
            view.submenu = info.hSubMenu;
            view.checked = (info.fState & MFS_CHECKED) != 0;
            view.separator = (info.fType & MFT_SEPARATOR) != 0;
        }
        items.push_back(view);
    }
    return items;
}

UINT FindIdByText(HMENU menu, const std::wstring& text) {
    for (const MenuItemView& item : ReadMenu(menu)) {
        if (item.text == text)
            return item.id;
        if (item.submenu)
            if (UINT id = FindIdByText(item.submenu, text))
                return id;
    }
    return 0;
}

std::vector<UINT> MenuIds(HMENU menu) {
    std::vector<UINT> ids;
    for (const MenuItemView& item : ReadMenu(menu))
        ids.push_back(item.id);
    return ids;
}

}  // namespace kz::test
