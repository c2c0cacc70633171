// The "Window menu" page: the list editor of the entries added to every
// window's system menu.
#pragma once

#include "kz/settings/ListEditorView.h"
#include "kz/settings/OptionsPage.h"

namespace kz {

class WinMenuPage final : public OptionsPage {
public:
    // Null when the page cannot be made.
    static WindowPtr<WinMenuPage> Create(PageSite& site, HWND frame);

    void Load(const SettingsRecord& settings) override;
    void Store(SettingsRecord& settings) const override;

private:
    friend DialogBase;
    explicit WinMenuPage(PageSite& site);
    void OnInitDialog() override;
    void FitToScale() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code) override;
    void btnAddMenuItemClick();
    void btnRemoveMenuItemClick();
    void btnAddAllMenuItemsClick();
    void btnRemoveAllMenuItemsClick();
    void MenuItemsDstListMoveItem(int oldRow, int newRow);
    // After an edit: true when the menu entries changed.
    void AfterEdit(bool changed);

    ListEditorView menuItems_;
};

}  // namespace kz
