#include "kz/commands/WindowMetrics.h"

#include "kz/commands/Dpi.h"

namespace kz {

int RolledUpHeight(HWND window) {
    const UINT dpi = WindowDpi(window);
    // Scroll bars belong to the client's edge that the roll takes away.
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & ~(WS_VSCROLL | WS_HSCROLL);
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, style, exStyle, dpi);
    int height = frame.bottom - frame.top;
    // A sizing frame has the padded border around it since Windows Vista;
    // the measure leaves it out for programs made for older systems, the
    // window has it all the same.
    if (style & WS_THICKFRAME) {
        const int sizingFrame = MetricForDpi(SM_CXSIZEFRAME, dpi) + MetricForDpi(SM_CXPADDEDBORDER, dpi);
        if (-frame.left < sizingFrame)
            height += 2 * (sizingFrame + frame.left);
    }
    return height;
}

}  // namespace kz
