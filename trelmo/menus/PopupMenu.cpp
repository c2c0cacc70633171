#include "trelmo/menus/PopupMenu.h"

#include "trelmo/menus/ButtonTexts.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"
#include "trelmo/hook/SystemApi.h"

#include <algorithm>

namespace kz {

namespace {

struct TransparencyLevel {
    int percent;
    const wchar_t* text;
};

constexpr TransparencyLevel kTransparencyLevels[] = {
    {100, L"100 %"}, {90, L"90 %"}, {80, L"80 %"}, {70, L"70 %"}, {60, L"60 %"}, {50, L"50 %"},
    {40, L"40 %"},   {30, L"30 %"}, {20, L"20 %"}, {10, L"10 %"}, {5, L"5 %"},
};

MENUITEMINFOW EmptyItemInfo() {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    return info;
}

bool Matches(const MENUITEMINFOW& info, UINT identifier, UINT ignoredBits) {
    return (info.fMask & MIIM_ID) != 0 && (info.wID | ignoredBits) == (identifier | ignoredBits);
}

}  // namespace

PopupMenu::PopupMenu(HookedWindow& record, UINT identifierBase)
    : record_(record), identifierBase_(identifierBase) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::AddKindEntry(int kind) {
    MenuEntry entry;
    entry.info = EmptyItemInfo();
    if (kind == kSeparator) {
        entry.info.fMask = MIIM_FTYPE;
        entry.info.fType = MFT_SEPARATOR;
        entries_.Append(std::move(entry));
        return;
    }
    entry.info.fMask = MIIM_FTYPE | MIIM_STRING;
    entry.info.fType = MFT_STRING;
    entry.info.dwTypeData = const_cast<wchar_t*>(ButtonKindText(kind));
    entry.command = CommandForKind(kind, record_.Window());
    if (kind == kTransparencyMenu) {
        entry.submenu = BuildTransparencyMenu(record_);
        entry.info.fMask |= MIIM_SUBMENU;
    }
    entries_.Append(std::move(entry));
}

void PopupMenu::AddTextEntry(const wchar_t* text, const CommandRecord& command, bool checked) {
    MenuEntry entry;
    entry.info = EmptyItemInfo();
    entry.info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    entry.info.fType = MFT_STRING;
    entry.info.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
    entry.info.dwTypeData = const_cast<wchar_t*>(text);
    entry.command = command;
    entries_.Append(std::move(entry));
}

void PopupMenu::SetIdentifier(std::size_t index, UINT identifier) {
    entries_[index].info.fMask |= MIIM_ID;
    entries_[index].info.wID = identifier;
}

bool PopupMenu::CreateHandle() {
    owned_.reset(::CreatePopupMenu());
    borrowed_ = nullptr;
    if (!owned_)
        return false;
    InsertEntries(owned_.get());
    return true;
}

void PopupMenu::InsertInto(HMENU borrowed) {
    owned_.reset();
    borrowed_ = borrowed;
    if (borrowed_)
        InsertEntries(borrowed_);
}

void PopupMenu::InsertEntries(HMENU handle) {
    UINT position = 0;
    for (std::size_t i = 0; i < entries_.Count(); ++i) {
        MenuEntry& entry = entries_[i];
        if ((entry.info.fMask & MIIM_ID) == 0)
            SetIdentifier(i, identifierBase_ + static_cast<UINT>(i) * kIdentifierStep + kIdentifierStep);
        if (entry.submenu) {
            entry.submenu->CreateHandle();
            entry.info.hSubMenu = entry.submenu->Handle();
        }
        if (!::InsertMenuItemW(handle, position, TRUE, &entry.info))
            continue;
        ++position;
        // Destroying a menu destroys the submenus that hang in it, so from here
        // on the submenu's handle goes with the parent's, never on its own.
        if (entry.submenu)
            entry.submenu->owned_.release();
    }
}

void PopupMenu::WithdrawEntries() {
    if (!borrowed_)
        return;
    // From the bottom up, so that deleting an item does not move the ones still to be read.
    for (int position = ::GetMenuItemCount(borrowed_) - 1; position >= 0; --position) {
        MENUITEMINFOW item = EmptyItemInfo();
        item.fMask = MIIM_ID;
        if (!::GetMenuItemInfoW(borrowed_, static_cast<UINT>(position), TRUE, &item))
            continue;
        const bool ours = std::any_of(entries_.begin(), entries_.end(), [&](const MenuEntry& entry) {
            return Matches(entry.info, item.wID, 0);
        });
        if (ours)
            ::DeleteMenu(borrowed_, static_cast<UINT>(position), MF_BYPOSITION);
    }
    borrowed_ = nullptr;
}

const MenuEntry* PopupMenu::FindEntry(UINT identifier, UINT ignoredBits) const {
    for (const MenuEntry& entry : entries_) {
        if (Matches(entry.info, identifier, ignoredBits))
            return &entry;
        if (entry.submenu)
            if (const MenuEntry* found = entry.submenu->FindEntry(identifier, ignoredBits))
                return found;
    }
    return nullptr;
}

void PopupMenu::SendCommandOf(UINT identifier, UINT ignoredBits) const {
    if (identifier == 0)
        return;
    if (const MenuEntry* entry = FindEntry(identifier, ignoredBits))
        SendWindowCommand(record_, entry->command);
}

bool KindHasMenuEntry(int kind) { return kind >= kSeparator && kind <= kRunCopy; }

int OpacityPercent(BYTE alpha, DWORD layeredFlags) {
    return (layeredFlags & LWA_ALPHA) != 0 ? alpha * 100 / 255 : 100;
}

int CheckedTransparencyPercent(int opacityPercent) {
    const int tens = (opacityPercent + 1) / 10;
    return tens <= 0 ? 5 : std::min(tens * 10, 100);
}

int CurrentOpacityPercent(HWND window) {
    const SystemApi& api = Api();
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!api.GetLayeredWindowAttributes || !api.GetLayeredWindowAttributes(window, &key, &alpha, &flags))
        return 100;
    return OpacityPercent(alpha, flags);
}

std::unique_ptr<PopupMenu> BuildTransparencyMenu(HookedWindow& record) {
    auto menu = std::make_unique<PopupMenu>(record, kTransparencyIdentifierBase);
    const int checked = CheckedTransparencyPercent(CurrentOpacityPercent(record.Window()));
    for (const TransparencyLevel& level : kTransparencyLevels)
        menu->AddTextEntry(level.text, TransparencyCommand(record.Window(), level.percent),
                           level.percent == checked);
    return menu;
}

std::unique_ptr<PopupMenu> BuildKindMenu(HookedWindow& record, const std::vector<int>& kinds) {
    auto menu = std::make_unique<PopupMenu>(record, kKindMenuIdentifierBase);
    for (int kind : kinds)
        if (KindHasMenuEntry(kind))
            menu->AddKindEntry(kind);
    return menu;
}

void TrackMenuAtButton(HookedWindow& record, PopupMenu& menu, const RECT& buttonInWindow) {
    if (!menu.Handle() && !menu.CreateHandle())
        return;
    const HWND window = record.Window();
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    RECT button = buttonInWindow;
    ::OffsetRect(&button, windowRect.left, windowRect.top);

    // A button that was never laid out has no place to open below.
    POINT at{button.left, button.bottom};
    if (buttonInWindow.left == 0 || buttonInWindow.top == 0)
        ::GetCursorPos(&at);

    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = button;
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenuEx(menu.Handle(), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, window, &params));
    menu.SendCommandOf(chosen);
}

}  // namespace kz
