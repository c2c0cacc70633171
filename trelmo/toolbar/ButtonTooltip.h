// The tooltip that names the caption button under the pointer. It is made on
// the window's own thread and used only there.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

class ButtonTooltip {
public:
    // A tooltip window with one tool that covers owner; without the common
    // controls there is simply no tooltip.
    explicit ButtonTooltip(HWND owner);
    ButtonTooltip(const ButtonTooltip&) = delete;
    ButtonTooltip& operator=(const ButtonTooltip&) = delete;

    // Shows the text of a button kind at the pointer; 0 or less hides it.
    // Nothing happens while the same kind is shown.
    void ShowKind(int kind);

    HWND Window() const { return tooltip_.get(); }

private:
    LRESULT Tell(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND owner_;
    UniqueWindow tooltip_;
    int currentKind_ = -1;
};

}  // namespace kz
