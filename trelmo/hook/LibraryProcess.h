// The library's state in one process: what the process filter decided, the
// registry of attached windows and the locks that guard the process-wide lists.
#pragma once

#include "../../common/Handles.h"
#include "WindowRegistry.h"

#include <windows.h>

#include <atomic>
#include <memory>

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
    CriticalSection& AeroHelperLock() { return aeroHelperLock_; }
    CriticalSection& OfficeHelperLock() { return officeHelperLock_; }

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
    CriticalSection registryLock_{kSpinCount};
    CriticalSection aeroHelperLock_{kSpinCount};
    CriticalSection officeHelperLock_{kSpinCount};
    CriticalSection painterCacheLock_{kSpinCount};
    std::atomic<WindowRegistry*> registry_{nullptr};
};

LibraryProcess& Process();

}  // namespace kz
