#include "kz/commands/ForeignWindow.h"

namespace kz {

namespace {

// Long enough for a busy but healthy program to take a message, short
// enough that a hung one costs the host little. The system answers at once
// for a thread it already deems hung.
constexpr UINT kAnswerTimeoutMs = 200;

}  // namespace

bool ForeignWindow::Answers() const {
    if (!answers_) {
        DWORD_PTR ignored = 0;
        // SMTO_BLOCK: nothing else reaches the host while it asks, so no
        // other command runs in the middle of this one.
        answers_ = ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs,
                                         &ignored) != 0;
    }
    return *answers_;
}

void ForeignWindow::Show(int command) const {
    if (Answers())
        ::ShowWindow(window_, command);
    else
        ::ShowWindowAsync(window_, command);
}

bool ForeignWindow::SetPosition(HWND insertAfter, int x, int y, int width, int height, UINT flags) const {
    return ::SetWindowPos(window_, insertAfter, x, y, width, height, Answers() ? flags : flags | SWP_ASYNCWINDOWPOS) != FALSE;
}

bool ForeignWindow::SetExtendedStyle(LONG_PTR style) const {
    if (!Answers())
        return false;
    ::SetLastError(ERROR_SUCCESS);
    return ::SetWindowLongPtrW(window_, GWL_EXSTYLE, style) != 0 || ::GetLastError() == ERROR_SUCCESS;
}

bool ForeignWindow::SetPlacement(const WINDOWPLACEMENT& placement) const {
    return Answers() && ::SetWindowPlacement(window_, &placement);
}

}  // namespace kz
