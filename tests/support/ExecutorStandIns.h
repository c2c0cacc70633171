// Test support: stand-ins for the collaborators the executor calls.
#pragma once

#include "kz/commands/Impprofile.h"

#include <windows.h>

#include <vector>

namespace kz::test {

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
