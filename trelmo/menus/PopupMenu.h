// The one menu model behind the transparency menu, the overflow menu and the
// entries the library adds to every window's system menu.
#pragma once

#include "common/Handles.h"
#include "trelmo/hook/GrowableArray.h"
#include "trelmo/hook/HostMessages.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class HookedWindow;
class PopupMenu;

// Identifiers of the transparency entries: base + index * 256 + 256, so that
// their low bits never meet those of the system-menu entries (8300 + i * 256).
constexpr UINT kTransparencyIdentifierBase = 8400;
constexpr UINT kKindMenuIdentifierBase = 0;
constexpr UINT kIdentifierStep = 256;

struct MenuEntry {
    std::unique_ptr<PopupMenu> submenu;
    MENUITEMINFOW info{};  // the text points at storage that outlives the menu
    CommandRecord command;
};

class PopupMenu {
public:
    PopupMenu(HookedWindow& record, UINT identifierBase);
    virtual ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // A separator for kind 0; else the kind's text and command, and for kind 8
    // the transparency menu as a submenu.
    void AddKindEntry(int kind);
    void AddTextEntry(const wchar_t* text, const CommandRecord& command, bool checked);
    // A fixed identifier instead of the one the base would give.
    void SetIdentifier(std::size_t index, UINT identifier);

    // Creates a handle of this object's own holding every entry; false when
    // the system gave none.
    bool CreateHandle();
    // Puts the entries at the top of a menu someone else owns.
    void InsertInto(HMENU borrowed);
    // Deletes this object's entries (with their submenus) from the borrowed
    // menu and leaves the rest of that menu as it was.
    void WithdrawEntries();

    HMENU Handle() const { return owned_ ? owned_.get() : borrowed_; }
    bool OwnsHandle() const { return static_cast<bool>(owned_); }

    // Depth first through the submenus; identifier bits in ignoredBits do not
    // count. Null when no inserted entry has that identifier.
    const MenuEntry* FindEntry(UINT identifier, UINT ignoredBits = 0) const;
    // The chosen entry's command, when it has one; a choice that maps to no
    // entry sends nothing.
    void SendCommandOf(UINT identifier, UINT ignoredBits = 0) const;

    std::size_t Count() const { return entries_.Count(); }
    const MenuEntry& Entry(std::size_t index) const { return entries_[index]; }

private:
    void InsertEntries(HMENU handle);

    HookedWindow& record_;
    UINT identifierBase_;
    UniqueMenu owned_;
    HMENU borrowed_ = nullptr;
    GrowableArray<MenuEntry> entries_{2};
};

// Whether a kind gets an entry in a menu: a separator or a command kind. The
// overflow kind and unknown kinds would give an empty entry that does nothing.
bool KindHasMenuEntry(int kind);

// Opacity in percent from the layered-window attributes; a window layered
// only for a colour key is fully opaque.
int OpacityPercent(BYTE alpha, DWORD layeredFlags);
// The transparency entry shown checked for an opacity: its tens, or 5 below 10 %.
int CheckedTransparencyPercent(int opacityPercent);

// The window's current opacity in percent: 100 when it is not layered or the
// layered-window functions are missing.
int CurrentOpacityPercent(HWND window);

// The eleven transparency entries ("100 %" ... "10 %", "5 %"), identifier base 8400.
std::unique_ptr<PopupMenu> BuildTransparencyMenu(HookedWindow& record);

// One entry per kind in order (0 a separator, 8 with the transparency menu as
// submenu), identifier base 0: the overflow menu. Kinds without a menu entry
// (see KindHasMenuEntry) are left out.
std::unique_ptr<PopupMenu> BuildKindMenu(HookedWindow& record, const std::vector<int>& kinds);

// Shows the menu below a button (rect in window coordinates) and sends the
// chosen entry's command to the host.
void TrackMenuAtButton(HookedWindow& record, PopupMenu& menu, const RECT& buttonInWindow);

}  // namespace kz
