#include "kz/commands/Hiddenjournal.h"

#include "common/Handles.h"
#include "common/Protocol.h"
#include "kz/commands/ForeignWindow.h"
#include "kz/commands/LayeredWindows.h"
#include "kz/commands/Windowtexts.h"

#include <algorithm>

namespace kz {

static_assert(kMaxWindowTextLength <= kMaxStoredClassNameLength, "every class name read can be journalled");

bool RegistryChangeJournal::Remove(uint64_t window) {
    const auto kept = std::remove_if(entries_.begin(), entries_.end(),
                                     [window](const JournalEntry& entry) { return entry.identity.window == window; });
    const bool removed = kept != entries_.end();
    entries_.erase(kept, entries_.end());
    return removed;
}

void RegistryChangeJournal::Put(const JournalEntry& entry) {
    Remove(entry.identity.window);
    entries_.push_back(entry);
    Write();
}

void RegistryChangeJournal::Drop(HWND window) {
    if (Remove(StoredHandle(window)))
        Write();
}

void RegistryChangeJournal::Write() const { WriteChangeJournal(entries_); }

std::optional<std::vector<JournalEntry>> ReadChangeJournal() {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<uint8_t> bytes(kMaxHiddenJournalBytes);
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), kHiddenJournalValueW, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size > bytes.size())
        return std::nullopt;
    return DecodeJournal(bytes.data(), size);
}

bool WriteChangeJournal(const std::vector<JournalEntry>& entries) {
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    const std::vector<uint8_t> bytes = EncodeJournal(entries);
    return ::RegSetValueExW(key.get(), kHiddenJournalValueW, 0, REG_BINARY, bytes.data(),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool UndoJournalEntry(const JournalEntry& entry) {
    const HWND w = WindowOf(entry.identity);
    if (!w)
        return false;
    // A hung program must not hold up the host's start: the window's thread
    // carries out what has an asynchronous form once it runs again.
    const ForeignWindow window(w);
    bool undone = false;
    if (entry.changes & kJournalLayering)
        undone |= LayeredWindows().Apply(window, entry.layering);
    if (entry.changes & kJournalTopmost) {
        window.SetPosition(entry.wasTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        undone = true;
    }
    RECT rect;
    if ((entry.changes & kJournalRolled) && ::GetWindowRect(w, &rect)) {
        window.SetPosition(nullptr, 0, 0, rect.right - rect.left, entry.heightBeforeRoll, kResizeOnly);
        undone = true;
    }
    if ((entry.changes & kJournalHidden) && !::IsWindowVisible(w)) {
        window.Show(SW_SHOW);
        undone = true;
    }
    return undone;
}

int RecoverJournalledWindows() {
    int recovered = 0;
    if (const auto entries = ReadChangeJournal()) {
        for (const JournalEntry& entry : *entries)
            recovered += UndoJournalEntry(entry) ? 1 : 0;
    }
    // Whatever the value held, it has served; a malformed one is dropped too.
    WriteChangeJournal({});
    return recovered;
}

}  // namespace kz
