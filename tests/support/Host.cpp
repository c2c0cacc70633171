#include "tests/support/Host.h"

#include "common/Product.h"
#include "common/Protocol.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/settings/Usettingsfile.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/TestWindows.h"

#include <tlhelp32.h>

#include <stdexcept>

namespace kz::test {

SettingsRecord QuietHostSettings() {
    SettingsRecord settings;
    SetDefaultSettings(settings);
    settings.ShowSplash = false;
    return settings;
}

bool HostWindow::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
    DWORD_PTR answer = 0;
    const bool answered =
        ::SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_NORMAL, 10000, &answer) != 0;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return answered;
}

bool HostWindow::NotifyTrayClick(UINT iconId, UINT mouseMessage) const {
    return Send(WM_TRAYNOTIFY, iconId, mouseMessage);
}

InProcessHost::InProcessHost(bool trayMenuSeparate) {
    SettingsRecord settings = QuietHostSettings();
    settings.ShowTips = false;
    settings.TrayMenuSeparate = trayMenuSeparate;
    main_ = TTQuorvane_Invisible_Buttons::Create(executor_, ::GetModuleHandleW(nullptr), settings);
    if (!main_)
        throw std::runtime_error("The main window cannot be made");
    window_ = main_->Window();
    trayMenu_ = std::make_unique<TdmTrayMenu>(*main_, !settings.TrayMenuSeparate, executor_);
    main_->SetTrayMenu(trayMenu_.get());
    executor_.Connect(window_, trayMenu_.get(), nullptr, &journal_);
}

InProcessHost::~InProcessHost() {
    executor_.RestoreAll();
    executor_.Connect(nullptr, nullptr, nullptr, nullptr);
    PumpPending();
}

std::wstring HostPath() { return BinaryDirectory() + L"\\kz.exe"; }

bool HostBuilt() { return ::GetFileAttributesW(HostPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

RunningHost::RunningHost() : program_(Quoted(HostPath()), BinaryDirectory()) {}

RunningHost::~RunningHost() {
    if (Running() && !Exit())
        Kill();
}

bool RunningHost::WaitUntilReady(std::chrono::milliseconds timeout) {
    if (!Started())
        return false;
    return WaitUntil(
        [this] {
            const std::vector<HWND> windows = WindowsOfProcess(ProcessId(), kMainWindowClass);
            window_ = windows.empty() ? nullptr : windows.front();
            return window_ && TrayIconShown(window_, kHostTrayIconId);
        },
        timeout);
}

bool RunningHost::Exit(DWORD* exitCode) {
    if (!Started())
        return false;
    RunHostExitCommand();
    return program_.WaitForExit(std::chrono::seconds(30), exitCode);
}

DWORD RunningHost::CompanionProcessId() const {
    const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == ProcessId() && ::_wcsicmp(entry.szExeFile, L"kz.exe") == 0)
            return entry.th32ProcessID;
    return 0;
}

void RealHostTest::SetUp() {
    ASSERT_TRUE(HostBuilt()) << "kz.exe is missing beside the test program";
    // A host left over by an earlier run would turn this one into a second instance.
    if (::FindWindowW(kMainWindowClass, nullptr))
        RunHostExitCommand();
    ASSERT_EQ(::FindWindowW(kMainWindowClass, nullptr), nullptr) << "a kz.exe from elsewhere is running";
    ResetHostSettings();
    ParkMouse();
}

bool RunHostExitCommand() {
    const ChildProgram exitCommand(Quoted(HostPath()) + L" --exit", BinaryDirectory());
    return exitCommand.WaitForExit(std::chrono::seconds(30));
}

void ResetHostSettings() {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
        for (const wchar_t* value : {kBlacklistValueW, kHiddenJournalValueW})
            ::RegDeleteValueW(key.get(), value);
    }
    SettingsRecord settings = QuietHostSettings();
    SaveSettings(settings);
}

int ShownTrayIconCount() {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT bar;
    if (!tray || !::GetWindowRect(tray, &bar))
        return -1;
    // Painted afresh first: pixels of task buttons just gone must not count.
    ::RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The right edge of the task buttons: the notification area lies to their right.
    LONG buttonsEnd = bar.left;
    ForEachWindow(tray, [&](HWND child) {
        RECT rect;
        if (::IsWindowVisible(child) && ::GetWindowRect(child, &rect) && rect.right > buttonsEnd)
            buttonsEnd = rect.right;
        return true;
    });
    // Wine's shell draws the icons into the taskbar itself, right-aligned, one
    // small icon and a border of two pixels on each side per cell.
    const int cell = ::GetSystemMetrics(SM_CXSMICON) + 4;
    const int width = bar.right - buttonsEnd;
    const int height = bar.bottom - bar.top;
    if (width < cell || height <= 4)
        return 0;
    const std::vector<uint32_t> pixels = ScreenPixels(RECT{buttonsEnd, bar.top, bar.right, bar.bottom});
    if (pixels.empty())
        return -1;
    const uint32_t background = pixels[width - 1];  // the top right corner lies outside every icon
    int icons = 0;
    for (int right = width; right - cell >= 0; right -= cell) {
        int drawn = 0;
        for (int y = 2; y < height - 2; ++y)
            for (int x = right - cell + 2; x < right - 2; ++x)
                drawn += pixels[y * width + x] != background;
        icons += drawn > 8;
    }
    return icons;
}

}  // namespace kz::test
