// The thread that holds the system-wide hook. Where the system cannot run
// the hook procedure inside a program (one of the other bitness), it runs it
// on the thread that installed the hook, by message, while the program
// waits. So the hook belongs to a thread that does nothing but pump
// messages: no command, icon or dialog of the host's main thread ever holds
// such a program up.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

class HookThread {
public:
    // Starts the thread and waits until it has installed the hook or failed
    // to; after a failure the thread has ended and Hook() is null.
    HookThread(HOOKPROC procedure, HMODULE library);
    // Stop.
    ~HookThread();
    HookThread(const HookThread&) = delete;
    HookThread& operator=(const HookThread&) = delete;

    HHOOK Hook() const { return hook_; }
    // Zero once the thread has ended.
    DWORD ThreadId() const { return threadId_; }

    // Has the thread remove the hook and end, and waits a while for it. True
    // when it ended: the hook is gone, and nothing runs the library's code
    // on the thread any more.
    bool Stop();

private:
    static DWORD WINAPI Run(void* parameter) noexcept;

    HOOKPROC procedure_;
    HMODULE library_;
    HHOOK hook_ = nullptr;
    UniqueKernelHandle attempted_;
    UniqueKernelHandle thread_;
    DWORD threadId_ = 0;
};

}  // namespace kz
