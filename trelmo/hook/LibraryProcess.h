// The library's state in one process: what the process filter decided, the
// registry of attached windows and the locks that guard the process-wide lists.
#pragma once

#include "common/Handles.h"
#include "trelmo/hook/WindowRegistry.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace kz {

class HookedWindow;

// The section every process that loads the library shares; written only by the host.
struct SharedSection {
    HHOOK hook;
    HWND hostWindow;
};

// Installs a record's handlers at attach and at every rebuild.
using HandlerInstaller = void (*)(HookedWindow& record);
void InstallStandardHandlers(HookedWindow& record);

class LibraryProcess {
public:
    // At load: the process filter. The blacklist is read on first use.
    void Start(HINSTANCE module, volatile SharedSection* shared, const wchar_t* executablePath,
               DWORD pathLength);
    // At unload: lets go of every attached window. When the whole process is
    // ending its windows go with it, and nothing is sent from under the loader lock.
    void Stop(bool processEnding);

    HINSTANCE Module() const { return module_; }
    HWND HostWindow() const { return shared_ ? shared_->hostWindow : nullptr; }
    // The host has stored its window and that window still exists. At exit
    // the host clears its window first; a host that ended without doing so
    // leaves a handle of no window.
    bool HostPresent() const;
    HHOOK HookHandle() const { return shared_ ? shared_->hook : nullptr; }

    bool ProcessEnabled() const { return processEnabled_; }
    bool HookActive() const { return hookActive_ && !detaching_; }
    bool IsSkypeProcess() const { return isSkypeProcess_; }
    bool ProcessBlacklisted() const { return processBlacklisted_; }
    // Reads the blacklist again; only while the process is enabled.
    void RefreshBlacklisted();

    // Created by the first caller; the lookup below takes the lock itself.
    WindowRegistry& Registry();
    HookedWindow* FindRecord(HWND window);
    CriticalSection& RegistryLock() { return registryLock_; }
    CriticalSection& PainterCacheLock() { return painterCacheLock_; }

    // A window the library let go of while a later subclasser kept the
    // library's procedure in its chain: the procedure each of its messages is
    // passed on to, until the window's WM_NCDESTROY forgets it.
    void KeepPassingOn(HWND window, WNDPROC previous);
    WNDPROC KeptPrevious(HWND window);
    void ForgetKept(HWND window);
    std::size_t KeptCount();
    // Keeps the library loaded for the rest of the process: once another
    // procedure sits over the library's in a window's chain, the library's
    // procedure can no longer be taken out of it, and unloading would leave
    // the window calling freed code.
    void PinModule();
    bool ModulePinned() const { return pinned_; }

    HandlerInstaller installHandlers = InstallStandardHandlers;

private:
    static constexpr DWORD kSpinCount = 0x80000400;
    HINSTANCE module_ = nullptr;
    volatile SharedSection* shared_ = nullptr;
    bool processEnabled_ = false;
    bool hookActive_ = false;
    bool isSkypeProcess_ = false;
    volatile bool processBlacklisted_ = false;
    volatile bool detaching_ = false;
    volatile bool pinned_ = false;
    CriticalSection registryLock_{kSpinCount};
    CriticalSection painterCacheLock_{kSpinCount};
    std::atomic<WindowRegistry*> registry_{nullptr};
    struct KeptProcedure {
        HWND window;
        WNDPROC previous;
    };
    std::vector<KeptProcedure> kept_;  // under the registry lock; outlives the registry
};

LibraryProcess& Process();

}  // namespace kz
