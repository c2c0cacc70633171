// Notices a host that ended without clearing its window (killed, crashed):
// the program's windows then lose their buttons and menu entries within
// moments, whatever they are doing.
//
// One wait on the host's process per program, registered with the system's
// thread pool when a window attaches for a host not yet watched. The pool's
// wait thread sleeps on the process handle: nothing in the program wakes
// while the host lives. When the host's process ends, every attached window
// is asked to repaint its frame; at that paint, on its own thread, it finds
// the host window gone and lets go of itself (HookedWindow.cpp).
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <atomic>

namespace kz {

class HostWatch {
public:
    HostWatch() = default;
    // Drops the wait before its handle closes; does not wait for a callback.
    ~HostWatch();
    HostWatch(const HostWatch&) = delete;
    HostWatch& operator=(const HostWatch&) = delete;

    // Watches the process of this host window, unless it is watched already.
    // A host that cannot be opened (another user's, a higher integrity
    // level's) is not watched: its windows notice at their next frame
    // activation, paint or click instead.
    void Watch(HWND host);

private:
    static void CALLBACK HostEnded(void* context, BOOLEAN timedOut) noexcept;

    std::atomic<HWND> watched_{nullptr};
    CriticalSection lock_{0};
    UniqueKernelHandle process_;
    HANDLE wait_ = nullptr;
};

}  // namespace kz
