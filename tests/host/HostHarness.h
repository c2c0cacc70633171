// Test support for the host's window tests: the real main window, tray-menu
// module and executor in the test process (without the hook), target
// programs in other processes (the host never acts on its own process's
// windows), and driving the host's popup menus with keys.
#pragma once

#include "tests/e2e/EndToEnd.h"
#include "kz/commands/Hiddenjournal.h"
#include "tests/support/ScratchRegistry.h"
#include "kz/core/Umain.h"
#include "kz/commands/Utraymenu2.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace kz::test {

class InProcessHost {
public:
    explicit InProcessHost(bool trayMenuSeparate = false);
    // Restores every window and forgets every record, so that the next test
    // starts from an empty executor.
    ~InProcessHost();
    InProcessHost(const InProcessHost&) = delete;
    InProcessHost& operator=(const InProcessHost&) = delete;

    TTQuorvane_Invisible_Buttons& Main() { return *main_; }
    TdmTrayMenu& TrayMenu() { return *trayMenu_; }
    HWND Window() const { return main_->Window(); }
    // Sends a message about window `about` to the main window, as the library does.
    LRESULT Send(UINT message, HWND about, LPARAM argument = 0);

private:
    ScratchRegistry registry_;
    RegistryHiddenJournal journal_;
    WindowPtr<TTQuorvane_Invisible_Buttons> main_;
    std::unique_ptr<TdmTrayMenu> trayMenu_;
};

// kz_target.exe with a title, in its own process.
class TargetProgram {
public:
    explicit TargetProgram(const std::wstring& title);
    HWND Window() const { return window_; }

private:
    ChildProgram program_;
    HWND window_ = nullptr;
};

// Opens a popup menu of this thread with open() and types keys into it. A
// menu that does not take them is closed after a few seconds, so a fault
// fails the test instead of hanging it.
void TypeIntoMenu(HWND owner, std::initializer_list<UINT> keys, const std::function<void()>& open);

// The text of a menu item by position, without its mnemonic marker.
std::wstring ItemText(HMENU menu, int position);
bool ItemEnabled(HMENU menu, int position);
bool ItemChecked(HMENU menu, int position);
bool IsSeparator(HMENU menu, int position);

// A visible top-level window of the test process.
HWND CreateTestWindow(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, HWND owner = nullptr);

bool IsTopmost(HWND window);
bool IsLayered(HWND window);
int WindowHeight(HWND window);
// Whether the shell knows an icon of owner with this identifier: deleting it
// succeeds. The icon is gone afterwards.
bool DeleteTrayIcon(HWND owner, UINT id);

}  // namespace kz::test
