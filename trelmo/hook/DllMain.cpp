// The library's entry: the section shared by every process, the three
// exports the host binds by ordinal, and load and unload.
#include "trelmo/hook/HookProcedure.h"
#include "trelmo/hook/LibraryProcess.h"

#include <windows.h>

#include <cstdlib>

// Every callback catches what it throws; should anything still escape, the
// host program must not get a console message about it, and the name
// demangler that message needs stays out of a library loaded everywhere.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

// One copy for all processes: the host writes it, every process reads it.
__attribute__((section("KZSHARED"), shared)) volatile kz::SharedSection g_shared = {nullptr, nullptr};

}  // namespace

extern "C" {

LRESULT CALLBACK HookGETMESSAGE(int code, WPARAM wParam, LPARAM lParam) {
    return kz::HookProcedure(code, wParam, lParam);
}

void WINAPI SetHandle(HHOOK hook) { g_shared.hook = hook; }

void WINAPI SetHostWindow(HWND window) { g_shared.hostWindow = window; }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        ::DisableThreadLibraryCalls(module);
        wchar_t path[512];
        const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
        kz::Process().Start(module, &g_shared, path, length);
        break;
    }
    case DLL_PROCESS_DETACH:
        kz::Process().Stop(reserved != nullptr);
        break;
    default:
        break;
    }
    return TRUE;
}

}  // extern "C"
