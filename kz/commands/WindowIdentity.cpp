#include "kz/commands/WindowIdentity.h"

#include "kz/commands/Windowtexts.h"

namespace kz {

uint64_t StoredHandle(HWND w) { return static_cast<uint64_t>(reinterpret_cast<UINT_PTR>(w)); }

HWND HandleOf(uint64_t stored) {
    return stored > static_cast<uint64_t>(UINTPTR_MAX) ? nullptr : reinterpret_cast<HWND>(static_cast<UINT_PTR>(stored));
}

WindowIdentity IdentityOf(HWND w) {
    WindowIdentity identity;
    identity.window = StoredHandle(w);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(w, &processId);
    identity.processId = processId;
    identity.className = ClassNameOf(w);
    return identity;
}

HWND WindowOf(const WindowIdentity& identity) {
    const HWND w = HandleOf(identity.window);
    return w && ::IsWindow(w) && IdentityOf(w) == identity ? w : nullptr;
}

}  // namespace kz
