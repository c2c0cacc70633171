// The journal of the windows the host has hidden, kept in the registry so
// that they can be shown again should the host end without restoring them
// (a crash, a kill). Rewritten whenever the executor hides or shows a window;
// empty again once every window hidden by the host is shown.
#pragma once

#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Impprofile.h"

#include <windows.h>

#include <vector>

namespace kz {

// The journal's value under the program's key.
constexpr wchar_t kHiddenJournalValueW[] = L"Hidden";

// The entry of window w as it is now: handle, process and class.
HiddenWindowEntry EntryOfWindow(HWND w);

// The window an entry names, when it still exists, still belongs to the same
// process, has the same class and is hidden; null otherwise.
HWND StillHiddenWindow(const HiddenWindowEntry& entry);

class RegistryHiddenJournal : public HiddenWindowJournal {
public:
    // Journals w before it is hidden: a crash in between leaves an entry for
    // a visible window, which recovery passes over.
    void Hidden(HWND window) override;
    // Drops w once it is shown.
    void Shown(HWND window) override;

    const std::vector<HiddenWindowEntry>& Entries() const { return entries_; }

private:
    // Removes the entry of window; false when it had none.
    bool Drop(HWND window);
    void Write() const;

    std::vector<HiddenWindowEntry> entries_;
};

// The stored journal; nothing when it is missing, too large or malformed.
std::optional<std::vector<HiddenWindowEntry>> ReadHiddenJournal();
// Replaces the stored journal. False when the registry refuses.
bool WriteHiddenJournal(const std::vector<HiddenWindowEntry>& entries);

// Run once at start-up, after the single-instance test: shows every
// journalled window that is still hidden (see StillHiddenWindow), then
// empties the journal. Returns how many windows were shown.
int RecoverHiddenWindows();

}  // namespace kz
