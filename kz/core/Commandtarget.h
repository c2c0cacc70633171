// Which windows a command may touch. Any program can send the host its
// command messages, so a command is carried out only on a live top-level
// window of another program that is not part of the desktop itself (the
// desktop window, the shell's window, a taskbar). Everything else is ignored
// without a word. The global hotkeys ask the same question.
#pragma once

#include <windows.h>

#include <string>

namespace kz {

// What the rule looks at, read from the system by FactsOfWindow.
struct CommandTargetFacts {
    bool exists = false;
    LONG_PTR style = 0;
    bool desktopOrShell = false;  // the desktop window or the shell's window
    std::wstring className;
    DWORD processId = 0;
    DWORD hostProcessId = 0;
};

bool IsTaskbarClass(const std::wstring& className);

// The rule itself, on plain values.
bool MayTouch(const CommandTargetFacts& facts);

CommandTargetFacts FactsOfWindow(HWND w);

// MayTouch of the window as it is now.
bool MayTouchWindow(HWND w);

}  // namespace kz
