#include "kz/commands/Profile.h"

#include "kz/commands/Opacity.h"

#include <algorithm>

namespace kz {

namespace {

// Every list starts with room for this many windows; it grows without limit.
constexpr std::size_t kInitialRoom = 200;

bool StateValue(const TWndParams& record, StateKind kind) {
    switch (kind) {
    case StateKind::Tray: return record.State.InTray;
    case StateKind::CommonTray: return record.State.InCommonTray;
    case StateKind::Visibility: return record.State.Visible;
    case StateKind::OnTop: return record.State.OnTop;
    case StateKind::Roll: return record.State.Rolled;
    case StateKind::Box: return record.State.InBox;
    case StateKind::Transparency: break;
    }
    return false;
}

void SetStateValue(TWndParams& record, StateKind kind, bool value) {
    switch (kind) {
    case StateKind::Tray: record.State.InTray = value; break;
    case StateKind::CommonTray: record.State.InCommonTray = value; break;
    case StateKind::Visibility: record.State.Visible = value; break;
    case StateKind::OnTop: record.State.OnTop = value; break;
    case StateKind::Roll: record.State.Rolled = value; break;
    case StateKind::Box: record.State.InBox = value; break;
    case StateKind::Transparency: break;
    }
}

}  // namespace

uint16_t ChangeBitOf(StateKind kind) {
    switch (kind) {
    case StateKind::Transparency: return kChangedTransparency;
    case StateKind::Tray: return kChangedTray;
    case StateKind::CommonTray: return kChangedCommonTray;
    case StateKind::Visibility: return kChangedVisibility;
    case StateKind::OnTop: return kChangedOnTop;
    case StateKind::Roll: return kChangedRoll;
    case StateKind::Box: return kChangedBox;
    }
    return 0;
}

bool TWndParams::IsUnchanged() const { return (Changes & kAllChangeBits) == 0; }

WindowIdentity TWndParams::Identity() const { return {StoredHandle(Wnd), ProcessId, ClassName}; }

TWndParamsAr::TWndParamsAr() { items_.reserve(kInitialRoom); }

TWndParams* TWndParamsAr::Find(HWND w) const {
    const int index = IndexOf(w);
    return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)].get();
}

int TWndParamsAr::IndexOf(HWND w) const {
    const auto found = std::find_if(items_.begin(), items_.end(), [w](const auto& record) {
        return record->Wnd == w && (record->Changes & kValidRecord);
    });
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TWndParams& TWndParamsAr::Append(std::unique_ptr<TWndParams> record) {
    items_.push_back(std::move(record));
    return *items_.back();
}

void TWndParamsAr::Remove(HWND w) {
    const int index = IndexOf(w);
    if (index >= 0)
        items_.erase(items_.begin() + index);
}

void CopyState(const TWndParams& from, TWndParams& to, StateKind kind) {
    if (kind == StateKind::Transparency) {
        to.Transparency = from.Transparency;
        return;
    }
    SetStateValue(to, kind, StateValue(from, kind));
    if (kind == StateKind::Roll)
        to.RolledHeight = from.RolledHeight;
}

SavedState SaveState(TWndParamsAr& saved, const TWndParams& current, StateKind kind) {
    const uint16_t bit = ChangeBitOf(kind);
    if (TWndParams* record = saved.Find(current.Wnd)) {
        if (!(record->Changes & bit)) {
            CopyState(current, *record, kind);
            record->Changes |= bit;
            return {record, false, true};
        }
        return {record, false, false};
    }
    auto copy = std::make_unique<TWndParams>(current);
    copy->Changes = static_cast<uint16_t>(kValidRecord | bit);
    return {&saved.Append(std::move(copy)), true, true};
}

bool ClearChange(TWndParamsAr& saved, HWND w, StateKind kind) {
    const uint16_t bit = ChangeBitOf(kind);
    TWndParams* record = saved.Find(w);
    if (!record || !(record->Changes & bit))
        return false;
    record->Changes = static_cast<uint16_t>(record->Changes & ~bit);
    if (kind == StateKind::Transparency)
        record->Transparency = kOpaquePercent;
    else
        SetStateValue(*record, kind, false);
    if (kind == StateKind::Visibility)
        record->HiddenOwner = WindowIdentity{};
    RemoveIfUnchanged(saved, w);
    return true;
}

void UndoSaveState(TWndParamsAr& saved, HWND w, StateKind kind, const SavedState& done) {
    if (done.changeSet)
        ClearChange(saved, w, kind);
}

JournalEntry JournalEntryOf(const TWndParams& saved) {
    JournalEntry entry;
    entry.identity = saved.Identity();
    if ((saved.Changes & kChangedVisibility) && saved.State.Visible)
        entry.changes |= kJournalHidden;
    if (saved.Changes & kChangedRoll) {
        entry.changes |= kJournalRolled;
        entry.heightBeforeRoll = saved.RolledHeight;
    }
    if (saved.Changes & kChangedOnTop) {
        entry.changes |= kJournalTopmost;
        entry.wasTopmost = saved.State.OnTop;
    }
    if (saved.Changes & kChangedTransparency) {
        entry.changes |= kJournalLayering;
        entry.layering = saved.SavedLayering;
    }
    return entry;
}

void RemoveIfUnchanged(TWndParamsAr& saved, HWND w) {
    const TWndParams* record = saved.Find(w);
    if (record && record->IsUnchanged())
        saved.Remove(w);
}

std::vector<RestoreStep> RestorePlan(const TWndParams& saved) {
    // The common tray comes last: leaving it shows the window again, and by
    // then every other state of the window is back.
    static constexpr StateKind kOrder[] = {StateKind::Transparency, StateKind::Tray,  StateKind::Visibility,
                                           StateKind::OnTop,        StateKind::Roll,  StateKind::Box,
                                           StateKind::CommonTray};
    std::vector<RestoreStep> plan;
    for (StateKind kind : kOrder) {
        if (!(saved.Changes & ChangeBitOf(kind)))
            continue;
        const int value = kind == StateKind::Transparency ? saved.Transparency : (StateValue(saved, kind) ? 1 : 0);
        plan.push_back({kind, value});
    }
    return plan;
}

}  // namespace kz
