// The demo host: installs the hook library exactly as the host program does,
// opens a few target windows in other processes, and lists every command and
// notification the library sends. Close its window to end the demo.
//   kzdemo.exe [--seconds N]   ends by itself N seconds after it is ready
#include "../../common/Handles.h"
#include "../../common/Launch.h"
#include "../../kz/core/HookLibrary.h"
#include "../../trelmo/Protocol.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kz;

constexpr wchar_t kClassName[] = L"KzDemoHost";
constexpr UINT_PTR kEndTimer = 1;

const char* MessageName(UINT message) {
    switch (message) {
    case HM_TO_TRAY: return "HM_TO_TRAY";
    case HM_TO_COMMON_TRAY: return "HM_TO_COMMON_TRAY";
    case HM_TO_BOX: return "HM_TO_BOX";
    case HM_ROLL: return "HM_ROLL";
    case HM_ON_TOP: return "HM_ON_TOP";
    case HM_TO_BACK: return "HM_TO_BACK";
    case HM_TRANSPARENCY: return "HM_TRANSPARENCY";
    case HM_RUN_COPY: return "HM_RUN_COPY";
    case HM_WINDOW_GONE: return "HM_WINDOW_GONE";
    case HM_WINDOW_SIZED: return "HM_WINDOW_SIZED";
    default: return nullptr;
    }
}

class DemoHost {
public:
    bool Create(HINSTANCE instance);
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void OnLibraryMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND list_ = nullptr;
};

bool DemoHost::Create(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    ::RegisterClassW(&wc);
    // The demo's window is the host window: the library never gives it buttons.
    return ::CreateWindowExW(0, kClassName, L"Barquill demo host - commands received", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             640, 420, 370, 260, nullptr, nullptr, instance, this) != nullptr;
}

LRESULT CALLBACK DemoHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DemoHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DemoHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->OnMessage(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT DemoHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (MessageName(message)) {
        OnLibraryMessage(message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_TIMER: ::DestroyWindow(window_); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void DemoHost::OnCreate() {
    list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                              0, 0, 0, 0, window_, nullptr, nullptr, nullptr);
}

void DemoHost::OnSize(int width, int height) { ::MoveWindow(list_, 0, 0, width, height, TRUE); }

void DemoHost::OnLibraryMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto about = reinterpret_cast<HWND>(wParam);
    char title[128] = "";
    ::GetWindowTextA(about, title, sizeof title);
    char line[256];
    std::snprintf(line, sizeof line, "%s window=%p lParam=%ld \"%s\"", MessageName(message),
                  static_cast<void*>(about), static_cast<long>(lParam), title);
    std::printf("%s\n", line);
    std::fflush(stdout);
    const LRESULT index = ::SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    ::SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

// Programs the demo starts, ended when the demo ends.
class DemoPrograms {
public:
    // Starts a program and puts its window where the screenshot shows it whole.
    void Start(const std::wstring& commandLine, const RECT& place) {
        LaunchedProgram program = LaunchProgram(commandLine);
        if (!program.process)
            return;
        ::WaitForInputIdle(program.process.get(), 10000);
        if (const HWND window = FindProgramWindow(program.processId))
            ::SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        processes_.push_back(std::move(program.process));
    }
    ~DemoPrograms() {
        for (const UniqueKernelHandle& process : processes_)
            ::TerminateProcess(process.get(), 0);
    }

private:
    std::vector<UniqueKernelHandle> processes_;
};

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

const char* InstallFailure(HookLibrary::InstallResult result) {
    switch (result) {
    case HookLibrary::InstallResult::LibraryMissing: return "Unable to load library: trelmo.dll";
    case HookLibrary::InstallResult::ExportsMissing: return "Library trelmo.dll corrupted!";
    case HookLibrary::InstallResult::HookRefused: return "Unable to setup hook subsystem";
    default: return nullptr;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int seconds = 0;
    for (int i = 1; i + 1 < __argc; ++i)
        if (std::strcmp(__argv[i], "--seconds") == 0)
            seconds = std::atoi(__argv[i + 1]);

    DemoHost host;
    if (!host.Create(instance))
        return 1;
    HookLibrary hook;
    const std::wstring directory = ProgramDirectory();
    if (const char* failure = InstallFailure(hook.Install(host.Window()))) {
        std::printf("%s\n", failure);
        return 1;
    }

    DemoPrograms programs;
    programs.Start(L"\"" + directory + L"\\kz_target.exe\" Barquill demo window", {40, 330, 620, 600});
    programs.Start(L"notepad.exe", {20, 20, 600, 300});
    std::printf("READY\n");
    std::fflush(stdout);
    if (seconds > 0)
        ::SetTimer(host.Window(), kEndTimer, static_cast<UINT>(seconds) * 1000, nullptr);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
