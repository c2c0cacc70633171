// The library's state in one process: what the process filter decided, the
// registry of attached windows and the locks that guard the process-wide lists.
#pragma once

#include "common/Handles.h"
#include "trelmo/hook/HostWatch.h"
#include "trelmo/hook/SessionHosts.h"
#include "trelmo/hook/WindowRegistry.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace kz {

class HookedWindow;

// Installs a record's handlers at attach and at every rebuild.
using HandlerInstaller = void (*)(HookedWindow& record);
void InstallStandardHandlers(HookedWindow& record);

class LibraryProcess {
public:
    // At load: the process filter. The blacklist is read on first use. The
    // library works only with the host of the process's own session.
    void Start(HINSTANCE module, volatile SharedSection* shared, DWORD session, const wchar_t* executablePath,
               DWORD pathLength);
    // At unload: lets go of every attached window. When the whole process is
    // ending its windows go with it, and nothing is sent from under the loader lock.
    void Stop(bool processEnding);

    HINSTANCE Module() const { return module_; }
    HWND HostWindow() const {
        const volatile SessionHost* host = SessionEntry();
        return host ? host->hostWindow : nullptr;
    }
    // The host of this session has stored its window, and that window still
    // exists and belongs to a program of this session. At exit the host
    // clears its window first; a host that ended without doing so leaves a
    // handle of no window, and anything else in the section is not trusted.
    bool HostPresent() const;
    HHOOK HookHandle() const {
        const volatile SessionHost* host = SessionEntry();
        return host ? host->hook : nullptr;
    }

    bool ProcessEnabled() const { return processEnabled_; }
    bool HookActive() const { return hookActive_ && !detaching_; }
    bool IsSkypeProcess() const { return isSkypeProcess_; }
    bool ProcessBlacklisted() const { return processBlacklisted_; }
    // Reads the blacklist again; only while the process is enabled.
    void RefreshBlacklisted();

    // Created by the first caller; the lookup below takes the lock itself.
    WindowRegistry& Registry();
    HookedWindow* FindRecord(HWND window);
    // The windows attached at this moment.
    std::vector<HWND> AttachedWindows();
    // Watches the process of the host the windows attach for (HostWatch.h).
    void WatchHost(HWND host) { hostWatch_.Watch(host); }
    CriticalSection& RegistryLock() { return registryLock_; }
    CriticalSection& PainterCacheLock() { return painterCacheLock_; }

    // A window the library let go of while a later subclasser kept the
    // library's procedure in its chain: the procedure each of its messages is
    // passed on to, until the window's WM_NCDESTROY forgets it.
    void KeepPassingOn(HWND window, WNDPROC previous);
    WNDPROC KeptPrevious(HWND window);
    void ForgetKept(HWND window);
    std::size_t KeptCount();
    // Keeps the library loaded for the rest of the process, from the first
    // window it subclasses on. The system unloads a hook's library when the
    // hook goes, lazily, at some thread's next message retrieval: that can be
    // inside a nested loop (a modal dialog, a menu, a window drag) entered
    // from the library's window procedure, whose frame the loop then returns
    // into. No count of threads inside the library closes that gap for every
    // entry point (window procedures, hook procedures, callbacks), so the
    // image stays; the windows let go of themselves on their own threads once
    // the host is gone, and nothing of the library runs for them any more.
    void PinModule();
    bool ModulePinned() const { return pinned_; }

    HandlerInstaller installHandlers = InstallStandardHandlers;

private:
    static constexpr DWORD kSpinCount = 0x80000400;
    // The entry of this session in the shared section; looked up again only
    // when the entry it had was given to another session.
    const volatile SessionHost* SessionEntry() const;

    HINSTANCE module_ = nullptr;
    volatile SharedSection* shared_ = nullptr;
    DWORD session_ = 0;
    mutable std::atomic<const volatile SessionHost*> sessionEntry_{nullptr};
    mutable std::atomic<HWND> trustedHost_{nullptr};  // a host window checked once to be of this session
    bool processEnabled_ = false;
    bool hookActive_ = false;
    bool isSkypeProcess_ = false;
    volatile bool processBlacklisted_ = false;
    volatile bool detaching_ = false;
    volatile bool pinned_ = false;
    CriticalSection registryLock_{kSpinCount};
    CriticalSection painterCacheLock_{kSpinCount};
    std::atomic<WindowRegistry*> registry_{nullptr};
    HostWatch hostWatch_;
    struct KeptProcedure {
        HWND window;
        WNDPROC previous;
    };
    std::vector<KeptProcedure> kept_;  // under the registry lock; outlives the registry
};

LibraryProcess& Process();

}  // namespace kz
