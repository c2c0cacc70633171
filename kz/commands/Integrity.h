// The integrity level of a window's program against the host's own. The
// system refuses every change a process makes to a window of a process that
// runs at a higher level (a program started as administrator, while the host
// is not), without telling the caller in most cases: the executor asks first.
#pragma once

#include <windows.h>

namespace kz {

class WindowIntegrity {
public:
    virtual ~WindowIntegrity() = default;
    // Whether the program of w runs at a higher integrity level than the
    // host. False where the host cannot tell its own level (systems without
    // integrity levels); true when it can and the program's cannot be read,
    // which only a process above the host refuses.
    virtual bool AboveHost(HWND w) const;
};

}  // namespace kz
