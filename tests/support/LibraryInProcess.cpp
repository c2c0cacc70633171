#include "tests/support/LibraryInProcess.h"

#include "trelmo/hook/HookProcedure.h"

namespace kz::test {

namespace {

constexpr wchar_t kTestWindowClass[] = L"KzTestWindow";

}  // namespace

void RegisterTestWindowClass(const wchar_t* className) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);
}

LibraryInProcess::LibraryInProcess(HandlerInstaller installer) {
    shared_.hostWindow = host_.Window();
    // Any non-zero value: the hook procedure only works once the host has set it.
    shared_.hook = reinterpret_cast<HHOOK>(1);
    wchar_t path[512];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
    Process().Start(::GetModuleHandleW(nullptr), &shared_, path, length);
    Process().installHandlers = installer;
}

LibraryInProcess::~LibraryInProcess() {
    Process().Stop(false);
    Process().installHandlers = InstallStandardHandlers;
}

LRESULT LibraryInProcess::CallHook(HWND window, UINT message) {
    CWPRETSTRUCT call{};
    call.hwnd = window;
    call.message = message;
    return HookProcedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
}

HWND CreateTestWindow(DWORD style, DWORD exStyle, HWND owner, const wchar_t* className) {
    RegisterTestWindowClass(kTestWindowClass);
    return ::CreateWindowExW(exStyle, className ? className : kTestWindowClass, L"Barquill test window",
                             style | WS_VISIBLE, 100, 100, 480, 320, owner, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
}

}  // namespace kz::test
