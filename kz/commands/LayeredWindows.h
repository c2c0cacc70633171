// The layered-window functions of user32, looked up by name when the host
// starts: without them transparency is unavailable, never an error.
#pragma once

#include "common/Handles.h"
#include "kz/commands/ForeignWindow.h"
#include "kz/commands/Layering.h"

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
    // Sets the alpha of a window of this program; false when the function is
    // missing or fails.
    bool SetAlpha(HWND w, BYTE alpha) const;
    // How the window is layered now. Nothing for a layered window whose
    // attributes cannot be read: one its program paints with
    // UpdateLayeredWindow, which setting attributes would end for good.
    std::optional<Layering> Read(HWND w) const;
    // Gives the window this layering: the style bit and, for a layered one,
    // its attributes. True only when the window has it afterwards; a window
    // that does not answer is left as it is.
    bool Apply(const ForeignWindow& window, const Layering& layering) const;

private:
    using SetFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    using GetFunction = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);

    UniqueModule user32_;
    SetFunction set_ = nullptr;
    GetFunction get_ = nullptr;
};

}  // namespace kz
