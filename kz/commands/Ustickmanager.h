// Snapping of dragged boxes to the edges of the work area and to the edges
// of the other boxes. The arithmetic works on plain rectangles, so that it
// can be tested without windows; TStickManager keeps the registered boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace kz {

// How close, in pixels at 100 %, an edge must come to another edge to stick to it.
constexpr int kStickDistance = 5;

// A box's rectangle as position and size.
struct BoxRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a dragged box ends: on each axis either the snapped position (done)
// or the proposed one.
struct SnapResult {
    int x = 0;
    int y = 0;
    bool xDone = false;
    bool yDone = false;
    bool Snapped() const { return xDone || yDone; }
};

// Snaps a box of size w × h proposed at x, y to the edges of the work area,
// whose four edges are its own (a taskbar at the left or top moves them).
SnapResult SnapToScreen(const RECT& workArea, int x, int y, int w, int h, int d = kStickDistance);

// Snaps a box of size w × h proposed at x, y against another box. Only axes
// not done in from are tried; the axes done in from keep their positions.
// Every test compares the proposed x, y, not what an earlier step chose.
SnapResult SnapToForm(const BoxRect& other, const SnapResult& from, int x, int y, int w, int h,
                      int d = kStickDistance);

// The whole snap of one dragged box: the work area first, then the other
// boxes in order until one of them sticks.
SnapResult Snap(const RECT& workArea, const BoxRect& dragged, int x, int y, const std::vector<BoxRect>& others,
                int d = kStickDistance);

// A box as the stick manager sees it.
class StickyForm {
public:
    virtual ~StickyForm() = default;
    virtual BoxRect Bounds() const = 0;
};

// The work area that holds a rectangle: the one of the monitor it is on.
RECT WorkAreaOfMonitorAt(const RECT& rect);

class TStickManager {
public:
    using WorkAreaProvider = std::function<RECT(const RECT&)>;

    explicit TStickManager(WorkAreaProvider workArea = WorkAreaOfMonitorAt);
    TStickManager(const TStickManager&) = delete;
    TStickManager& operator=(const TStickManager&) = delete;

    void Register(StickyForm* form);
    // Removes its first occurrence; a form not registered is ignored.
    void Unregister(StickyForm* form);
    int Count() const { return static_cast<int>(forms_.size()); }

    // Where form ends when it is dragged to x, y, against the work area of
    // the monitor it is dragged onto and every other registered form.
    SnapResult Snap(const StickyForm& form, int x, int y) const;

    int StickDistance() const { return kStickDistance; }

private:
    WorkAreaProvider workArea_;
    std::vector<StickyForm*> forms_;
};

}  // namespace kz
