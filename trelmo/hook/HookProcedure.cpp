#include "trelmo/hook/HookProcedure.h"

#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/LibraryProcess.h"
#include "trelmo/hook/SettingsReader.h"

#include <cwchar>

namespace kz {

namespace {

// The library's own helper windows, and the dimming layer some programs lay over the desktop.
constexpr const wchar_t* kExcludedClasses[] = {L"ToolBarAeroHelperWindow", L"ToolBarOffice2007HelperWindow",
                                               L"DimmedWindowClass"};

bool HasCaptionAndSystemMenu(LONG style) {
    return (style & (WS_BORDER | WS_DLGFRAME)) != 0 && (style & WS_SYSMENU) != 0;
}

bool IsOwnedByHost(HWND window, HWND host) {
    if (!host)
        return false;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    return window == host || (owner && (owner == host || owner == ::GetWindow(host, GW_OWNER)));
}

}  // namespace

bool IsEligible(HWND window) {
    LibraryProcess& process = Process();
    if (!process.ProcessEnabled() || process.ProcessBlacklisted() || !window)
        return false;
    if (IsOwnedByHost(window, process.HostWindow()))
        return false;
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    if (!process.IsSkypeProcess() && !HasCaptionAndSystemMenu(style))
        return false;
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    if (!(style & WS_VISIBLE) || (exStyle & (WS_EX_TOOLWINDOW | WS_EX_MDICHILD | WS_EX_NOACTIVATE)) ||
        !::IsWindowVisible(window))
        return false;
    wchar_t className[256];
    if (::GetClassNameW(window, className, 255) == 0 || className[0] == L'#')
        return false;
    for (const wchar_t* excluded : kExcludedClasses)
        if (std::wcscmp(className, excluded) == 0)
            return false;
    return !(style & WS_CHILD);
}

void AttachWindow(HWND window) {
    LibraryProcess& process = Process();
    // Without a host nobody would carry out a button's command.
    if (process.FindRecord(window) || !IsEligible(window) || !process.HostPresent())
        return;
    auto created = std::make_unique<HookedWindow>(window, ReadSettings());
    HookedWindow* record;
    {
        Lock lock(process.RegistryLock());
        if (process.Registry().Find(window))
            return;
        created->Subclass();
        record = process.Registry().Insert(std::move(created));
    }
    process.WatchHost(process.HostWindow());
    // Outside the lock: a window belongs to one thread, so its own messages
    // cannot race with its attach.
    record->InstallHandlers();
}

LRESULT HookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept {
    LibraryProcess& process = Process();
    const HHOOK hook = process.HookHandle();
    if (process.HookActive() && code >= 0 && hook && lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        try {
            switch (call->message) {
            case WM_NCPAINT:
                AttachWindow(call->hwnd);
                break;
            case WM_DESTROY:
            case WM_QUIT:
            case WM_NCDESTROY:
                ReleaseWindow(call->hwnd);
                break;
            default:
                break;
            }
        } catch (...) {
            // The window stays as it is; the process goes on.
        }
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace kz
