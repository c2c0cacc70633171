#include "trelmo/hook/LibraryProcess.h"

#include "trelmo/toolbar/AeroHelper.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/ProcessFilter.h"
#include "trelmo/hook/SettingsReader.h"
#include "trelmo/toolbar/ToolbarChoice.h"
#include "trelmo/menus/WindowSystemMenu.h"

namespace kz {

void InstallStandardHandlers(HookedWindow& record) {
    record.AddHandler(std::make_unique<WindowSystemMenu>(record));
    if (std::unique_ptr<CaptionToolBar> toolbar = CreateToolbar(record))
        record.AddToolbar(std::move(toolbar));
}

LibraryProcess& Process() {
    static LibraryProcess process;
    return process;
}

void LibraryProcess::Start(HINSTANCE module, volatile SharedSection* shared, DWORD session,
                           const wchar_t* executablePath, DWORD pathLength) {
    module_ = module;
    shared_ = shared;
    session_ = session;
    sessionEntry_.store(nullptr, std::memory_order_relaxed);
    trustedHost_.store(nullptr, std::memory_order_relaxed);
    detaching_ = false;
    constexpr DWORD kPathCapacity = 512;
    const bool pathRead = pathLength > 0 && pathLength < kPathCapacity;
    const ProcessFilterResult filter = FilterProcess(executablePath, pathRead ? pathLength : 0);
    processEnabled_ = pathRead && filter.enabled;
    isSkypeProcess_ = filter.isSkypeProcess;
    hookActive_ = processEnabled_;
}

void LibraryProcess::RefreshBlacklisted() {
    if (processEnabled_)
        processBlacklisted_ = ReadProcessBlacklisted();
}

WindowRegistry& LibraryProcess::Registry() {
    WindowRegistry* registry = registry_.load(std::memory_order_acquire);
    if (registry)
        return *registry;
    bool created = false;
    {
        Lock lock(registryLock_);
        registry = registry_.load(std::memory_order_relaxed);
        if (!registry) {
            registry = new WindowRegistry;
            registry_.store(registry, std::memory_order_release);
            created = true;
        }
    }
    // The blacklist is read here rather than at load: the registry is not to
    // be touched from under the loader lock.
    if (created)
        RefreshBlacklisted();
    return *registry;
}

const volatile SessionHost* LibraryProcess::SessionEntry() const {
    const volatile SessionHost* entry = sessionEntry_.load(std::memory_order_relaxed);
    if (entry && entry->sessionKey == static_cast<LONG>(session_ + 1))
        return entry;
    entry = shared_ ? FindSessionHost(*shared_, session_) : nullptr;
    sessionEntry_.store(entry, std::memory_order_relaxed);
    return entry;
}

bool LibraryProcess::HostPresent() const {
    const HWND host = HostWindow();
    if (!host || !::IsWindow(host))
        return false;
    if (trustedHost_.load(std::memory_order_relaxed) == host)
        return true;
    DWORD processId = 0;
    DWORD session = 0;
    if (!::GetWindowThreadProcessId(host, &processId) || !::ProcessIdToSessionId(processId, &session) ||
        session != session_)
        return false;
    trustedHost_.store(host, std::memory_order_relaxed);
    return true;
}

void LibraryProcess::KeepPassingOn(HWND window, WNDPROC previous) {
    Lock lock(registryLock_);
    kept_.push_back({window, previous});
}

WNDPROC LibraryProcess::KeptPrevious(HWND window) {
    Lock lock(registryLock_);
    for (const KeptProcedure& kept : kept_)
        if (kept.window == window)
            return kept.previous;
    return nullptr;
}

void LibraryProcess::ForgetKept(HWND window) {
    Lock lock(registryLock_);
    for (auto it = kept_.begin(); it != kept_.end(); ++it)
        if (it->window == window) {
            kept_.erase(it);
            return;
        }
}

std::size_t LibraryProcess::KeptCount() {
    Lock lock(registryLock_);
    return kept_.size();
}

void LibraryProcess::PinModule() {
    if (pinned_)
        return;
    HMODULE pinned = nullptr;
    pinned_ = ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                   reinterpret_cast<LPCWSTR>(&SubclassProcedure), &pinned) != FALSE;
}

HookedWindow* LibraryProcess::FindRecord(HWND window) {
    if (detaching_ && !registry_.load(std::memory_order_acquire))
        return nullptr;
    Lock lock(registryLock_);
    return Registry().Find(window);
}

std::vector<HWND> LibraryProcess::AttachedWindows() {
    std::vector<HWND> windows;
    WindowRegistry* registry = registry_.load(std::memory_order_acquire);
    if (!registry)
        return windows;
    Lock lock(registryLock_);
    for (std::size_t bucket = 0; bucket < WindowRegistry::kBucketCount; ++bucket)
        for (HWND window : registry->WindowsInBucket(bucket))
            windows.push_back(window);
    return windows;
}

void LibraryProcess::Stop(bool processEnding) {
    detaching_ = true;
    // When the process is ending, records and painters that are left die with
    // it unfreed: their windows' code may still be running on threads that
    // were stopped, and the theme library may already be gone.
    if (processEnding) {
        registry_.store(nullptr, std::memory_order_release);
        return;
    }
    // The library is pinned from its first subclassed window on, so an
    // unload finds no window here; an owner that runs the library's code
    // in-process lets go of its windows this way. Nothing here waits for
    // another thread: the windows are released outside the lock, their
    // frames repaint on their own threads and the host is told without a wait.
    if (WindowRegistry* registry = registry_.load(std::memory_order_acquire)) {
        for (HWND window : AttachedWindows())
            ReleaseWindow(window);
        registry_.store(nullptr, std::memory_order_release);
        delete registry;
    }
    // After the walk: the toolbars that held painters and helper windows are gone.
    FreePainterCache();
    UnregisterHelperClasses();
}

}  // namespace kz
