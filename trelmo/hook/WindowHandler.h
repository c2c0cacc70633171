// Something an attached window offers its messages to: the system-menu
// extension and the caption toolbar.
#pragma once

#include <windows.h>

namespace kz {

class WindowHandler {
public:
    virtual ~WindowHandler() = default;

    // Before the window's own procedure. Returns 0 when not handled; otherwise
    // the window's procedure is skipped and the value is the result. A handler
    // may change the parameters that later handlers and the procedure see.
    virtual LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) = 0;

    // After the window's own procedure, with the parameters as they came in.
    virtual LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

}  // namespace kz
