#include "kz/settings/WinMenuPage.h"

namespace kz {

WindowPtr<WinMenuPage> WinMenuPage::Create(PageSite& site, HWND frame) {
    return MakePage<WinMenuPage>(site, frame, Page::WinMenu);
}

WinMenuPage::WinMenuPage(PageSite& site)
    : OptionsPage(site),
      menuItems_({IDC_MENUITEMSSRCLIST, IDC_MENUITEMSDSTLIST, IDC_BTNADDMENUITEM, IDC_BTNREMOVEMENUITEM,
                  IDC_BTNADDALLMENUITEMS, IDC_BTNREMOVEALLMENUITEMS, IDC_MENUITEMS_LIMIT},
                 kLastMenuItemCode, ListEditorView::ChosenRows::InListOrder, nullptr) {}

void WinMenuPage::OnInitDialog() {
    OptionsPage::OnInitDialog();
    menuItems_.SetUp(Window());
}

void WinMenuPage::FitToScale() {
    OptionsPage::FitToScale();
    menuItems_.FitRowsToScale();
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
    switch (menuItems_.EditOf(id, code)) {
    case ListEditorView::Edit::Add: btnAddMenuItemClick(); break;
    case ListEditorView::Edit::Remove: btnRemoveMenuItemClick(); break;
    case ListEditorView::Edit::AddAll: btnAddAllMenuItemsClick(); break;
    case ListEditorView::Edit::RemoveAll: btnRemoveAllMenuItemsClick(); break;
    case ListEditorView::Edit::None: break;
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
