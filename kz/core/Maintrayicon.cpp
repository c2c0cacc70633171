#include "kz/core/Maintrayicon.h"

#include "common/Product.h"
#include "common/Dpi.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/core/Traytips.h"

#include <utility>

namespace kz {

namespace {

// The image of the size the shell asks for, one of those the resource carries.
UniqueIcon LoadTrayIcon(UINT dpi) {
    const int size = MetricForDpi(SM_CXSMICON, dpi);
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"TRAYICON", IMAGE_ICON, size, size, 0)));
}

}  // namespace

void MainTrayIcon::Add(HWND owner, bool withBalloons) {
    icon_ = LoadTrayIcon(SystemDpi());
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = withBalloons ? NOTIFYICONDATAW_V3_SIZE : NOTIFYICONDATAW_V2_SIZE;
    data_.hWnd = owner;
    data_.uID = kHostTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = WM_TRAYNOTIFY;
    data_.hIcon = icon_.get();
    CopyToField(data_.szTip, kApplicationTitle);
    ::Shell_NotifyIconW(NIM_ADD, &data_);
}

void MainTrayIcon::AddAgain() {
    if (!data_.hWnd)
        return;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    ::Shell_NotifyIconW(NIM_ADD, &data_);
}

void MainTrayIcon::ShowAtScale(UINT dpi) {
    if (!data_.hWnd)
        return;
    UniqueIcon icon = LoadTrayIcon(dpi);
    if (!icon)
        return;
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon.get();
    ::Shell_NotifyIconW(NIM_MODIFY, &data_);
    icon_ = std::move(icon);
}

void MainTrayIcon::ShowTip(const wchar_t* text) {
    data_.uFlags = NIF_INFO;
    CopyToField(data_.szInfo, text);
    CopyToField(data_.szInfoTitle, kApplicationTitle);
    data_.uTimeout = kTipTimeoutMs;
    data_.dwInfoFlags = NIIF_INFO;
    ::Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void MainTrayIcon::Delete() {
    if (data_.hWnd)
        ::Shell_NotifyIconW(NIM_DELETE, &data_);
    data_.hWnd = nullptr;
}

}  // namespace kz
