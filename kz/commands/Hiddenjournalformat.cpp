#include "kz/commands/Hiddenjournalformat.h"

#include <algorithm>
#include <iterator>

namespace kz {

namespace {

constexpr uint8_t kFormatMark[4] = {'K', 'Z', 'H', '1'};
constexpr std::size_t kFixedEntryBytes = 8 + 4 + 2;

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

}  // namespace

std::vector<uint8_t> EncodeHiddenJournal(const std::vector<HiddenWindowEntry>& entries) {
    std::vector<uint8_t> bytes;
    for (const HiddenWindowEntry& entry : entries) {
        if (!StorableClassName(entry.className))
            continue;
        if (bytes.empty())
            bytes.assign(std::begin(kFormatMark), std::end(kFormatMark));
        PutLittleEndian(bytes, entry.window, 8);
        PutLittleEndian(bytes, entry.processId, 4);
        PutLittleEndian(bytes, entry.className.size(), 2);
        for (wchar_t unit : entry.className)
            PutLittleEndian(bytes, static_cast<uint16_t>(unit), 2);
    }
    return bytes;
}

std::optional<std::vector<HiddenWindowEntry>> DecodeHiddenJournal(const uint8_t* bytes, std::size_t size) {
    std::vector<HiddenWindowEntry> entries;
    if (size == 0)
        return entries;
    // The mark alone is not a form this program writes.
    if (!bytes || size > kMaxHiddenJournalBytes || size <= sizeof kFormatMark ||
        !std::equal(std::begin(kFormatMark), std::end(kFormatMark), bytes))
        return std::nullopt;
    std::size_t position = sizeof kFormatMark;
    while (position < size) {
        if (size - position < kFixedEntryBytes)
            return std::nullopt;
        HiddenWindowEntry entry;
        entry.window = GetLittleEndian(bytes + position, 8);
        entry.processId = static_cast<uint32_t>(GetLittleEndian(bytes + position + 8, 4));
        const std::size_t length = static_cast<std::size_t>(GetLittleEndian(bytes + position + 12, 2));
        position += kFixedEntryBytes;
        if (length == 0 || length > kMaxStoredClassNameLength || (size - position) / 2 < length)
            return std::nullopt;
        for (std::size_t i = 0; i < length; ++i, position += 2)
            entry.className.push_back(static_cast<wchar_t>(GetLittleEndian(bytes + position, 2)));
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace kz
