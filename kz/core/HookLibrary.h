// The host's side of the hook: loads trelmo.dll, binds its three exports by
// ordinal, hands it the host window and installs the system-wide hook.
#pragma once

#include "../../common/Handles.h"

#include <windows.h>

namespace kz {

class HookLibrary {
public:
    enum class InstallResult { Installed, LibraryMissing, ExportsMissing, HookRefused };

    HookLibrary() = default;
    ~HookLibrary() { Remove(); }
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    // Installs the hook for every thread of the desktop and repaints every
    // top-level frame so that the library attaches at once.
    InstallResult Install(HWND hostWindow, const char* libraryPath = "trelmo.dll");
    // Removes the hook and repaints every frame without the library's buttons.
    // False when there was no hook.
    bool Remove();

    bool Installed() const { return hookHandle_ != nullptr; }

private:
    using SetHandleFunction = void(WINAPI*)(HHOOK);
    using SetHostWindowFunction = void(WINAPI*)(HWND);

    UniqueModule library_;
    HHOOK hookHandle_ = nullptr;
};

namespace detail {
template <typename Visit>
BOOL CALLBACK VisitVisibleWindow(HWND window, LPARAM context) {
    if (::IsWindowVisible(window))
        (*reinterpret_cast<Visit*>(context))(window);
    return TRUE;
}
}  // namespace detail

// The visible top-level windows of the desktop, in z-order.
template <typename Visit>
void ForEachTopLevelWindow(Visit visit) {
    ::EnumWindows(&detail::VisitVisibleWindow<Visit>, reinterpret_cast<LPARAM>(&visit));
}

}  // namespace kz
