#include "trelmo/hook/SessionHosts.h"

namespace kz {

namespace {

LONG KeyOf(DWORD session) { return static_cast<LONG>(session + 1); }

}  // namespace

volatile SessionHost* FindSessionHost(volatile SharedSection& section, DWORD session) {
    for (volatile SessionHost& entry : section.hosts)
        if (entry.sessionKey == KeyOf(session))
            return &entry;
    return nullptr;
}

volatile SessionHost* ClaimSessionHost(volatile SharedSection& section, DWORD session) {
    if (volatile SessionHost* own = FindSessionHost(section, session))
        return own;
    for (volatile SessionHost& entry : section.hosts) {
        // Two hosts starting in two sessions at once never take the same entry.
        if (::InterlockedCompareExchange(&entry.sessionKey, KeyOf(session), 0) == 0) {
            entry.hook = nullptr;
            entry.hostWindow = nullptr;
            return &entry;
        }
    }
    return nullptr;
}

void ReleaseSessionHostIfEmpty(volatile SessionHost& entry, DWORD session) {
    if (!entry.hook && !entry.hostWindow)
        ::InterlockedCompareExchange(&entry.sessionKey, 0, KeyOf(session));
}

namespace {

// A value of the session's entry; the entry is taken for a value that is
// set, and given back once both of its values are cleared.
template <typename Value>
void Store(volatile SharedSection& section, DWORD session, Value volatile SessionHost::*field, Value value) {
    volatile SessionHost* entry = value ? ClaimSessionHost(section, session) : FindSessionHost(section, session);
    if (!entry)
        return;
    entry->*field = value;
    ReleaseSessionHostIfEmpty(*entry, session);
}

}  // namespace

void StoreHostWindow(volatile SharedSection& section, DWORD session, HWND window) {
    Store(section, session, &SessionHost::hostWindow, window);
}

void StoreHookHandle(volatile SharedSection& section, DWORD session, HHOOK hook) {
    Store(section, session, &SessionHost::hook, hook);
}

DWORD CurrentSession() {
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) ? session : 0;
}

}  // namespace kz
