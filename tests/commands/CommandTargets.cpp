#include "tests/commands/CommandTargets.h"

#include <algorithm>

namespace kz::test {

namespace {

constexpr wchar_t kTargetClass[] = L"KzCommandTarget";

LRESULT CALLBACK TargetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        ShowEvents().push_back({window, wParam != FALSE});
        break;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {1, 1};
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::vector<ShowEvent>& ShowEvents() {
    static std::vector<ShowEvent> events;
    return events;
}

UniqueWindow MakeTarget(DWORD style, DWORD exStyle, HWND owner, const wchar_t* title) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TargetProcedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = TargetClassIcon();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kTargetClass;
    ::RegisterClassExW(&wc);  // fails harmlessly when already registered
    UniqueWindow window(::CreateWindowExW(exStyle, kTargetClass, title, style, 100, 100, 400, 300, owner, nullptr,
                                          wc.hInstance, nullptr));
    ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    return window;
}

HICON TargetClassIcon() { return ::LoadIconW(nullptr, IDI_APPLICATION); }

int WindowHeight(HWND w) {
    RECT rect{};
    ::GetWindowRect(w, &rect);
    return rect.bottom - rect.top;
}

int WindowWidth(HWND w) {
    RECT rect{};
    ::GetWindowRect(w, &rect);
    return rect.right - rect.left;
}

LONG_PTR ExStyle(HWND w) { return ::GetWindowLongPtrW(w, GWL_EXSTYLE); }

bool RecordingBoxes::HasBox(HWND target) const {
    return std::find(boxes.begin(), boxes.end(), target) != boxes.end();
}

void RecordingBoxes::AddBox(HWND target, HICON icon, int iconSize) {
    boxes.push_back(target);
    lastIcon = icon;
    lastIconSize = iconSize;
}

void RecordingBoxes::RemoveBox(HWND target) {
    ++removals;
    boxes.erase(std::remove(boxes.begin(), boxes.end(), target), boxes.end());
}

}  // namespace kz::test
