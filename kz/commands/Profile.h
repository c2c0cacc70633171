// The executor's per-window records: what the host believes a window's state
// is (current) and what it was before the first change of each kind (saved).
// Plain data and bookkeeping only, so that it can be tested without windows.
#pragma once

#include "common/Handles.h"
#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Layering.h"
#include "kz/commands/WindowIdentity.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kz {

struct WndState {
    bool InTray = false;
    bool InCommonTray = false;
    bool Visible = true;
    bool OnTop = false;
    bool Rolled = false;
    bool InBox = false;
};

// Bits of TWndParams::Changes.
enum ChangeBit : uint16_t {
    kChangedTransparency = 1u << 0,
    kValidRecord = 1u << 5,
    kChangedTray = 1u << 6,
    kChangedCommonTray = 1u << 7,
    kChangedVisibility = 1u << 8,
    kChangedOnTop = 1u << 9,
    kChangedRoll = 1u << 10,
    kChangedBox = 1u << 11,
};
constexpr uint16_t kAllChangeBits = kChangedTransparency | kChangedTray | kChangedCommonTray | kChangedVisibility |
                                    kChangedOnTop | kChangedRoll | kChangedBox;

// The kinds of state a command changes; each has its own change bit.
enum class StateKind { Transparency, Tray, CommonTray, Visibility, OnTop, Roll, Box };
uint16_t ChangeBitOf(StateKind kind);

struct TWndParams {
    std::wstring ModulePath;
    std::wstring ClassName;
    std::wstring Caption;
    int32_t Transparency = 100;
    HICON SmallIcon = nullptr;  // borrowed
    HWND Wnd = nullptr;
    WndState State;
    int32_t RolledHeight = 0;
    uint16_t Changes = kValidRecord;
    uint16_t SmallIconSize = 16;
    uint16_t LargeIconSize = 32;
    HICON LargeIcon = nullptr;  // borrowed, unless ExtractedIcon owns it
    // Owns LargeIcon when it was taken from the program's file rather than
    // borrowed from the window; shared by the copies of the record.
    std::shared_ptr<const UniqueIcon> ExtractedIcon;
    // With Wnd and ClassName, what names the window over time.
    uint32_t ProcessId = 0;
    // In a saved record with the transparency change: the layering the
    // window had before it, given back exactly.
    Layering SavedLayering;
    // In a saved record with the visibility change: the owner the host hid
    // with the window; none when the owner was hidden already, by its program.
    WindowIdentity HiddenOwner;

    bool IsUnchanged() const;
    WindowIdentity Identity() const;
};

// An ordered list of owned records.
class TWndParamsAr {
public:
    TWndParamsAr();
    int Count() const { return static_cast<int>(items_.size()); }
    TWndParams& operator[](int index) { return *items_[index]; }
    const TWndParams& operator[](int index) const { return *items_[index]; }
    TWndParams* Find(HWND w) const;
    int IndexOf(HWND w) const;  // -1 when absent
    TWndParams& Append(std::unique_ptr<TWndParams> record);
    void Remove(HWND w);

private:
    std::vector<std::unique_ptr<TWndParams>> items_;
};

// The two lists and the bookkeeping every command shares.
class TWndProfile {
public:
    const TWndParamsAr& Current() const { return current_; }
    const TWndParamsAr& Saved() const { return saved_; }

protected:
    TWndParamsAr current_;
    TWndParamsAr saved_;
};

// Copies the value of one kind of state from one record into another; for
// the roll both Rolled and RolledHeight.
void CopyState(const TWndParams& from, TWndParams& to, StateKind kind);

struct SavedState {
    TWndParams* record;  // the saved record of the window, never null
    bool created;        // the record was made by this call
    bool changeSet;      // the change bit was set by this call
};

// The step every changing command runs before it changes the current record:
// keeps the value the state has now, unless an earlier value is kept already.
// A new saved record is a copy of current with no change bits.
SavedState SaveState(TWndParamsAr& saved, const TWndParams& current, StateKind kind);

// The "off" direction of a command: clears the change bit of kind in the
// saved record of w and its state (a transparency goes back to 100), and
// removes the record when no change is left. False when w had no such change.
bool ClearChange(TWndParamsAr& saved, HWND w, StateKind kind);

// Takes back what SaveState did for a change that did not happen: the change
// bit it set and the record it made.
void UndoSaveState(TWndParamsAr& saved, HWND w, StateKind kind, const SavedState& done);

// What undoes the changes of a saved record after a crash of the host: its
// journal entry (no changes when none of them outlives the host).
JournalEntry JournalEntryOf(const TWndParams& saved);

// Removes the saved record of w when it holds no change.
void RemoveIfUnchanged(TWndParamsAr& saved, HWND w);

// What undoing every change of a saved record takes, in the order in which
// it is done: the kind and the value it goes back to (a percentage for the
// transparency, 0 or 1 for the others).
struct RestoreStep {
    StateKind kind;
    int value;
    bool operator==(const RestoreStep& other) const { return kind == other.kind && value == other.value; }
};
std::vector<RestoreStep> RestorePlan(const TWndParams& saved);

}  // namespace kz
