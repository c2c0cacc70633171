#include "tests/host_e2e/HostDriver.h"

#include "tests/host_e2e/MessageProbe.h"
#include "tests/e2e/TargetQuery.h"
#include "kz/settings/Usettingsfile.h"

#include <shellapi.h>

namespace kz::test {

namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Quorvane\\Barquill";

struct ProcessWindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    if (search->className) {
        wchar_t name[128] = {};
        ::GetClassNameW(window, name, 128);
        if (::lstrcmpiW(name, search->className) != 0)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

// The right edge of the task buttons: the notification area lies to their right.
BOOL CALLBACK FindTaskButtonsEnd(HWND child, LPARAM context) {
    auto* end = reinterpret_cast<LONG*>(context);
    RECT rect;
    if (::IsWindowVisible(child) && ::GetWindowRect(child, &rect) && rect.right > *end)
        *end = rect.right;
    return TRUE;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace

std::wstring HostPath() { return BinaryDirectory() + L"\\kz.exe"; }

bool HostBuilt() { return ::GetFileAttributesW(HostPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

LaunchedProgram StartProgram(const std::wstring& commandLine, const std::wstring& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    LaunchedProgram launched;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        launched.process.reset(info.hProcess);
        launched.processId = info.dwProcessId;
    }
    return launched;
}

bool WaitForExit(HANDLE process, std::chrono::milliseconds timeout, DWORD* exitCode) {
    const bool ended = WaitUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeout);
    if (ended && exitCode)
        ::GetExitCodeProcess(process, exitCode);
    return ended;
}

std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className) {
    ProcessWindowSearch search{processId, className, {}};
    ::EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RunningHost::RunningHost() : program_(StartProgram(Quoted(HostPath()), BinaryDirectory())) {}

RunningHost::~RunningHost() {
    if (!Running())
        return;
    if (!Exit())
        Kill();
}

bool RunningHost::Running() const {
    return program_.process && ::WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT;
}

bool RunningHost::WaitUntilReady(std::chrono::milliseconds timeout) {
    if (!program_.process)
        return false;
    return WaitUntil(
        [this] {
            const std::vector<HWND> windows = WindowsOfProcess(program_.processId, kHostWindowClass);
            mainWindow_ = windows.empty() ? nullptr : windows.front();
            return mainWindow_ && TrayIconShown(mainWindow_, kHostTrayIconId);
        },
        timeout);
}

bool RunningHost::Exit(DWORD* exitCode) {
    if (!program_.process)
        return false;
    RunHostExitCommand();
    return WaitForExit(program_.process.get(), std::chrono::seconds(30), exitCode);
}

void RunningHost::Kill() {
    if (!Running())
        return;
    ::TerminateProcess(program_.process.get(), 99);
    WaitForExit(program_.process.get(), std::chrono::seconds(20));
}

bool RunningHost::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
    DWORD_PTR answer = 0;
    const bool answered =
        ::SendMessageTimeoutW(mainWindow_, message, wParam, lParam, SMTO_NORMAL, 10000, &answer) != 0;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return answered;
}

bool RunningHost::NotifyTrayClick(UINT iconId, UINT mouseMessage) const {
    return Send(kTrayNotifyMessage, iconId, mouseMessage);
}

bool RunHostExitCommand() {
    const LaunchedProgram exitCommand = StartProgram(Quoted(HostPath()) + L" --exit", BinaryDirectory());
    return exitCommand.process && WaitForExit(exitCommand.process.get(), std::chrono::seconds(30));
}

bool TrayIconShown(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

int ShownTrayIconCount() {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT bar;
    if (!tray || !::GetWindowRect(tray, &bar))
        return -1;
    // Painted afresh first: pixels of task buttons just gone must not count.
    ::RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    LONG buttonsEnd = bar.left;
    ::EnumChildWindows(tray, &FindTaskButtonsEnd, reinterpret_cast<LPARAM>(&buttonsEnd));
    // Wine's shell draws the icons into the taskbar itself, right-aligned, one
    // small icon and a border of two pixels on each side per cell.
    const int cell = ::GetSystemMetrics(SM_CXSMICON) + 4;
    const int width = bar.right - buttonsEnd;
    const int height = bar.bottom - bar.top;
    if (width < cell || height <= 4)
        return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap strip(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const WindowDC screen = WindowDC::OfClient(nullptr);
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!strip || !memory)
        return -1;
    {
        const SelectGuard select(memory.get(), strip.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), buttonsEnd, bar.top, SRCCOPY);
    }
    const auto* pixels = static_cast<const DWORD*>(bits);
    const DWORD background = pixels[width - 1] & 0xFFFFFF;  // the top right corner lies outside every icon
    int icons = 0;
    for (int right = width; right - cell >= 0; right -= cell) {
        int drawn = 0;
        for (int y = 2; y < height - 2; ++y)
            for (int x = right - cell + 2; x < right - 2; ++x)
                drawn += (pixels[y * width + x] & 0xFFFFFF) != background;
        icons += drawn > 8;
    }
    return icons;
}

WindowsTarget::WindowsTarget(const Layout& layout)
    : program_(StartProgram(Quoted(BinaryDirectory() + L"\\kz_windows_target.exe") +
                            L" --count " + std::to_wstring(layout.count) + L" --at " + std::to_wstring(layout.at.x) +
                            L"," + std::to_wstring(layout.at.y) + L" --size " + std::to_wstring(layout.size.cx) +
                            L"," + std::to_wstring(layout.size.cy) + L" --step " + std::to_wstring(layout.step.cx) +
                            L"," + std::to_wstring(layout.step.cy) + L" --title " + Quoted(layout.title))),
      count_(layout.count) {}

WindowsTarget::~WindowsTarget() {
    if (program_.process && ::WaitForSingleObject(program_.process.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(program_.process.get(), 1);
        ::WaitForSingleObject(program_.process.get(), 10000);
    }
}

bool WindowsTarget::WaitForWindows() {
    if (!program_.process)
        return false;
    return WaitUntil(
        [this] {
            std::vector<HWND> visible;
            for (HWND window : WindowsOfProcess(program_.processId, L"KzWindowsTarget"))
                if (::IsWindowVisible(window))
                    visible.push_back(window);
            if (static_cast<int>(visible.size()) < count_)
                return false;
            windows_ = visible;
            return true;
        },
        std::chrono::seconds(30));
}

bool Attached(HWND window) { return AskTarget(window, kAskAttached) == 1; }

bool WaitUntilAttached(const std::vector<HWND>& windows, bool attached, std::chrono::milliseconds timeout) {
    std::size_t done = 0;  // windows already seen in the wanted state stay counted
    return WaitUntil(
        [&] {
            while (done < windows.size() && Attached(windows[done]) == attached)
                ++done;
            return done == windows.size();
        },
        timeout);
}

void ClickAt(HWND window, int x, int y) {
    // Two clicks closer together than the double-click time are one double
    // click for the system (under Wine even at different places of a caption),
    // and a double click is no button press.
    static auto lastClick = std::chrono::steady_clock::time_point();
    const auto apart = std::chrono::milliseconds(::GetDoubleClickTime() + 100);
    WaitUntil([&] { return std::chrono::steady_clock::now() - lastClick > apart; }, apart);
    // As a hand does: onto the point first, and press once the window has
    // seen the pointer arrive. A press in the same instant as the move is
    // sometimes lost under Wine.
    MessageProbe probe;
    probe.Attach(::GetWindowThreadProcessId(window, nullptr));
    INPUT move = MouseInputAt(x, y, 0);
    ::SendInput(1, &move, sizeof(INPUT));
    WaitUntil([&] {
        const ProbeCounts counts = probe.Counts();
        return counts.Count(WM_NCMOUSEMOVE) + counts.Count(WM_MOUSEMOVE) > 0;
    });
    INPUT press[2] = {MouseInputAt(x, y, MOUSEEVENTF_LEFTDOWN), MouseInputAt(x, y, MOUSEEVENTF_LEFTUP)};
    ::SendInput(2, press, sizeof(INPUT));
    lastClick = std::chrono::steady_clock::now();
}

void ParkMouse() {
    INPUT input = MouseInputAt(::GetSystemMetrics(SM_CXSCREEN) - 40, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0);
    ::SendInput(1, &input, sizeof(INPUT));
}

int WindowHeight(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

bool Topmost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool Layered(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!Layered(window) || !::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

void ResetHostSettings() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        for (const wchar_t* value : {L"Blacklist", L"Hidden"})
            ::RegDeleteValueW(key, value);
        ::RegCloseKey(key);
    }
    SettingsRecord settings;
    SetDefaultSettings(settings);
    settings.ShowSplash = false;
    SaveSettings(settings);
}

}  // namespace kz::test
