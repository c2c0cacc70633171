#include "trelmo/toolbar/CaptionButtonRow.h"

#include <algorithm>

namespace kz {

CaptionButtonRow::CaptionButtonRow(const int8_t* kinds, int count, bool allowOverflowCaptionText)
    : hasOverflowButton_(!allowOverflowCaptionText) {
    if (hasOverflowButton_)
        slots_.Append(CaptionButtonSlot{kOverflow, {}, 0, false});
    // A stored count outside the list's capacity must not walk past it.
    const int stored = std::clamp(count, 0, static_cast<int>(kMaxButtons));
    for (int i = 0; i < stored; ++i) {
        const int kind = kinds[i];
        slots_.Append(CaptionButtonSlot{kind, {}, 0, true});
        if (IsRealKind(kind))
            ++realCount_;
    }
}

int CaptionButtonRow::FirstOverflowSlot() const {
    for (std::size_t i = 0; i < slots_.Count(); ++i)
        if (slots_[i].kind == kOverflow)
            return static_cast<int>(i);
    return -1;
}

void CaptionButtonRow::Layout(const RowGeometry& geometry) {
    const RECT& area = geometry.area;
    const int width = geometry.buttonWidth;
    const int separatorWidth = geometry.separatorWidth < 0 ? width / 3 : geometry.separatorWidth;
    const int overflowWidth = width * 2 / 3;
    const int overflow = FirstOverflowSlot();

    bounds_ = {area.right, area.top, area.right, area.bottom};
    visibleCount_ = 0;
    bool anyVisible = false;
    int x = area.right;
    for (int i = static_cast<int>(slots_.Count()) - 1; i >= 0; --i) {
        CaptionButtonSlot& slot = slots_[i];
        const int slotWidth = slot.kind == kSeparator ? separatorWidth
                              : slot.kind == kOverflow ? overflowWidth
                                                       : width;
        slot.rect = {x - slotWidth, area.top, x, area.bottom};
        if (slot.kind == kOverflow) {
            // Takes no room here; only one overflow slot is ever placed, and a
            // second one stored in the row would be drawn over its neighbour.
            if (i != overflow)
                slot.visible = false;
            continue;
        }
        x = slot.rect.left - geometry.gap;
        if (slot.kind == kSeparator) {
            slot.visible = false;
            continue;
        }
        slot.visible = slot.rect.left >= area.left && slot.rect.right <= area.right;
        if (!slot.visible)
            continue;
        ++visibleCount_;
        if (!anyVisible) {
            bounds_.left = slot.rect.left;
            bounds_.right = slot.rect.right;
            anyVisible = true;
        } else {
            bounds_.left = std::min(bounds_.left, slot.rect.left);
            bounds_.right = std::max(bounds_.right, slot.rect.right);
        }
    }

    if (overflow >= 0)
        PlaceOverflowSlot(overflow, overflowWidth, area);
    UnionVisibleBounds();
}

void CaptionButtonRow::PlaceOverflowSlot(int overflow, int width, const RECT& area) {
    CaptionButtonSlot& slot = slots_[overflow];
    slot.rect = {bounds_.left - width, area.top, bounds_.left, area.bottom};
    if (visibleCount_ >= realCount_) {
        slot.visible = false;  // everything fitted
        return;
    }
    if (slot.rect.left >= area.left && slot.rect.right <= area.right) {
        slot.visible = true;
        return;
    }
    if (visibleCount_ == 0) {
        slot.visible = false;
        return;
    }
    // No room left of the buttons: the overflow button takes the place of the
    // leftmost visible one, which joins the hidden ones in the menu.
    for (std::size_t i = 0; i < slots_.Count(); ++i) {
        CaptionButtonSlot& displaced = slots_[i];
        if (displaced.visible && IsRealKind(displaced.kind)) {
            bounds_.left = displaced.rect.right;
            displaced.visible = false;
            break;
        }
    }
    slot.rect = {bounds_.left - width, area.top, bounds_.left, area.bottom};
    slot.visible = true;
}

void CaptionButtonRow::UnionVisibleBounds() {
    bool any = false;
    for (const CaptionButtonSlot& slot : slots_) {
        if (!slot.visible)
            continue;
        bounds_.left = any ? std::min(bounds_.left, slot.rect.left) : slot.rect.left;
        bounds_.right = any ? std::max(bounds_.right, slot.rect.right) : slot.rect.right;
        any = true;
    }
}

int CaptionButtonRow::HitTest(int x, int y) const {
    for (std::size_t i = 0; i < slots_.Count(); ++i) {
        const CaptionButtonSlot& slot = slots_[i];
        if (slot.visible && slot.kind != kSeparator && slot.rect.left <= x && x <= slot.rect.right &&
            slot.rect.top <= y && y <= slot.rect.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<RECT> CaptionButtonRow::ButtonRects() const {
    std::vector<RECT> rects;
    for (const CaptionButtonSlot& slot : slots_)
        if (slot.visible && slot.kind != kSeparator)
            rects.push_back(slot.rect);
    return rects;
}

std::vector<int> CaptionButtonRow::OverflowKinds() const {
    // Only kinds with a command become entries: an entry without text or
    // command (a kind the host never stores) would look broken.
    std::vector<int> kinds;
    const std::size_t count = slots_.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const CaptionButtonSlot& slot = slots_[i];
        if (slot.kind == kOverflow)
            continue;
        if (slot.visible)
            break;
        if (IsCommandKind(slot.kind)) {
            kinds.push_back(slot.kind);
            continue;
        }
        if (slot.kind != kSeparator)
            continue;
        // A separator only separates entries: it is kept when another hidden
        // entry follows before the visible buttons begin.
        for (std::size_t j = i + 1; j < count; ++j) {
            const CaptionButtonSlot& next = slots_[j];
            if (next.visible && next.kind != kOverflow)
                break;
            if (!next.visible && IsCommandKind(next.kind)) {
                kinds.push_back(kSeparator);
                break;
            }
        }
    }
    return kinds;
}

}  // namespace kz
