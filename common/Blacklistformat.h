// The rules of the stored blacklist that need no Windows: the name an entry is
// shown by, and the size of the stored value in the two forms it is read in.
// Pure code over characters, so that it also builds natively for the fuzz tests.
#pragma once

#include <cstddef>
#include <string>

namespace kz {

// Tells whether a byte of an 8-bit string starts a double-byte character of
// the system code page; null for code pages that have none.
using LeadByteTest = bool (*)(unsigned char byte);

// The file name of path without its extension: the text after the last
// backslash or colon, cut before its last full stop (whole when it has none).
// The second byte of a double-byte character is never taken for a separator.
std::string BlacklistDisplayName(const std::string& path, LeadByteTest isLeadByte = nullptr);

// The size of the stored multi-string in both forms in which it is read: the
// host reads it in 8-bit characters, the hook library in UTF-16. Both read it
// into buffers of the same size, so a list must fit in each form.
struct BlacklistValueSize {
    std::size_t AnsiBytes = 1;  // the empty list: its terminator alone
    std::size_t WideBytes = 2;

    // Counts one more entry, with its terminator, given its length in each form.
    void AddEntry(std::size_t ansiChars, std::size_t wideChars);
    // Whether both readers accept the value.
    bool FitsBothReaders() const;
};

}  // namespace kz
