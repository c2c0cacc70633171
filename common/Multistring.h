// Walks a stored multi-string (entries each ended by a zero character, the
// list ended by an empty entry) strictly inside the bytes the registry
// returned: an entry that lacks its terminator ends at the end of the data.
// Pure code over characters, so that it also builds natively for the fuzz tests.
#pragma once

#include <cstddef>

namespace kz {

// Calls visit(entry, length) for each entry in order until visit returns
// false, the empty entry that ends the list, maxEntries entries, or the end of
// the data. Returns whether visit asked to stop.
template <typename Char, typename Visit>
bool ForEachMultiStringEntry(const Char* data, std::size_t length, Visit visit,
                             std::size_t maxEntries = static_cast<std::size_t>(-1)) {
    std::size_t start = 0;
    for (std::size_t entries = 0; entries < maxEntries && start < length; ++entries) {
        std::size_t end = start;
        while (end < length && data[end] != Char(0))
            ++end;
        if (end == start)
            return false;  // the empty entry ends the list
        if (!visit(data + start, end - start))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace kz
