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

// One copy for all processes: each session's host writes its own entry,
// every process reads the entry of its session.
__attribute__((section("KZSHARED"), shared)) volatile kz::SharedSection g_shared = {};

}  // namespace

extern "C" {

LRESULT CALLBACK HookGETMESSAGE(int code, WPARAM wParam, LPARAM lParam) {
    return kz::HookProcedure(code, wParam, lParam);
}

void WINAPI SetHandle(HHOOK hook) { kz::StoreHookHandle(g_shared, kz::CurrentSession(), hook); }

void WINAPI SetHostWindow(HWND window) { kz::StoreHostWindow(g_shared, kz::CurrentSession(), window); }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        ::DisableThreadLibraryCalls(module);
        wchar_t path[512];
        const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
        kz::Process().Start(module, &g_shared, kz::CurrentSession(), path, length);
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
