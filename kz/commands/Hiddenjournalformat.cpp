#include "kz/commands/Hiddenjournalformat.h"

#include <algorithm>
#include <iterator>

namespace kz {

namespace {

constexpr uint8_t kFormatMark[4] = {'K', 'Z', 'H', '2'};
constexpr uint8_t kFirstFormatMark[4] = {'K', 'Z', 'H', '1'};
constexpr std::size_t kIdentityBytes = 8 + 4 + 2;
constexpr std::size_t kUndoBytes = 2 + 4 + 1 + 1 + 4 + 1 + 4;
// The flags GetLayeredWindowAttributes gives: LWA_COLORKEY, LWA_ALPHA.
constexpr uint32_t kLayeredFlags = 0x1 | 0x2;

void PutLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Reads little-endian numbers from bytes known to be long enough.
uint64_t GetLittleEndian(const uint8_t* bytes, int byteCount) {
    uint64_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

bool StorableClassName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxStoredClassNameLength;
}

// The entry as it is written: the fields of the changes it does not hold are zeros.
JournalEntry Canonical(const JournalEntry& entry) {
    JournalEntry written;
    written.identity = entry.identity;
    written.changes = entry.changes;
    if (entry.changes & kJournalRolled)
        written.heightBeforeRoll = entry.heightBeforeRoll;
    if (entry.changes & kJournalTopmost)
        written.wasTopmost = entry.wasTopmost;
    if ((entry.changes & kJournalLayering) && entry.layering.layered)
        written.layering = entry.layering;
    return written;
}

void PutIdentity(std::vector<uint8_t>& bytes, const WindowIdentity& identity) {
    PutLittleEndian(bytes, identity.window, 8);
    PutLittleEndian(bytes, identity.processId, 4);
    PutLittleEndian(bytes, identity.className.size(), 2);
    for (wchar_t unit : identity.className)
        PutLittleEndian(bytes, static_cast<uint16_t>(unit), 2);
}

void PutUndo(std::vector<uint8_t>& bytes, const JournalEntry& entry) {
    PutLittleEndian(bytes, entry.changes, 2);
    PutLittleEndian(bytes, static_cast<uint32_t>(entry.heightBeforeRoll), 4);
    PutLittleEndian(bytes, entry.wasTopmost ? 1 : 0, 1);
    PutLittleEndian(bytes, entry.layering.layered ? 1 : 0, 1);
    PutLittleEndian(bytes, entry.layering.colourKey, 4);
    PutLittleEndian(bytes, entry.layering.alpha, 1);
    PutLittleEndian(bytes, entry.layering.flags, 4);
}

// Reads one identity at position; false when the bytes do not hold one.
bool GetIdentity(const uint8_t* bytes, std::size_t size, std::size_t& position, WindowIdentity& identity) {
    if (size - position < kIdentityBytes)
        return false;
    identity.window = GetLittleEndian(bytes + position, 8);
    identity.processId = static_cast<uint32_t>(GetLittleEndian(bytes + position + 8, 4));
    const std::size_t length = static_cast<std::size_t>(GetLittleEndian(bytes + position + 12, 2));
    position += kIdentityBytes;
    if (length == 0 || length > kMaxStoredClassNameLength || (size - position) / 2 < length)
        return false;
    for (std::size_t i = 0; i < length; ++i, position += 2)
        identity.className.push_back(static_cast<wchar_t>(GetLittleEndian(bytes + position, 2)));
    return true;
}

// Reads the undo fields at position; false when they are cut short, out of
// range or not in the one form the encoder writes.
bool GetUndo(const uint8_t* bytes, std::size_t size, std::size_t& position, JournalEntry& entry) {
    if (size - position < kUndoBytes)
        return false;
    const uint8_t* at = bytes + position;
    position += kUndoBytes;
    entry.changes = static_cast<uint16_t>(GetLittleEndian(at, 2));
    entry.heightBeforeRoll = static_cast<int32_t>(static_cast<uint32_t>(GetLittleEndian(at + 2, 4)));
    const uint64_t topmost = GetLittleEndian(at + 6, 1);
    const uint64_t layered = GetLittleEndian(at + 7, 1);
    entry.wasTopmost = topmost == 1;
    entry.layering.layered = layered == 1;
    entry.layering.colourKey = static_cast<uint32_t>(GetLittleEndian(at + 8, 4));
    entry.layering.alpha = static_cast<uint8_t>(GetLittleEndian(at + 12, 1));
    entry.layering.flags = static_cast<uint32_t>(GetLittleEndian(at + 13, 4));
    if (entry.changes == 0 || (entry.changes & ~kAllJournalChanges) || topmost > 1 || layered > 1 ||
        (entry.layering.flags & ~kLayeredFlags))
        return false;
    return Canonical(entry) == entry;
}

}  // namespace

std::vector<uint8_t> EncodeJournal(const std::vector<JournalEntry>& entries) {
    std::vector<uint8_t> bytes;
    for (const JournalEntry& entry : entries) {
        if (!StorableClassName(entry.identity.className) || (entry.changes & kAllJournalChanges) == 0)
            continue;
        if (bytes.empty())
            bytes.assign(std::begin(kFormatMark), std::end(kFormatMark));
        JournalEntry written = Canonical(entry);
        written.changes &= kAllJournalChanges;
        PutIdentity(bytes, written.identity);
        PutUndo(bytes, written);
    }
    return bytes;
}

std::optional<std::vector<JournalEntry>> DecodeJournal(const uint8_t* bytes, std::size_t size) {
    std::vector<JournalEntry> entries;
    if (size == 0)
        return entries;
    // The mark alone is not a form this program writes.
    if (!bytes || size > kMaxHiddenJournalBytes || size <= sizeof kFormatMark)
        return std::nullopt;
    const bool first = std::equal(std::begin(kFirstFormatMark), std::end(kFirstFormatMark), bytes);
    if (!first && !std::equal(std::begin(kFormatMark), std::end(kFormatMark), bytes))
        return std::nullopt;
    std::size_t position = sizeof kFormatMark;
    while (position < size) {
        JournalEntry entry;
        if (!GetIdentity(bytes, size, position, entry.identity))
            return std::nullopt;
        if (first)
            entry.changes = kJournalHidden;
        else if (!GetUndo(bytes, size, position, entry))
            return std::nullopt;
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace kz
