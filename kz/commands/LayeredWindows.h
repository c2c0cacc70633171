// The layered-window functions of user32, looked up by name when the host
// starts: without them transparency is unavailable, never an error.
#pragma once

#include "common/Handles.h"

#include <windows.h>

#include <optional>

namespace kz {

class LayeredWindows {
public:
    LayeredWindows();
    LayeredWindows(const LayeredWindows&) = delete;
    LayeredWindows& operator=(const LayeredWindows&) = delete;

    // Both functions were found.
    bool Available() const { return set_ && get_; }
    bool CanSetAlpha() const { return set_ != nullptr; }

    // The alpha of a layered window; nothing when the function is missing,
    // fails (the window is not layered, or gone) or sets no alpha (a colour
    // key alone).
    std::optional<BYTE> ReadAlpha(HWND w) const;
    // False when the function is missing or fails.
    bool SetAlpha(HWND w, BYTE alpha) const;

private:
    using SetFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    using GetFunction = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);

    UniqueModule user32_;
    SetFunction set_ = nullptr;
    GetFunction get_ = nullptr;
};

}  // namespace kz
