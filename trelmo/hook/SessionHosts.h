// The hosts of the desktop sessions, in the section that every process that
// maps the library shares. With fast user switching or Remote Desktop several
// users' hosts run at once, each in its own session: each writes only its
// own session's entry, and a program uses only the host of its own session.
// Any process can write the section, so nothing read from it is trusted
// beyond what a check of the window can confirm.
#pragma once

#include <windows.h>

namespace kz {

struct SessionHost {
    volatile LONG sessionKey;  // the session id + 1; 0 for a free entry
    HHOOK volatile hook;
    HWND volatile hostWindow;
};

constexpr int kSessionHostCount = 16;

struct SharedSection {
    SessionHost hosts[kSessionHostCount];
};

// The entry of a session, or null when its host has none.
volatile SessionHost* FindSessionHost(volatile SharedSection& section, DWORD session);
// The entry of a session, taken from the free ones when it has none yet;
// null when every entry belongs to another session.
volatile SessionHost* ClaimSessionHost(volatile SharedSection& section, DWORD session);
// Gives the entry back once the session's host has cleared both its values.
void ReleaseSessionHostIfEmpty(volatile SessionHost& entry, DWORD session);

// The exports' work, for the session of the calling process.
void StoreHostWindow(volatile SharedSection& section, DWORD session, HWND window);
void StoreHookHandle(volatile SharedSection& section, DWORD session, HHOOK hook);

// The session of the calling process.
DWORD CurrentSession();

}  // namespace kz
