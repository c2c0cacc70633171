#include "kz/commands/Boxplacement.h"

#include <algorithm>

namespace kz {

namespace {

struct ArrangementSteps {
    bool startRight;   // the first box at the right edge, else the left
    bool startBottom;  // the first box at the bottom edge, else the top
    int alongX, alongY;  // the step to the next box of a line, in steps
    int nextX, nextY;    // the step to the next line, in steps
    bool vertical;       // lines run along the left or right side
};

// Indexed by arrangement code - 1.
constexpr ArrangementSteps kSteps[] = {
    {false, false, +1, 0, 0, +1, false},  // 1 top, left to right
    {true, false, -1, 0, 0, +1, false},   // 2 top, right to left
    {false, false, 0, +1, +1, 0, true},   // 3 left, top to bottom
    {false, true, 0, -1, +1, 0, true},    // 4 left, bottom to top
    {false, true, +1, 0, 0, -1, false},   // 5 bottom, left to right
    {true, true, -1, 0, 0, -1, false},    // 6 bottom, right to left
    {true, false, 0, +1, -1, 0, true},    // 7 right, top to bottom
    {true, true, 0, -1, -1, 0, true},     // 8 right, bottom to top
};

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

bool IsArrangement(int code) { return code >= kFirstArrangement && code <= kLastArrangement; }

int EffectiveBoxSize(int size) { return std::max(size, kMinimumBoxSize); }

POINT BoxSlotPosition(int arrangement, int slot, int boxSize, const RECT& workArea, int gap) {
    if (!IsArrangement(arrangement) || boxSize <= 0 || slot < 0)
        return POINT{workArea.left, workArea.top};
    const ArrangementSteps& steps = kSteps[arrangement - 1];
    const int width = workArea.right - workArea.left, height = workArea.bottom - workArea.top;
    const int b = boxSize, s = boxSize + gap;
    // Lines are as long as the side divided by the box size, not the step:
    // a full line reaches past the edge by up to the gaps it holds.
    const int perLine = std::max(1, (steps.vertical ? height : width) / b);
    const int along = slot % perLine, line = slot / perLine;
    const int startX = steps.startRight ? workArea.left + width - b : workArea.left;
    const int startY = steps.startBottom ? workArea.top + height - b : workArea.top;
    return POINT{startX + along * steps.alongX * s + line * steps.nextX * s,
                 startY + along * steps.alongY * s + line * steps.nextY * s};
}

int FirstFreeSlot(int arrangement, int boxSize, const RECT& workArea, const std::vector<RECT>& boxes, int gap) {
    // Each box covers at most four slots, so one of these is free.
    const int candidates = static_cast<int>(boxes.size()) * 4 + 1;
    for (int slot = 0; slot < candidates; ++slot) {
        const POINT at = BoxSlotPosition(arrangement, slot, boxSize, workArea, gap);
        const RECT square{at.x, at.y, at.x + boxSize, at.y + boxSize};
        const bool taken = std::any_of(boxes.begin(), boxes.end(),
                                       [&square](const RECT& box) { return Overlap(square, box); });
        if (!taken)
            return slot;
    }
    return candidates;
}

}  // namespace kz
