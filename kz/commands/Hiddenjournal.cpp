#include "kz/commands/Hiddenjournal.h"

#include "common/Handles.h"
#include "common/Protocol.h"
#include "kz/commands/Windowtexts.h"

#include <algorithm>

namespace kz {

static_assert(kMaxWindowTextLength <= kMaxStoredClassNameLength, "every class name read can be journalled");

namespace {

uint64_t StoredHandle(HWND w) { return static_cast<uint64_t>(reinterpret_cast<UINT_PTR>(w)); }

}  // namespace

HiddenWindowEntry EntryOfWindow(HWND w) {
    HiddenWindowEntry entry;
    entry.window = StoredHandle(w);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(w, &processId);
    entry.processId = processId;
    entry.className = ClassNameOf(w);
    return entry;
}

HWND StillHiddenWindow(const HiddenWindowEntry& entry) {
    // A number wider than the handles of this build (a 32-bit build reading
    // a 64-bit host's journal) names no window rather than a truncated one.
    if (entry.window == 0 || entry.window > static_cast<uint64_t>(UINTPTR_MAX))
        return nullptr;
    const HWND w = reinterpret_cast<HWND>(static_cast<UINT_PTR>(entry.window));
    if (!::IsWindow(w) || ::IsWindowVisible(w))
        return nullptr;
    const HiddenWindowEntry now = EntryOfWindow(w);
    return now.processId == entry.processId && now.className == entry.className ? w : nullptr;
}

bool RegistryHiddenJournal::Drop(HWND window) {
    const uint64_t stored = StoredHandle(window);
    const auto kept = std::remove_if(entries_.begin(), entries_.end(),
                                     [stored](const HiddenWindowEntry& entry) { return entry.window == stored; });
    const bool dropped = kept != entries_.end();
    entries_.erase(kept, entries_.end());
    return dropped;
}

void RegistryHiddenJournal::Hidden(HWND window) {
    Drop(window);
    entries_.push_back(EntryOfWindow(window));
    Write();
}

void RegistryHiddenJournal::Shown(HWND window) {
    if (Drop(window))
        Write();
}

void RegistryHiddenJournal::Write() const { WriteHiddenJournal(entries_); }

std::optional<std::vector<HiddenWindowEntry>> ReadHiddenJournal() {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<uint8_t> bytes(kMaxHiddenJournalBytes);
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), kHiddenJournalValueW, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size > bytes.size())
        return std::nullopt;
    return DecodeHiddenJournal(bytes.data(), size);
}

bool WriteHiddenJournal(const std::vector<HiddenWindowEntry>& entries) {
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    const std::vector<uint8_t> bytes = EncodeHiddenJournal(entries);
    return ::RegSetValueExW(key.get(), kHiddenJournalValueW, 0, REG_BINARY, bytes.data(),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

int RecoverHiddenWindows() {
    int shown = 0;
    if (const auto entries = ReadHiddenJournal()) {
        for (const HiddenWindowEntry& entry : *entries) {
            if (const HWND w = StillHiddenWindow(entry)) {
                // Asynchronous for other threads: a hung program must not
                // hold up the host's start.
                ::ShowWindowAsync(w, SW_SHOW);
                ++shown;
            }
        }
    }
    // Whatever the value held, it has served; a malformed one is dropped too.
    WriteHiddenJournal({});
    return shown;
}

}  // namespace kz
