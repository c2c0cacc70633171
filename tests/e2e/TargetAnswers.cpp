#include "tests/e2e/TargetAnswers.h"

#include "tests/e2e/TargetQuery.h"

#include <cwchar>

namespace kz::test {

namespace {

// One count for all the program's windows.
LONG g_ncPaints = 0;

}  // namespace

bool ProcedureLiesInHookLibrary(HWND window) {
    const auto procedure = reinterpret_cast<LPCWSTR>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              procedure, &module))
        return false;
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    return length >= 10 && ::_wcsicmp(path + length - 10, L"trelmo.dll") == 0;
}

LRESULT PaintNonClientCounted(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(window, WM_NCPAINT, wParam, lParam);
    ++g_ncPaints;
    return result;
}

LRESULT AnswerAboutWindow(HWND window, WPARAM question, LPARAM argument) {
    switch (question) {
    case kAskAttached: return ProcedureLiesInHookLibrary(window) ? 1 : 0;
    case kAskNcPaints: return g_ncPaints;
    case kAskSystemMenuCount: return ::GetMenuItemCount(::GetSystemMenu(window, FALSE));
    case kAskSystemMenuId: return static_cast<LRESULT>(::GetMenuItemID(::GetSystemMenu(window, FALSE), argument));
    default: return -1;
    }
}

}  // namespace kz::test
