// The crash journal: every window the host has changed, with what undoes the
// change, kept in the registry so that the next start can undo it should the
// host end without restoring the windows (a crash, a kill). Rewritten
// whenever the executor changes a window or undoes a change; empty again
// once every change is undone.
#pragma once

#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Impprofile.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace kz {

// The journal's value under the program's key.
constexpr wchar_t kHiddenJournalValueW[] = L"Hidden";

class RegistryChangeJournal : public ChangeJournal {
public:
    void Put(const JournalEntry& entry) override;
    void Drop(HWND window) override;

    const std::vector<JournalEntry>& Entries() const { return entries_; }

private:
    // Removes the entry of the window; false when it had none.
    bool Remove(uint64_t window);
    void Write() const;

    std::vector<JournalEntry> entries_;
};

// The stored journal; nothing when it is missing, too large or malformed.
std::optional<std::vector<JournalEntry>> ReadChangeJournal();
// Replaces the stored journal. False when the registry refuses.
bool WriteChangeJournal(const std::vector<JournalEntry>& entries);

// Undoes the changes of one entry on the window it names, when that is still
// the same window (see WindowOf); false when there was nothing to undo.
bool UndoJournalEntry(const JournalEntry& entry);

// Run once at start-up, after the single-instance test: undoes every
// journalled change, then empties the journal. Returns how many windows were
// given something back.
int RecoverJournalledWindows();

}  // namespace kz
