#include "trelmo/hook/HostWatch.h"

#include "trelmo/hook/LibraryProcess.h"

namespace kz {

HostWatch::~HostWatch() {
    if (wait_)
        ::UnregisterWaitEx(wait_, nullptr);
}

void HostWatch::Watch(HWND host) {
    if (!host || watched_.load(std::memory_order_acquire) == host)
        return;
    Lock lock(lock_);
    if (watched_.load(std::memory_order_relaxed) == host)
        return;
    // The wait of an earlier host goes before its handle closes; a callback
    // under way only asks windows to repaint, and is waited for.
    if (wait_)
        ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(host, &processId);
    process_.reset(processId ? ::OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr);
    // The window outlived the opening: the process is the host's, not one
    // that took over the number of a host that ended meanwhile.
    if (process_ && ::IsWindow(host) &&
        ::RegisterWaitForSingleObject(&wait_, process_.get(), &HostWatch::HostEnded, this, INFINITE,
                                      WT_EXECUTEONLYONCE)) {
        watched_.store(host, std::memory_order_release);
        return;
    }
    wait_ = nullptr;
    process_.reset();
    watched_.store(host, std::memory_order_release);  // asked once, not at every attach
}

void CALLBACK HostWatch::HostEnded(void*, BOOLEAN) noexcept {
    try {
        // Invalidated only: painting from this thread would wait for each
        // window's own thread.
        for (HWND window : Process().AttachedWindows())
            ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    } catch (...) {
        // The windows notice at their next activation, paint or click.
    }
}

}  // namespace kz
