#include "tests/support/TestWindows.h"

#include "common/Dib.h"

#include <shellapi.h>
#include <uxtheme.h>

namespace kz::test {

namespace {

constexpr wchar_t kTestWindowClass[] = L"KzTestWindow";
constexpr wchar_t kHandledWindowClass[] = L"KzHandledTestWindow";
constexpr wchar_t kCommandTargetClass[] = L"KzCommandTarget";

HWND NewWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND owner, void* parameter) {
    return ::CreateWindowExW(exStyle, className, L"Barquill test window", style, 100, 100, 480, 320, owner, nullptr,
                             ::GetModuleHandleW(nullptr), parameter);
}

LRESULT CALLBACK CommandTargetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

NOTIFYICONDATAW TrayIcon(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    return data;
}

}  // namespace

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpPending();
        if (condition())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 50 ? left : 50), QS_ALLINPUT);
    }
}

INPUT MouseInputAt(int x, int y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className) {
    std::vector<HWND> found;
    ForEachWindow(nullptr, [&](HWND window) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t name[128] = {};
        ::GetClassNameW(window, name, 128);
        if (owner == processId && (!className || ::lstrcmpiW(name, className) == 0))
            found.push_back(window);
        return true;
    });
    return found;
}

HWND FindShownWindow(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    for (HWND window : WindowsOfProcess(processId, className))
        if (::IsWindowVisible(window) && (!caption || WindowText(window) == caption))
            return window;
    return nullptr;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

void RegisterTestWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
}

HWND CreateTestWindow(DWORD style, DWORD exStyle, HWND owner, const wchar_t* className) {
    RegisterTestWindowClass(kTestWindowClass);
    return NewWindow(className ? className : kTestWindowClass, style | WS_VISIBLE, exStyle, owner, nullptr);
}

UniqueWindow CreateMainWindowStandIn(bool classicLook) {
    RegisterTestWindowClass(kTestWindowClass);
    UniqueWindow window(NewWindow(kTestWindowClass, WS_POPUP, 0, nullptr, nullptr));
    if (classicLook)
        UseClassicLook(window.get());
    return window;
}

TestWindow::TestWindow(Handler handler, DWORD style, DWORD exStyle) : handler_(std::move(handler)) {
    RegisterTestWindowClass(kHandledWindowClass, &TestWindow::Procedure);
    window_.reset(NewWindow(kHandledWindowClass, style, exStyle, nullptr, this));
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    try {
        if (auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
            if (const std::optional<LRESULT> answer = self->handler_(message, wParam, lParam))
                return *answer;
    } catch (...) {
        // The test's handler failed: the message gets the default answer.
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void UseClassicLook(HWND window) {
    if (FAILED(::SetWindowTheme(window, L"", L"")))
        ::SetWindowTheme(window, L" ", L" ");
}

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

int WindowWidth(HWND window) {
    const RECT rect = WindowRect(window);
    return rect.right - rect.left;
}

int WindowHeight(HWND window) {
    const RECT rect = WindowRect(window);
    return rect.bottom - rect.top;
}

bool IsTopmost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool IsLayered(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

bool LooksUnchanged(HWND window, int height) {
    return ::IsWindowVisible(window) && WindowHeight(window) == height && !IsTopmost(window) && !IsLayered(window);
}

int CountChanged(const std::vector<HWND>& windows, const std::vector<int>& heights) {
    int count = 0;
    for (std::size_t i = 0; i < windows.size(); ++i)
        count += !LooksUnchanged(windows[i], heights[i]);
    return count;
}

bool Answers(HWND window, std::chrono::milliseconds timeout) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &ignored) != 0;
}

int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!IsLayered(window) || !::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

std::vector<uint32_t> PixelsOf(HDC source, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return {};
    uint32_t* bits = nullptr;
    const UniqueBitmap dib = CreatePixelBitmap(source, width, height, &bits);
    const UniqueMemoryDC memory(::CreateCompatibleDC(source));
    if (!bits || !memory)
        return {};
    {
        const SelectGuard select(memory.get(), dib.get());
        ::BitBlt(memory.get(), 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
        ::GdiFlush();
    }
    std::vector<uint32_t> pixels(bits, bits + width * height);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

std::vector<uint32_t> FramePixels(HWND window, const RECT& inWindow) {
    return PixelsOf(WindowDC::OfWindow(window).get(), inWindow);
}

std::vector<uint32_t> ClientPixels(HWND window, const RECT& inClient) {
    return PixelsOf(WindowDC::OfClient(window).get(), inClient);
}

std::vector<uint32_t> ScreenPixels(const RECT& onScreen) { return ClientPixels(nullptr, onScreen); }

uint32_t FramePixel(HWND window, int x, int y) {
    const std::vector<uint32_t> pixel = FramePixels(window, RECT{x, y, x + 1, y + 1});
    return pixel.empty() ? 0xFFFFFFFFu : pixel.front();
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info))
        return {};
    BITMAPINFO header = TopDownDibInfo(info.bmWidth, info.bmHeight);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight));
    ::GetDIBits(WindowDC::OfClient(nullptr).get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                &header, DIB_RGB_COLORS);
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

int CountPixels(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    int count = 0;
    for (uint32_t pixel : pixels)
        count += pixel == rgb;
    return count;
}

bool TrayIconShown(HWND owner, UINT id) {
    NOTIFYICONDATAW data = TrayIcon(owner, id);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool DeleteTrayIcon(HWND owner, UINT id) {
    NOTIFYICONDATAW data = TrayIcon(owner, id);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

std::vector<ShowEvent>& ShowEvents() {
    static std::vector<ShowEvent> events;
    return events;
}

UniqueWindow MakeCommandTarget(DWORD style, DWORD exStyle, HWND owner, const wchar_t* title) {
    RegisterTestWindowClass(kCommandTargetClass, CommandTargetProcedure, CommandTargetIcon());
    UniqueWindow window(::CreateWindowExW(exStyle, kCommandTargetClass, title, style, 100, 100, 400, 300, owner,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    return window;
}

HICON CommandTargetIcon() { return ::LoadIconW(nullptr, IDI_APPLICATION); }

}  // namespace kz::test
