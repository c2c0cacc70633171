// The pure rules of the host-drawn caption buttons, as functions of plain
// data so that they are tested without windows: how a button's visual state
// answers the button messages, which push-button face a state gets, how many
// system buttons a caption carries, and where each configured button sits.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kz {

constexpr int kMaxLayoutEntries = 32;
constexpr int kGlyphSize = 18;  // a glyph cell is 18 x 18 pixels
constexpr int kVisualStateCount = 8;

// Visual states 0-3 are for an active window, 4-7 the same for an inactive one.
enum VisualStateBase : int { kStateNormal = 0, kStateHot = 1, kStatePressed = 2, kStateDisabled = 3 };
constexpr int kInactiveOffset = 4;
constexpr int kNewButtonState = kStateNormal + kInactiveOffset;

// A window command kind (1 to 9); 0 is a separator, any other code is no button.
constexpr bool IsCommandKind(int kind) { return kind >= 1 && kind <= 9; }

// What a button does for a message before its state is set.
enum class ButtonReaction { None, Hover, Press, Execute, Leave, Other };

ButtonReaction ReactionTo(UINT message, int state, bool enabled);

// The state a button shows after a message; downAfter is whether the button
// is down (rolled, topmost, transparent) once its reaction has run.
int NextVisualState(UINT message, int state, bool enabled, bool downAfter);

// DrawFrameControl flags (besides DFCS_BUTTONPUSH) of a classic face in a state.
UINT FrameControlFlags(int state);

// 0 without WS_SYSMENU; else 1 (close) without a minimise or maximise box,
// 3 with one; plus 1 for WS_EX_CONTEXTHELP.
int CountSystemButtons(LONG_PTR style, LONG_PTR exStyle);

// The system metrics the layout needs.
struct CaptionMetrics {
    int cxSize = 0, cySize = 0;
    int cxSmSize = 0, cySmSize = 0;
    int cxSizeFrame = 0, cySizeFrame = 0;
    int cxFixedFrame = 0, cyFixedFrame = 0;
};
CaptionMetrics SystemCaptionMetrics();
// The same at a scale: a window's caption is measured at the window's own.
CaptionMetrics CaptionMetricsForDpi(UINT dpi);

// The configured buttons in caption order, right to left from the system
// buttons: entry 0 sits just left of them.
struct CapButtonLayout {
    int8_t kinds[kMaxLayoutEntries] = {};
    int count = 0;
    bool Themed = false;

    // Appends a kind code; a 33rd is ignored.
    void Add(int kind);
    int IndexOfKind(int kind) const;
    bool HasButton(int i) const { return i >= 0 && i < count && i < kMaxLayoutEntries && IsCommandKind(kinds[i]); }

    // Entry i of a window: left and right in the coordinates of windowRect,
    // top and bottom measured from the window's top edge.
    RECT ButtonRect(int i, const RECT& windowRect, LONG_PTR style, LONG_PTR exStyle, const CaptionMetrics& m) const;
    // Entry i on a caption of the given width with no system buttons, in
    // window coordinates (the preview).
    RECT ButtonRectInWindow(int i, int width, const CaptionMetrics& m) const;
    // Width of a themed button (and of a strip cell).
    static int ThemedButtonWidth(const CaptionMetrics& m) { return m.cySize - 4; }

private:
    struct Row {
        int firstLeft, width, step, top, bottom;
    };
    RECT EntryRect(const Row& row, int i) const;
};

}  // namespace kz
