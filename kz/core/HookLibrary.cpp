#include "kz/core/HookLibrary.h"

#include "common/BindFunction.h"
#include "common/Protocol.h"
#include "kz/core/Programfolder.h"
#include "kz/core/Vwindowlist.h"

#include <vector>

namespace kz {

namespace {

// How long the repaint after removal waits for one window.
constexpr UINT kRepaintTimeoutMs = 200;

// The windows this library can have attached: those of programs of its own bitness.
std::vector<HWND> ReachableWindows(HWND hostWindow) {
    std::vector<HWND> windows;
    CollectWindowsOfOwnBitness(windows, hostWindow);
    return windows;
}

}  // namespace

std::wstring HookLibraryBesideProgram() {
    const std::string name = kHookLibraryName;
    return ProgramFolder() + std::wstring(name.begin(), name.end());
}

HookLibrary::InstallResult HookLibrary::Install(HWND hostWindow, const std::wstring& libraryPath) {
    library_.reset(::LoadLibraryW(libraryPath.c_str()));
    if (!library_)
        return InstallResult::LibraryMissing;

    setHostWindow_ = BindFunction(library_.get(), MAKEINTRESOURCEA(kOrdinalSetHostWindow));
    setHandle_ = BindFunction(library_.get(), MAKEINTRESOURCEA(kOrdinalSetHandle));
    const HOOKPROC hookProcedure = BindFunction(library_.get(), MAKEINTRESOURCEA(kOrdinalHookProcedure));
    if (!setHostWindow_ || !setHandle_ || !hookProcedure) {
        library_.reset();
        return InstallResult::ExportsMissing;
    }

    // The library passes every call on untouched until it knows the hook handle.
    hostWindow_ = hostWindow;
    setHostWindow_(hostWindow);
    setHandle_(nullptr);
    auto hookThread = std::make_unique<HookThread>(hookProcedure, library_.get());
    if (!hookThread->Hook())
        return InstallResult::HookRefused;
    setHandle_(hookThread->Hook());
    hookThread_ = std::move(hookThread);

    for (HWND window : ReachableWindows(hostWindow_))
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    followUps_ = std::make_unique<FollowUpRepaints>(hostWindow_);
    return InstallResult::Installed;
}

bool HookLibrary::Remove() {
    if (!hookThread_)
        return false;
    followUps_.reset();
    setHostWindow_(nullptr);
    setHandle_(nullptr);
    const bool ended = hookThread_->Stop();
    hookThread_.reset();
    // A hook thread that did not end might still be running the library's
    // code: the library stays loaded then.
    const HMODULE library = library_.release();
    const bool removed = ended && ::FreeLibrary(library) != FALSE;
    for (HWND window : ReachableWindows(hostWindow_)) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, WM_NCPAINT, 1, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kRepaintTimeoutMs, &ignored);
    }
    return removed;
}

}  // namespace kz
