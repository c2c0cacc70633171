#include "tests/support/LibraryInProcess.h"

#include "trelmo/hook/HookProcedure.h"

namespace kz::test {

LibraryInProcess::LibraryInProcess(HandlerInstaller installer) {
    SetHostWindow(host_.Window());
    // Any non-zero value: the hook procedure only works once the host has set it.
    StoreHookHandle(shared_, CurrentSession(), reinterpret_cast<HHOOK>(1));
    wchar_t path[512];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
    Process().Start(::GetModuleHandleW(nullptr), &shared_, CurrentSession(), path, length);
    Process().installHandlers = installer;
}

LibraryInProcess::~LibraryInProcess() {
    Process().Stop(false);
    Process().installHandlers = InstallStandardHandlers;
}

void LibraryInProcess::SetHostWindow(HWND window) { StoreHostWindow(shared_, CurrentSession(), window); }

LRESULT LibraryInProcess::CallHook(HWND window, UINT message) {
    CWPRETSTRUCT call{};
    call.hwnd = window;
    call.message = message;
    return HookProcedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
}

}  // namespace kz::test
