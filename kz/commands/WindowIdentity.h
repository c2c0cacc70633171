// What names a window over time: its handle alone does not, as the system
// gives a freed handle value to a later window. A record or a journal entry
// keeps the handle with the window's process and class, and is acted on only
// while the window with that handle still has both.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace kz {

struct WindowIdentity {
    // The handle, zero-extended to 64 bits whatever the build's width.
    uint64_t window = 0;
    uint32_t processId = 0;
    std::wstring className;

    bool operator==(const WindowIdentity& other) const {
        return window == other.window && processId == other.processId && className == other.className;
    }
    bool operator!=(const WindowIdentity& other) const { return !(*this == other); }
};

uint64_t StoredHandle(HWND w);
// The handle a stored number names; null for a number wider than the handles
// of this build (a 32-bit build reading a 64-bit host's journal) rather than
// a truncated one.
HWND HandleOf(uint64_t stored);

// The identity of window w as it is now.
WindowIdentity IdentityOf(HWND w);

// The window the identity names, when it still exists with the same process
// and class; null otherwise.
HWND WindowOf(const WindowIdentity& identity);

}  // namespace kz
