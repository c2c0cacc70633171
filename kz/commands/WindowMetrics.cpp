#include "kz/commands/WindowMetrics.h"

#include "common/Dpi.h"

#include <algorithm>

namespace kz {

int RolledUpHeight(HWND window) {
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    if (!::GetWindowInfo(window, &info))
        return 0;
    // Scroll bars belong to the client's edge that the roll takes away.
    const DWORD style = info.dwStyle & ~(WS_VSCROLL | WS_HSCROLL);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, style, info.dwExStyle, WindowDpi(window));
    // The frame as the window has it: the measure leaves the padded border
    // of a sizing frame out or in depending on the system and on the system
    // version the measuring program is made for. A scroll bar may lie on
    // one side of the client area, never on both.
    const int side = std::min(info.rcClient.left - info.rcWindow.left, info.rcWindow.right - info.rcClient.right);
    const int frameGap = side > 0 ? side + frame.left : 0;
    return frame.bottom - frame.top + 2 * frameGap;
}

}  // namespace kz
