#include "tests/support/ExecutorStandIns.h"

#include <algorithm>

namespace kz::test {

bool RecordingBoxes::HasBox(HWND target) const {
    return std::find(boxes.begin(), boxes.end(), target) != boxes.end();
}

void RecordingBoxes::AddBox(HWND target, HICON icon, int iconSize) {
    boxes.push_back(target);
    lastIcon = icon;
    lastIconSize = iconSize;
}

void RecordingBoxes::RemoveBox(HWND target) {
    ++removals;
    boxes.erase(std::remove(boxes.begin(), boxes.end(), target), boxes.end());
}

}  // namespace kz::test
