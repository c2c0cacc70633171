// One host per session: the single-instance mutex, and the way a second
// start with --exit asks the running host to end.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

constexpr wchar_t kInstanceMutexName[] = L"QuorvaneSoftware.Barquill.ver18";

// Whether another host runs: its mutex can be opened.
bool AnotherInstanceRuns();

// Creates the mutex owned by this thread. A host started at the same moment
// as another may pass AnotherInstanceRuns and still lose here: Owned() is
// then false and this process must end as well.
class InstanceMutex {
public:
    InstanceMutex();
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    bool Owned() const { return owned_; }

private:
    UniqueKernelHandle mutex_;
    bool owned_ = false;
};

// The message that asks the running host to end as its tray menu's Exit does.
UINT ExitRequestMessage();

// Asks the running host to end and waits for its process to end. True when
// it ended in time or no host was running.
bool EndRunningInstance(DWORD timeoutMs);

}  // namespace kz
