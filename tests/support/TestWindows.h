// Test support: the windows of the tests and what a test reads of windows.
// Windows of the test thread (of the test class, of a class with a procedure
// of the test's own, or with a handler object), pumping and waiting on
// conditions with a time-out, mouse input, the pixels of windows and of the
// screen, the looks and places of windows, the shell's tray icons, and the
// targets of the executor's commands.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kz::test {

// Pumps the calling thread's messages until condition() holds or the time is up.
// The time-out only bounds a failure: under load Wine may take seconds.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

// Pumps whatever is queued right now, without waiting.
void PumpPending();

// A mouse event at a screen point. Every event carries the point: a press
// without MOUSEEVENTF_MOVE happens wherever the pointer is, and under Wine the
// pointer may have been put back where the X server last saw it.
INPUT MouseInputAt(int x, int y, DWORD flags);
// A key going down, or up.
INPUT KeyInput(WORD key, bool up);

namespace detail {
template <typename Visit>
BOOL CALLBACK VisitEnumeratedWindow(HWND window, LPARAM context) {
    return (*reinterpret_cast<Visit*>(context))(window) ? TRUE : FALSE;
}
}  // namespace detail

// Calls visit(window) for every child of parent, or every top-level window
// when parent is null, until visit returns false. The system's callbacks
// have their own calling convention on i686, which no lambda has.
template <typename Visit>
void ForEachWindow(HWND parent, Visit visit) {
    const auto callback = &detail::VisitEnumeratedWindow<Visit>;
    if (parent)
        ::EnumChildWindows(parent, callback, reinterpret_cast<LPARAM>(&visit));
    else
        ::EnumWindows(callback, reinterpret_cast<LPARAM>(&visit));
}

// The top-level windows of a process, of the class when one is named.
std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className = nullptr);
// The first visible top-level window of a process with this class and, when
// one is given, this caption; null when there is none.
HWND FindShownWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr);
std::wstring WindowText(HWND window);

// Registers a window class of the test program with this procedure, double
// clicks, the arrow cursor and the window colour; nothing when it exists.
void RegisterTestWindowClass(const wchar_t* className, WNDPROC procedure = ::DefWindowProcW, HICON icon = nullptr);

// A visible top-level test window with the given styles, on the calling
// thread; of the test class unless another registered class is named.
HWND CreateTestWindow(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, HWND owner = nullptr,
                      const wchar_t* className = nullptr);

// A hidden window of the calling thread that stands in for the host's main
// window: in the classic look (visual style off) or in the current style.
UniqueWindow CreateMainWindowStandIn(bool classicLook = false);

// A test window whose messages go to a handler first; what the handler does
// not answer goes to the default procedure.
class TestWindow {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;
    // style: WS_VISIBLE for a window that shows at once.
    explicit TestWindow(Handler handler, DWORD style = WS_POPUP, DWORD exStyle = 0);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Window() const { return window_.get(); }
    void Destroy() { window_.reset(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    Handler handler_;
    UniqueWindow window_;
};

// Turns a window's visual style off. Empty names do it on Windows; Wine 8
// refuses them, and a name that no theme class has does the same there.
void UseClassicLook(HWND window);

RECT WindowRect(HWND window);
int WindowWidth(HWND window);
int WindowHeight(HWND window);
bool IsTopmost(HWND window);
bool IsLayered(HWND window);
// The window's alpha when it is layered with LWA_ALPHA; -1 otherwise.
int LayeredAlpha(HWND window);
// Shown, at this height, neither topmost nor layered: as it was before the
// host changed it.
bool LooksUnchanged(HWND window, int height);
// How many of the windows do not look unchanged; heights[i] is the height of windows[i].
int CountChanged(const std::vector<HWND>& windows, const std::vector<int>& heights);
// Whether the window's thread answers a plain message within the time.
bool Answers(HWND window, std::chrono::milliseconds timeout);

// The pixels of a rect of what a DC shows, 0x00RRGGBB, row after row from the top.
std::vector<uint32_t> PixelsOf(HDC source, const RECT& rect);
// ... of a window's frame (window coordinates), its client area, the screen.
std::vector<uint32_t> FramePixels(HWND window, const RECT& inWindow);
std::vector<uint32_t> ClientPixels(HWND window, const RECT& inClient);
std::vector<uint32_t> ScreenPixels(const RECT& onScreen);
uint32_t FramePixel(HWND window, int x, int y);
// The pixels of a bitmap that no DC holds.
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap);
int CountPixels(const std::vector<uint32_t>& pixels, uint32_t rgb);

// Whether the shell shows the icon (owner window, identifier): a modification
// without flags succeeds only for an icon that exists.
bool TrayIconShown(HWND owner, UINT id);
// Deletes the icon; false when the shell knew no such icon.
bool DeleteTrayIcon(HWND owner, UINT id);

// A WM_SHOWWINDOW a command target received: which window, shown or hidden.
struct ShowEvent {
    HWND window;
    bool shown;
    bool operator==(const ShowEvent& other) const { return window == other.window && shown == other.shown; }
};
// Every WM_SHOWWINDOW of every command target, in order of arrival.
std::vector<ShowEvent>& ShowEvents();

// A target of the executor's commands, shown without activation at a fixed
// place, 400 × 300. Its class has an icon. Its minimum tracking size is
// 1 × 1, so that it gets the height a roll-up asks for on every system.
UniqueWindow MakeCommandTarget(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, HWND owner = nullptr,
                               const wchar_t* title = L"Command target");
// The icon of the command targets' class: the system's application icon.
HICON CommandTargetIcon();

}  // namespace kz::test
