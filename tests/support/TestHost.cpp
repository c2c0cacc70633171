#include "tests/support/TestHost.h"

namespace kz::test {

namespace {
constexpr wchar_t kClassName[] = L"KzRecordingHost";
}

RecordingHost::RecordingHost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    window_ = ::CreateWindowExW(0, kClassName, L"Recording host", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, this);
}

RecordingHost::~RecordingHost() {
    if (window_)
        ::DestroyWindow(window_);
}

int RecordingHost::Count(UINT message, HWND about) const {
    int n = 0;
    for (const ReceivedMessage& m : messages_)
        if (m.message == message && (!about || reinterpret_cast<HWND>(m.wParam) == about))
            ++n;
    return n;
}

LRESULT CALLBACK RecordingHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message >= WM_USER && message < 0x8000) {
        self->messages_.push_back({message, wParam, lParam});
        if (self->onMessage)
            self->onMessage(self->messages_.back());
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

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

}  // namespace kz::test
