// Real top-level windows of the test thread for the executor's commands, and
// stand-ins for the collaborators the executor calls.
#pragma once

#include "common/Handles.h"
#include "kz/commands/Impprofile.h"

#include <windows.h>

#include <vector>

namespace kz::test {

// A WM_SHOWWINDOW a target received: which window, shown or hidden.
struct ShowEvent {
    HWND window;
    bool shown;
    bool operator==(const ShowEvent& other) const { return window == other.window && shown == other.shown; }
};
// Every WM_SHOWWINDOW of every target, in order of arrival.
std::vector<ShowEvent>& ShowEvents();

// A visible target at a fixed place, 400 × 300. Its class has an icon. Its
// minimum tracking size is 1 × 1, so that it gets the height a roll-up asks
// for on every system.
UniqueWindow MakeTarget(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, HWND owner = nullptr,
                        const wchar_t* title = L"Command target");

// The icon of the targets' class: the system's application icon.
HICON TargetClassIcon();

int WindowHeight(HWND w);
int WindowWidth(HWND w);
LONG_PTR ExStyle(HWND w);

class CountingCommonTray : public CommonTrayIcon {
public:
    void ShowCommonTrayIcon() override { ++shows; }
    void HideCommonTrayIcon() override { ++hides; }
    int shows = 0;
    int hides = 0;
};

class RecordingBoxes : public BoxWindows {
public:
    bool HasBox(HWND target) const override;
    void AddBox(HWND target, HICON icon, int iconSize) override;
    void RemoveBox(HWND target) override;
    void PlaceBox(int index) override { placed.push_back(index); }
    void SetArrangement(int code) override { arrangement = code; }

    std::vector<HWND> boxes;
    HICON lastIcon = nullptr;
    int lastIconSize = 0;
    int removals = 0;
    std::vector<int> placed;
    int arrangement = 0;
};

}  // namespace kz::test
