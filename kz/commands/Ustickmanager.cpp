#include "kz/commands/Ustickmanager.h"

#include "common/Dpi.h"

#include <algorithm>
#include <utility>

namespace kz {

namespace {

bool Within(int value, int low, int high) { return low <= value && value <= high; }

// Whether a value lies within d of an edge.
bool Near(int value, int edge, int d) { return Within(value, edge - d, edge + d); }

}  // namespace

SnapResult SnapToScreen(const RECT& workArea, int x, int y, int w, int h, int d) {
    SnapResult result{x, y, false, false};
    if (Near(x, workArea.left, d)) {
        result.x = workArea.left;
        result.xDone = true;
    }
    if (Near(y, workArea.top, d)) {
        result.y = workArea.top;
        result.yDone = true;
    }
    if (Near(x + w, workArea.right, d)) {
        result.x = workArea.right - w;
        result.xDone = true;
    }
    if (Near(y + h, workArea.bottom, d)) {
        result.y = workArea.bottom - h;
        result.yDone = true;
    }
    return result;
}

SnapResult SnapToForm(const BoxRect& other, const SnapResult& from, int x, int y, int w, int h, int d) {
    const int L = other.left, T = other.top, R = other.left + other.width, B = other.top + other.height;
    const bool xOpen = !from.xDone, yOpen = !from.yDone;
    // The edges only stick where the boxes face each other.
    const bool facingSideways = Within(y, T, B) || Within(y + h, T, B);
    const bool facingUpDown = Within(x, L, R) || Within(x + w, L, R);
    bool right = false, below = false, left = false, above = false;
    int newX = x, newY = y;

    if (xOpen && Near(x, R, d) && facingSideways) {
        newX = R;
        right = true;
    }
    if (yOpen && Near(y, B, d) && facingUpDown) {
        newY = B;
        below = true;
    }
    if (xOpen && Near(x + w, L, d) && facingSideways) {
        newX = L - w;
        left = true;
    }
    if (yOpen && Near(y + h, T, d) && facingUpDown) {
        newY = T - h;
        above = true;
    }
    // A box put above or below the other lines up with its left or right edge
    // when it is close to it, and one put beside it with its top or bottom.
    if (xOpen && (below || above)) {
        if (Near(x + w, R, d)) {
            newX = R - w;
            right = true;
        }
        if (Near(x, L, d)) {
            newX = L;
            left = true;
        }
    }
    if (yOpen && (right || left)) {
        if (Near(y, T, d)) {
            newY = T;
            above = true;
        }
        if (Near(y + h, B, d)) {
            newY = B - h;
            below = true;
        }
    }

    SnapResult result = from;
    if (left || right) {
        result.x = newX;
        result.xDone = true;
    }
    if (above || below) {
        result.y = newY;
        result.yDone = true;
    }
    return result;
}

SnapResult Snap(const RECT& workArea, const BoxRect& dragged, int x, int y, const std::vector<BoxRect>& others,
                int d) {
    const SnapResult screen = SnapToScreen(workArea, x, y, dragged.width, dragged.height, d);
    for (const BoxRect& other : others) {
        const SnapResult withForm = SnapToForm(other, screen, x, y, dragged.width, dragged.height, d);
        if (withForm.xDone != screen.xDone || withForm.yDone != screen.yDone)
            return withForm;
    }
    return screen;
}

RECT WorkAreaOfMonitorAt(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return workArea;
}

TStickManager::TStickManager(WorkAreaProvider workArea) : workArea_(std::move(workArea)) {}

void TStickManager::Register(StickyForm* form) { forms_.push_back(form); }

void TStickManager::Unregister(StickyForm* form) {
    const auto found = std::find(forms_.begin(), forms_.end(), form);
    if (found != forms_.end())
        forms_.erase(found);
}

SnapResult TStickManager::Snap(const StickyForm& form, int x, int y) const {
    const BoxRect dragged = form.Bounds();
    const RECT proposed{x, y, x + dragged.width, y + dragged.height};
    std::vector<BoxRect> others;
    others.reserve(forms_.size());
    for (const StickyForm* other : forms_)
        if (other != &form)
            others.push_back(other->Bounds());
    // The distance is the same to the eye at every scale.
    const UINT dpi = MonitorDpi(::MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST));
    return kz::Snap(workArea_(proposed), dragged, x, y, others, ScaleToDpi(kStickDistance, dpi));
}

}  // namespace kz
