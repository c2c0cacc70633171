// The stored form of the journal of hidden windows (registry value "Hidden",
// binary). Pure code over bytes.
//
// An empty journal is a value of no bytes. Otherwise, little-endian:
//   4 bytes   the format mark 'K' 'Z' 'H' '1'
//   then one or more entries, to the end of the value, each:
//   8 bytes   the window handle, zero-extended to 64 bits
//   4 bytes   the id of the window's process
//   2 bytes   n, the length of the class name in UTF-16 units, 1..256
//   2n bytes  the class name in UTF-16
// A value that departs from this anywhere (wrong mark, an entry cut short, a
// length out of range, bytes left over) is read as a whole as no journal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kz {

// The longest class name an entry holds, in UTF-16 units: the system's limit.
constexpr std::size_t kMaxStoredClassNameLength = 256;
// A longer value is not read: it cannot be one this program wrote for any
// plausible number of hidden windows.
constexpr std::size_t kMaxHiddenJournalBytes = 64 * 1024;

struct HiddenWindowEntry {
    uint64_t window = 0;
    uint32_t processId = 0;
    std::wstring className;

    bool operator==(const HiddenWindowEntry& other) const {
        return window == other.window && processId == other.processId && className == other.className;
    }
};

// Entries whose class name is empty or too long are left out: they could not
// be read back.
std::vector<uint8_t> EncodeHiddenJournal(const std::vector<HiddenWindowEntry>& entries);

// The entries of a stored value; nothing when the value is malformed.
std::optional<std::vector<HiddenWindowEntry>> DecodeHiddenJournal(const uint8_t* bytes, std::size_t size);

}  // namespace kz
