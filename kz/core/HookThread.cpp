#include "kz/core/HookThread.h"

namespace kz {

namespace {

// The thread takes its next message at once, unless the system is running a
// hook call on it; those are short, as the library never waits long.
constexpr DWORD kStopTimeoutMs = 2000;

}  // namespace

HookThread::HookThread(HOOKPROC procedure, HMODULE library)
    : procedure_(procedure), library_(library), attempted_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!attempted_)
        return;
    thread_.reset(::CreateThread(nullptr, 0, &HookThread::Run, this, 0, &threadId_));
    if (!thread_)
        return;
    // Either the attempt was made, or the thread ended without making it.
    const HANDLE events[] = {attempted_.get(), thread_.get()};
    ::WaitForMultipleObjects(2, events, FALSE, INFINITE);
    if (!hook_)
        Stop();
}

HookThread::~HookThread() { Stop(); }

DWORD WINAPI HookThread::Run(void* parameter) noexcept {
    auto* self = static_cast<HookThread*>(parameter);
    MSG message;
    // The queue exists before the request to end can be posted to it.
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, self->procedure_, self->library_, 0);
    self->hook_ = hook;
    ::SetEvent(self->attempted_.get());
    // From here on the thread touches nothing of the object, which may go
    // should Stop give up waiting.
    if (!hook)
        return 0;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    ::UnhookWindowsHookEx(hook);
    return 0;
}

bool HookThread::Stop() {
    if (!thread_)
        return false;
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    // The system removes the hooks of a thread that ends, whether or not the
    // thread got to remove its own.
    const bool ended = ::WaitForSingleObject(thread_.get(), kStopTimeoutMs) == WAIT_OBJECT_0;
    thread_.reset();
    threadId_ = 0;
    hook_ = nullptr;
    return ended;
}

}  // namespace kz
