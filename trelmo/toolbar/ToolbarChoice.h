// Which caption toolbar suits a window: by its class for the programs with a
// look of their own, else by how the system draws the window's frame.
#pragma once

#include "trelmo/toolbar/CaptionToolBar.h"

#include <windows.h>

#include <memory>

namespace kz {

class HookedWindow;

enum class ToolbarStyle { Classic, XP, Aero, Win10, ProgramCaption, Office2007, Skype, SkypeAero };

// The facts the choice rests on. ncRenderingEnabled, themed and
// drawsOwnCaption are asked only when the choice gets that far, so they are
// given as questions.
struct WindowLook {
    const wchar_t* className = L"";
    bool composition = false;
    DWORD osMajorVersion = 0;    // as the program is told
    DWORD realMajorVersion = 0;  // as the system is
    bool (*ncRenderingEnabled)(HWND) = nullptr;
    bool (*themed)(HWND) = nullptr;
    bool (*drawsOwnCaption)(HWND) = nullptr;
};

ToolbarStyle ChooseToolbarStyle(HWND window, const WindowLook& look);

// Creates the toolbar chosen for the record's window; null when that style
// cannot be built here.
std::unique_ptr<CaptionToolBar> CreateToolbar(HookedWindow& record);

}  // namespace kz
