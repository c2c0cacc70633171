// The hook procedure and the attach and remove paths it drives.
#pragma once

#include <windows.h>

namespace kz {

// The WH_CALLWNDPROCRET procedure: attaches on WM_NCPAINT, removes on the end
// of a window, and always passes the call on.
LRESULT HookProcedure(int code, WPARAM wParam, LPARAM lParam) noexcept;

// Whether a window without a record should get one.
bool IsEligible(HWND window);

// Attaches the window when it is eligible and has no record yet.
void AttachWindow(HWND window);

}  // namespace kz
