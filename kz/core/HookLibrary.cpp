#include "HookLibrary.h"

#include "../../trelmo/Protocol.h"

namespace kz {

namespace {

template <typename Function>
Function Export(HMODULE module, unsigned short ordinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(
        ::GetProcAddress(module, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal)))));
}

}  // namespace

HookLibrary::InstallResult HookLibrary::Install(HWND hostWindow, const char* libraryPath) {
    library_.reset(::LoadLibraryA(libraryPath));
    if (!library_)
        return InstallResult::LibraryMissing;

    const auto setHostWindow = Export<SetHostWindowFunction>(library_.get(), kOrdinalSetHostWindow);
    const auto setHandle = Export<SetHandleFunction>(library_.get(), kOrdinalSetHandle);
    const auto hookProcedure = Export<HOOKPROC>(library_.get(), kOrdinalHookProcedure);
    if (!setHostWindow || !setHandle || !hookProcedure) {
        library_.reset();
        return InstallResult::ExportsMissing;
    }

    // The library passes every call on untouched until it knows the hook handle.
    setHostWindow(hostWindow);
    setHandle(nullptr);
    hookHandle_ = ::SetWindowsHookExA(WH_CALLWNDPROCRET, hookProcedure, library_.get(), 0);
    if (!hookHandle_)
        return InstallResult::HookRefused;
    setHandle(hookHandle_);

    ForEachTopLevelWindow([](HWND window) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    });
    return InstallResult::Installed;
}

bool HookLibrary::Remove() {
    if (!hookHandle_)
        return false;
    const bool unhooked = ::UnhookWindowsHookEx(hookHandle_) != FALSE;
    const bool freed = ::FreeLibrary(library_.release()) != FALSE;
    hookHandle_ = nullptr;
    ForEachTopLevelWindow([](HWND window) { ::SendMessageA(window, WM_NCPAINT, 1, 0); });
    return unhooked && freed;
}

}  // namespace kz
