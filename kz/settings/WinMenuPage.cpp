#include "kz/settings/WinMenuPage.h"

namespace kz {

WindowPtr<WinMenuPage> WinMenuPage::Create(PageSite& site, HWND frame) {
    return MakePage<WinMenuPage>(site, frame, Page::WinMenu);
}

WinMenuPage::WinMenuPage(PageSite& site)
    : OptionsPage(site),
      menuItems_({IDC_MENUITEMSSRCLIST, IDC_MENUITEMSDSTLIST, IDC_MENUITEMS_LIMIT}, kLastMenuItemCode,
                 ListEditorView::ChosenRows::InListOrder, nullptr) {}

void WinMenuPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    menuItems_.SetUp(Window());
}

void WinMenuPage::Load(const SettingsRecord& settings) { menuItems_.Fill(settings.MenuItems, settings.MenuItemCount); }

void WinMenuPage::Store(SettingsRecord& settings) const {
    menuItems_.Store(settings.MenuItems, kMaxMenuItems, settings.MenuItemCount);
}

INT_PTR WinMenuPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = menuItems_.HandleListMessage(
            message, lParam, [this](int from, int to) { MenuItemsDstListMoveItem(from, to); }))
        return Reply(*answer);
    return OptionsPage::HandleMessage(message, wParam, lParam);
}

void WinMenuPage::OnCommand(int id, int code) {
    if (id == IDC_MENUITEMSSRCLIST || id == IDC_MENUITEMSDSTLIST) {
        // A double click on a row acts as "Add >" or "< Remove".
        if (code == LBN_DBLCLK)
            id == IDC_MENUITEMSSRCLIST ? btnAddMenuItemClick() : btnRemoveMenuItemClick();
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_BTNADDMENUITEM: btnAddMenuItemClick(); break;
    case IDC_BTNREMOVEMENUITEM: btnRemoveMenuItemClick(); break;
    case IDC_BTNADDALLMENUITEMS: btnAddAllMenuItemsClick(); break;
    case IDC_BTNREMOVEALLMENUITEMS: btnRemoveAllMenuItemsClick(); break;
    default: break;
    }
}

void WinMenuPage::AfterEdit(bool changed) {
    if (changed)
        OnModifyParameter();
}

void WinMenuPage::btnAddMenuItemClick() { AfterEdit(menuItems_.AddSelected()); }
void WinMenuPage::btnRemoveMenuItemClick() { AfterEdit(menuItems_.RemoveSelected()); }
void WinMenuPage::btnAddAllMenuItemsClick() { AfterEdit(menuItems_.AddAll()); }
void WinMenuPage::btnRemoveAllMenuItemsClick() { AfterEdit(menuItems_.RemoveAll()); }
void WinMenuPage::MenuItemsDstListMoveItem(int oldRow, int newRow) { AfterEdit(menuItems_.SwapRows(oldRow, newRow)); }

}  // namespace kz
