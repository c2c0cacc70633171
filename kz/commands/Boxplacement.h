// Where boxes stand: the eight arrangements that line them up along one side
// of the work area, as arithmetic on plain rectangles.
#pragma once

#include <windows.h>

#include <vector>

namespace kz {

// Arrangement codes: which side the boxes line up along and in which direction.
enum BoxArrangementCode : int {
    kTopLeftToRight = 1,
    kTopRightToLeft = 2,
    kLeftTopToBottom = 3,
    kLeftBottomToTop = 4,
    kBottomLeftToRight = 5,
    kBottomRightToLeft = 6,
    kRightTopToBottom = 7,
    kRightBottomToTop = 8,
};
constexpr int kFirstArrangement = 1;
constexpr int kLastArrangement = 8;
constexpr int kDefaultArrangement = kRightTopToBottom;

bool IsArrangement(int code);

// The smallest box; a smaller size in force is raised to it.
constexpr int kMinimumBoxSize = 16;
// The box size before the settings are applied.
constexpr int kDefaultBoxSize = 32;
// The gap between neighbouring boxes, at 100 %.
constexpr int kBoxGap = 5;

// The box size placement uses: size, raised to the smallest box.
int EffectiveBoxSize(int size);

// The top-left corner of slot number slot (0 first) of an arrangement in a
// work area, for boxes of size boxSize (already effective). A line holds as
// many boxes as the side's length divided by the box size; the next line
// starts one step further in. An unknown code gives the work area's corner.
// Sizes and gap are pixels of the work area's monitor.
POINT BoxSlotPosition(int arrangement, int slot, int boxSize, const RECT& workArea, int gap = kBoxGap);

// The lowest slot whose square no box's rectangle overlaps.
int FirstFreeSlot(int arrangement, int boxSize, const RECT& workArea, const std::vector<RECT>& boxes,
                  int gap = kBoxGap);

}  // namespace kz
