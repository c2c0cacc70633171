// The stored form of the crash journal (registry value "Hidden", binary):
// every window the host has changed, with what undoes the change. Pure code
// over bytes.
//
// An empty journal is a value of no bytes. Otherwise, little-endian:
//   4 bytes   the format mark 'K' 'Z' 'H' '2'
//   then one or more entries, to the end of the value, each:
//   8 bytes   the window handle, zero-extended to 64 bits
//   4 bytes   the id of the window's process
//   2 bytes   n, the length of the class name in UTF-16 units, 1..256
//   2n bytes  the class name in UTF-16
//   2 bytes   the changes: bit 0 hidden by the host, bit 1 rolled up, bit 2
//             topmost changed, bit 3 layering changed; at least one, no other
//   4 bytes   the height before the roll-up, signed; 0 unless bit 1
//   1 byte    1 when the window was topmost before, else 0; 0 unless bit 2
//   1 byte    1 when the window was layered before, else 0; 0 unless bit 3
//   4 bytes   its colour key  } as GetLayeredWindowAttributes gave them
//   1 byte    its alpha       } before the first change; 0 unless bit 3
//   4 bytes   its flags       } and the window was layered
// The earlier format, mark 'K' 'Z' 'H' '1', has entries of the first four
// fields only, each a window hidden by the host; it is still read.
// A value that departs from its format anywhere (wrong mark, an entry cut
// short, a length or a field out of range, bytes left over) is read as a
// whole as no journal.
#pragma once

#include "kz/commands/Layering.h"
#include "kz/commands/WindowIdentity.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kz {

// The longest class name an entry holds, in UTF-16 units: the system's limit.
constexpr std::size_t kMaxStoredClassNameLength = 256;
// A longer value is not read: it cannot be one this program wrote for any
// plausible number of changed windows.
constexpr std::size_t kMaxHiddenJournalBytes = 64 * 1024;

enum JournalChange : uint16_t {
    kJournalHidden = 1u << 0,
    kJournalRolled = 1u << 1,
    kJournalTopmost = 1u << 2,
    kJournalLayering = 1u << 3,
};
constexpr uint16_t kAllJournalChanges = kJournalHidden | kJournalRolled | kJournalTopmost | kJournalLayering;

struct JournalEntry {
    WindowIdentity identity;
    uint16_t changes = 0;
    int32_t heightBeforeRoll = 0;
    bool wasTopmost = false;
    Layering layering;

    bool operator==(const JournalEntry& other) const {
        return identity == other.identity && changes == other.changes &&
               heightBeforeRoll == other.heightBeforeRoll && wasTopmost == other.wasTopmost &&
               layering == other.layering;
    }
};

// Entries whose class name is empty or too long, or that hold no change, are
// left out: they could not be read back. The fields of a change an entry
// does not hold are written as zeros.
std::vector<uint8_t> EncodeJournal(const std::vector<JournalEntry>& entries);

// The entries of a stored value in either format; nothing when it is malformed.
std::optional<std::vector<JournalEntry>> DecodeJournal(const uint8_t* bytes, std::size_t size);

}  // namespace kz
