// The row of added caption buttons as plain data: which buttons there are,
// where the last layout put them, which one a point hits and which ones the
// overflow menu lists. No window is needed for any of it.
#pragma once

#include "trelmo/hook/GrowableArray.h"
#include "common/LibrarySettings.h"
#include "common/Protocol.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kz {

struct CaptionButtonSlot {
    int kind = 0;  // ButtonKind: 0 separator, 1..9 commands, 10 overflow; others have no command
    RECT rect{};   // window coordinates, set by the layout
    // 0 normal, 1 hot, 2 pressed, 3 disabled. The toolbars leave it 0 and
    // derive hot and pressed from their tracking; a non-zero state wins.
    int state = 0;
    bool visible = false;
};

// Where the buttons may go and how wide they are, in window coordinates.
struct RowGeometry {
    RECT area{};
    int buttonWidth = 0;
    int separatorWidth = -1;  // negative: a third of the button width
    int gap = 0;
};

class CaptionButtonRow {
public:
    // kinds: the stored buttons, left to right (count clamped to 0..32).
    // Without overflowing caption text the row starts with an overflow slot.
    CaptionButtonRow(const int8_t* kinds, int count, bool allowOverflowCaptionText);
    explicit CaptionButtonRow(const LibrarySettings& settings)
        : CaptionButtonRow(settings.Buttons, settings.ButtonCount, settings.AllowOverflowCaptionText) {}

    // Places the buttons right to left against area.right; those that do not
    // fit are hidden and, when the row has one, the overflow slot stands left
    // of the visible ones.
    void Layout(const RowGeometry& geometry);

    // Index of the visible button under the point (edges included), or -1.
    int HitTest(int x, int y) const;

    // The rects of the visible buttons (overflow included): what the frame's
    // own paint must leave alone.
    std::vector<RECT> ButtonRects() const;

    // The kinds the overflow menu offers: the hidden buttons before the first
    // visible one, in row order, with the separators that stand between them.
    std::vector<int> OverflowKinds() const;

    std::size_t Count() const { return slots_.Count(); }
    const CaptionButtonSlot& operator[](std::size_t i) const { return slots_[i]; }
    const RECT& Bounds() const { return bounds_; }
    bool HasOverflowButton() const { return hasOverflowButton_; }
    int RealCount() const { return realCount_; }
    int VisibleCount() const { return visibleCount_; }

private:
    int FirstOverflowSlot() const;
    void PlaceOverflowSlot(int overflow, int width, const RECT& area);
    void UnionVisibleBounds();

    GrowableArray<CaptionButtonSlot> slots_{2};
    RECT bounds_{};
    bool hasOverflowButton_ = false;
    int realCount_ = 0;
    int visibleCount_ = 0;
};

// Kinds that stand for a command (and so have a text and a menu entry).
inline bool IsCommandKind(int kind) { return kind >= kToTray && kind <= kRunCopy; }
// Kinds that take a button's place in the row: all but separators and the overflow slot.
inline bool IsRealKind(int kind) { return kind != kSeparator && kind != kOverflow; }

}  // namespace kz
