// The questions an end-to-end driver asks the target program about one of its
// windows: under Wine a process cannot read another process's window
// procedure or system menu, so the target answers for its own windows.
#pragma once

#include <windows.h>

namespace kz::test {

constexpr wchar_t kTargetProgramFile[] = L"kz_target.exe";
constexpr wchar_t kTargetQueryMessage[] = L"KzTargetQuery";
constexpr wchar_t kTargetWindowClass[] = L"KzTargetWindow";

enum TargetQuestion : WPARAM {
    kAskAttached = 1,         // 1 when the window procedure lies in trelmo.dll
    kAskNcPaints = 2,         // how many non-client paints the program's windows have finished
    kAskSystemMenuCount = 3,  // items in the window's system menu
    kAskSystemMenuId = 4,     // identifier of the system-menu item at index lParam
    kAskSubclassOver = 5,     // put a procedure of the program's own over the current one; 1 when done
    kAskOverSeen = 6,         // how many messages that procedure has seen
    kAskHang = 7,             // once answered, take no message for lParam milliseconds, as a hung program; 1
    kAskTitleBar = 8,         // the title bar's left, top, right or bottom (lParam 0 to 3), in window coordinates
    kAskTitleWidth = 9,       // the caption text's width in the caption font of the window's scale
};

// The caption a target draws itself with --own-caption, at 100 %: a bar
// this high, its three buttons this wide at its right end.
constexpr int kOwnCaptionHeight = 30;
constexpr int kOwnButtonWidth = 45;

inline UINT TargetQueryMessage() { return ::RegisterWindowMessageW(kTargetQueryMessage); }

}  // namespace kz::test
