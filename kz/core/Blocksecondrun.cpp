#include "kz/core/Blocksecondrun.h"

#include "common/Product.h"

namespace kz {

bool AnotherInstanceRuns() {
    const UniqueKernelHandle mutex(::OpenMutexW(MUTEX_ALL_ACCESS, TRUE, kInstanceMutexName));
    return static_cast<bool>(mutex);
}

InstanceMutex::InstanceMutex() : mutex_(::CreateMutexW(nullptr, TRUE, kInstanceMutexName)) {
    owned_ = mutex_ && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceMutex::~InstanceMutex() {
    if (owned_)
        ::ReleaseMutex(mutex_.get());
}

UINT ExitRequestMessage() { return ::RegisterWindowMessageW(L"QuorvaneSoftware.Barquill.Exit"); }

namespace {

// How often the ending host looks again for a host that is starting.
constexpr DWORD kStartingHostPollMs = 50;

}  // namespace

bool EndRunningInstance(DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (const HWND mainWindow = ::FindWindowW(kMainWindowClass, nullptr)) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(mainWindow, &processId);
            const UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
            if (!::PostMessageW(mainWindow, ExitRequestMessage(), 0, 0) || !process)
                return false;
            const ULONGLONG now = ::GetTickCount64();
            const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
            return ::WaitForSingleObject(process.get(), left) == WAIT_OBJECT_0;
        }
        // A host that holds the mutex but has no window yet is still starting.
        if (!AnotherInstanceRuns())
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(kStartingHostPollMs);
    }
}

}  // namespace kz
