// Test support: the real trelmo.dll's three exports, bound by ordinal as the
// host binds them.
#pragma once

#include "common/Protocol.h"

#include <windows.h>

namespace kz::test {

struct LibraryExports {
    HOOKPROC hookProcedure = nullptr;
    void(WINAPI* setHandle)(HHOOK) = nullptr;
    void(WINAPI* setHostWindow)(HWND) = nullptr;

    static LibraryExports Of(HMODULE library) {
        LibraryExports exports;
        Bind(library, kOrdinalHookProcedure, exports.hookProcedure);
        Bind(library, kOrdinalSetHandle, exports.setHandle);
        Bind(library, kOrdinalSetHostWindow, exports.setHostWindow);
        return exports;
    }
    bool Complete() const { return hookProcedure && setHandle && setHostWindow; }

private:
    template <typename Function>
    static void Bind(HMODULE library, unsigned short ordinal, Function& function) {
        function = reinterpret_cast<Function>(
            reinterpret_cast<void*>(::GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
    }
};

}  // namespace kz::test
