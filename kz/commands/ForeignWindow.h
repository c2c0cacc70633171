// A top-level window of another program, as the host acts on it. The host
// never waits for a program that does not answer: the calls that change a
// window of another thread wait for that thread to carry them out. A window
// whose thread answers a plain message at once is changed synchronously, so
// that the change, and whatever the window's library reports of it, has
// happened when the call returns (the roll relies on that); a window that
// does not answer is sent the asynchronous form, which its thread carries
// out once it runs again, or is left as it is where there is none.
#pragma once

#include <windows.h>

#include <optional>

namespace kz {

// Sizes a window without moving it or changing the z-order.
constexpr UINT kResizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

class ForeignWindow {
public:
    explicit ForeignWindow(HWND window) : window_(window) {}

    HWND Handle() const { return window_; }
    // Whether the window's thread answered a plain message within a short
    // time; asked once, when first needed. False for a window that is gone.
    bool Answers() const;

    // ShowWindow, or ShowWindowAsync when the window does not answer.
    void Show(int command) const;
    // SetWindowPos, with SWP_ASYNCWINDOWPOS when the window does not answer;
    // false when the system refused it (a window above the host, or gone).
    bool SetPosition(HWND insertAfter, int x, int y, int width, int height, UINT flags) const;
    // These have no asynchronous form: false, and nothing changed, when the
    // window does not answer or the call fails.
    bool SetExtendedStyle(LONG_PTR style) const;
    bool SetPlacement(const WINDOWPLACEMENT& placement) const;

private:
    HWND window_;
    mutable std::optional<bool> answers_;
};

}  // namespace kz
