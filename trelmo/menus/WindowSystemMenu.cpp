#include "trelmo/menus/WindowSystemMenu.h"

#include "trelmo/hook/HookedWindow.h"

#include <algorithm>

namespace kz {

WindowSystemMenu::WindowSystemMenu(HookedWindow& record)
    : record_(record), entries_(std::make_unique<PopupMenu>(record, kSystemMenuFirstIdentifier)) {
    const LibrarySettings& settings = record.Settings();
    const int count = std::clamp<int>(settings.MenuItemCount, 0, kMaxMenuItems);
    for (int i = 0; i < count; ++i) {
        if (!KindHasMenuEntry(settings.MenuItems[i]))
            continue;
        entries_->AddKindEntry(settings.MenuItems[i]);
        const std::size_t index = entries_->Count() - 1;
        entries_->SetIdentifier(index, kSystemMenuFirstIdentifier + static_cast<UINT>(index) * kIdentifierStep);
    }
    entries_->InsertInto(::GetSystemMenu(record.Window(), FALSE));
}

WindowSystemMenu::~WindowSystemMenu() {
    // Only while the entries still hang in the window's current system menu:
    // a menu the window has reset since was destroyed together with them.
    // GetSystemMenu(window, TRUE) would also throw away what the program
    // itself put into its system menu.
    if (::IsWindow(record_.Window()) && ::GetSystemMenu(record_.Window(), FALSE) == entries_->Handle())
        entries_->WithdrawEntries();
}

LRESULT WindowSystemMenu::OnMessage(UINT message, WPARAM* wParam, LPARAM*) {
    if (message == WM_SYSCOMMAND)
        entries_->SendCommandOf(static_cast<UINT>(*wParam), kSystemCommandOwnBits);
    return 0;
}

}  // namespace kz
