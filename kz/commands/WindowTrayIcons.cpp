#include "kz/commands/WindowTrayIcons.h"

#include "common/Dpi.h"
#include "kz/commands/Boxicon.h"
#include "kz/commands/HostInternalMessages.h"

#include <algorithm>
#include <utility>

namespace kz {

NOTIFYICONDATAW WindowIconData(HWND mainWindow, HWND w, HICON icon) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = TrayIconIdOf(w);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = icon;
    ::GetWindowTextW(w, data.szTip, ARRAYSIZE(data.szTip));
    return data;
}

WindowTrayIcons::~WindowTrayIcons() {
    for (Icon& icon : icons_)
        ::Shell_NotifyIconW(NIM_DELETE, &icon.data);
}

std::size_t WindowTrayIcons::IndexOf(HWND w) const {
    const auto position =
        std::find_if(icons_.begin(), icons_.end(), [w](const Icon& icon) { return icon.window == w; });
    return static_cast<std::size_t>(position - icons_.begin());
}

void WindowTrayIcons::Add(HWND mainWindow, HWND w, HICON icon) {
    Remove(w);
    UniqueIcon sized = ResourceImageOfSize(icon, MetricForDpi(SM_CXSMICON, SystemDpi()));
    icons_.push_back({w, WindowIconData(mainWindow, w, sized ? sized.get() : icon), std::move(sized)});
    ::Shell_NotifyIconW(NIM_ADD, &icons_.back().data);
}

void WindowTrayIcons::Remove(HWND w) {
    const std::size_t index = IndexOf(w);
    if (index == icons_.size())
        return;
    ::Shell_NotifyIconW(NIM_DELETE, &icons_[index].data);
    icons_.erase(icons_.begin() + static_cast<std::ptrdiff_t>(index));
}

void WindowTrayIcons::AddAgain() {
    for (Icon& icon : icons_)
        ::Shell_NotifyIconW(NIM_ADD, &icon.data);
}

const NOTIFYICONDATAW* WindowTrayIcons::Find(HWND w) const {
    const std::size_t index = IndexOf(w);
    return index == icons_.size() ? nullptr : &icons_[index].data;
}

HWND WindowTrayIcons::WindowOf(UINT id) const {
    const auto position =
        std::find_if(icons_.begin(), icons_.end(), [id](const Icon& icon) { return icon.data.uID == id; });
    return position == icons_.end() ? nullptr : position->window;
}

}  // namespace kz
