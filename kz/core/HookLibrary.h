// The host's side of the hook: loads trelmo.dll, binds its three exports by
// ordinal, hands it the host window and installs the system-wide hook.
#pragma once

#include "common/Handles.h"
#include "kz/core/FollowUpRepaints.h"
#include "kz/core/HookThread.h"

#include <windows.h>

#include <memory>
#include <string>

namespace kz {

// The full path of trelmo.dll in the folder of the running program: the
// library is never searched for along the system's library path.
std::wstring HookLibraryBesideProgram();

class HookLibrary {
public:
    enum class InstallResult { Installed, LibraryMissing, ExportsMissing, HookRefused };

    HookLibrary() = default;
    ~HookLibrary() { Remove(); }
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Installs the hook for every thread of the desktop, from a thread of
    // its own, and repaints every top-level frame of the host window list of
    // the library's bitness so that the library attaches at once; they are
    // repainted again in the following seconds (FollowUpRepaints.h).
    InstallResult Install(HWND hostWindow, const std::wstring& libraryPath = HookLibraryBesideProgram());
    // Clears the library's shared section, so that every attached window lets
    // go of itself even where the system keeps the library loaded, removes
    // the hook and ends its thread, and repaints every frame of the library's
    // bitness (the only ones it attaches) without the library's buttons. A
    // window whose program hangs is not waited for.
    // False when there was no hook.
    bool Remove();

    bool Installed() const { return hookThread_ != nullptr; }
    // The thread that holds the hook; zero when there is none.
    DWORD HookThreadId() const { return hookThread_ ? hookThread_->ThreadId() : 0; }

private:
    using SetHandleFunction = void(WINAPI*)(HHOOK);
    using SetHostWindowFunction = void(WINAPI*)(HWND);

    UniqueModule library_;
    SetHandleFunction setHandle_ = nullptr;
    SetHostWindowFunction setHostWindow_ = nullptr;
    HWND hostWindow_ = nullptr;
    std::unique_ptr<HookThread> hookThread_;
    std::unique_ptr<FollowUpRepaints> followUps_;
};

}  // namespace kz
