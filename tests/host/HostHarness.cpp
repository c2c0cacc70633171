#include "tests/host/HostHarness.h"

#include "kz/commands/Impprofile.h"
#include "kz/settings/Usettingsfile.h"

#include <shellapi.h>

#include <stdexcept>

namespace kz::test {

namespace {

SettingsRecord TestSettings(bool trayMenuSeparate) {
    SettingsRecord settings;
    SetDefaultSettings(settings);
    settings.ShowSplash = false;
    settings.ShowTips = false;
    settings.TrayMenuSeparate = trayMenuSeparate;
    return settings;
}

void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR, DWORD) noexcept { ::EndMenu(); }

constexpr UINT kStuckMenuMs = 5000;

}  // namespace

InProcessHost::InProcessHost(bool trayMenuSeparate) {
    const SettingsRecord settings = TestSettings(trayMenuSeparate);
    main_ = TTQuorvane_Invisible_Buttons::Create(::GetModuleHandleW(nullptr), settings);
    if (!main_)
        throw std::runtime_error("The main window cannot be made");
    trayMenu_ = std::make_unique<TdmTrayMenu>(*main_, !settings.TrayMenuSeparate);
    main_->SetTrayMenu(trayMenu_.get());
    ImpProfile().Connect(main_->Window(), trayMenu_.get(), nullptr, &journal_);
}

InProcessHost::~InProcessHost() {
    TImpProfile& executor = ImpProfile();
    executor.RestoreAll();
    while (executor.Current().Count() > 0)
        executor.ForgetWindow(executor.Current()[0].Wnd);
    executor.Connect(nullptr, nullptr, nullptr, nullptr);
    PumpPending();
}

LRESULT InProcessHost::Send(UINT message, HWND about, LPARAM argument) {
    return ::SendMessageW(Window(), message, reinterpret_cast<WPARAM>(about), argument);
}

TargetProgram::TargetProgram(const std::wstring& title)
    : program_(L"\"" + BinaryDirectory() + L"\\kz_target.exe\" " + title), window_(program_.WaitForWindow()) {}

void TypeIntoMenu(HWND owner, std::initializer_list<UINT> keys, const std::function<void()>& open) {
    PumpPending();  // a quit request left by an earlier host would end the menu at once
    for (UINT key : keys)
        ::PostMessageW(owner, WM_KEYDOWN, key, 0);
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, kStuckMenuMs, &CloseStuckMenu);
    open();
    ::KillTimer(nullptr, watchdog);
    PumpPending();
}

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    std::wstring plain;
    for (const wchar_t* c = text; *c; ++c)
        if (*c != L'&')
            plain += *c;
    return plain;
}

bool ItemEnabled(HMENU menu, int position) {
    return (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool ItemChecked(HMENU menu, int position) {
    return (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

bool IsSeparator(HMENU menu, int position) {
    return (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

HWND CreateTestWindow(DWORD style, DWORD exStyle, HWND owner) {
    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KzHostTestWindow";
        return ::RegisterClassW(&wc);
    }();
    return ::CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(windowClass)), L"Host test window", style | WS_VISIBLE, 60, 60, 300,
                             200, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

bool IsTopmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool IsLayered(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

int WindowHeight(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

bool DeleteTrayIcon(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace kz::test
