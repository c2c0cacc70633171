#include "tests/support/MenuReading.h"

namespace kz::test {

MenuItemView ReadItem(HMENU menu, int position) {
    wchar_t text[128] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    MenuItemView view;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        return view;
    for (const wchar_t* c = text; *c; ++c)
        if (*c != L'&')
            view.text += *c;
    view.id = info.wID;
    view.submenu = info.hSubMenu;
    view.checked = (info.fState & MFS_CHECKED) != 0;
    view.enabled = (info.fState & MFS_DISABLED) == 0;
    view.separator = (info.fType & MFT_SEPARATOR) != 0;
    return view;
}

std::vector<MenuItemView> ReadMenu(HMENU menu) {
    std::vector<MenuItemView> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        items.push_back(ReadItem(menu, i));
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
