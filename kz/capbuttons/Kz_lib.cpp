#include "kz/capbuttons/Kz_lib.h"

#include "common/Dpi.h"
#include "kz/commands/HostInternalMessages.h"

namespace kz {

namespace {

int BaseOf(int state) { return state % kInactiveOffset; }
// A base state kept on the same side (active or inactive) as state.
int Keeping(int base, int state) { return base + (state >= kInactiveOffset ? kInactiveOffset : 0); }

}  // namespace

ButtonReaction ReactionTo(UINT message, int state, bool enabled) {
    if (!enabled)
        return ButtonReaction::None;
    switch (message) {
    case HM_BUTTON_HOVER:
        return BaseOf(state) == kStatePressed ? ButtonReaction::None : ButtonReaction::Hover;
    case HM_BUTTON_DOWN:
        return ButtonReaction::Press;
    case HM_BUTTON_UP:
        return ButtonReaction::Execute;
    case HM_BUTTON_LEAVE:
        return ButtonReaction::Leave;
    case HM_BUTTON_OTHER:
        return ButtonReaction::Other;
    default:
        return ButtonReaction::None;
    }
}

int NextVisualState(UINT message, int state, bool enabled, bool downAfter) {
    if (message == HM_WINDOW_ACTIVE)
        return state >= kInactiveOffset ? state - kInactiveOffset : state;
    if (message == HM_WINDOW_INACTIVE)
        return state < kInactiveOffset ? state + kInactiveOffset : state;
    if (!enabled)
        return Keeping(kStateDisabled, state);
    switch (message) {
    case HM_BUTTON_HOVER:
        return BaseOf(state) == kStatePressed ? state : Keeping(kStateHot, state);
    case HM_BUTTON_DOWN:
        return Keeping(kStatePressed, state);
    case HM_BUTTON_UP:
        return Keeping(downAfter ? kStatePressed : kStateHot, state);
    case HM_BUTTON_LEAVE:
        return Keeping(downAfter ? kStatePressed : kStateNormal, state);
    default:
        return state;
    }
}

UINT FrameControlFlags(int state) {
    switch (BaseOf(state)) {
    case kStatePressed:
        return DFCS_PUSHED;
    case kStateDisabled:
        return DFCS_INACTIVE;
    default:
        return DFCS_HOT;
    }
}

int CountSystemButtons(LONG_PTR style, LONG_PTR exStyle) {
    if (!(style & WS_SYSMENU))
        return 0;
    const int buttons = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) ? 3 : 1;
    return buttons + ((exStyle & WS_EX_CONTEXTHELP) ? 1 : 0);
}

CaptionMetrics SystemCaptionMetrics() { return CaptionMetricsForDpi(SystemDpi()); }

CaptionMetrics CaptionMetricsForDpi(UINT dpi) {
    CaptionMetrics m;
    m.cxSize = MetricForDpi(SM_CXSIZE, dpi);
    m.cySize = MetricForDpi(SM_CYSIZE, dpi);
    m.cxSmSize = MetricForDpi(SM_CXSMSIZE, dpi);
    m.cySmSize = MetricForDpi(SM_CYSMSIZE, dpi);
    m.cxSizeFrame = MetricForDpi(SM_CXSIZEFRAME, dpi);
    m.cySizeFrame = MetricForDpi(SM_CYSIZEFRAME, dpi);
    m.cxFixedFrame = MetricForDpi(SM_CXFIXEDFRAME, dpi);
    m.cyFixedFrame = MetricForDpi(SM_CYFIXEDFRAME, dpi);
    return m;
}

void CapButtonLayout::Add(int kind) {
    if (count < kMaxLayoutEntries)
        kinds[count++] = static_cast<int8_t>(kind);
}

int CapButtonLayout::IndexOfKind(int kind) const {
    for (int i = 0; i < count; ++i)
        if (kinds[i] == kind)
            return i;
    return -1;
}

RECT CapButtonLayout::EntryRect(const Row& row, int i) const {
    int x = row.firstLeft;
    for (int before = 0; before < i && before < count; ++before)
        x -= kinds[before] == 0 ? row.width / 2 : row.step;
    return RECT{x, row.top, x + row.width, row.bottom};
}

RECT CapButtonLayout::ButtonRect(int i, const RECT& windowRect, LONG_PTR style, LONG_PTR exStyle,
                                 const CaptionMetrics& m) const {
    const int systemButtons = CountSystemButtons(style, exStyle);
    const bool thick = (style & WS_THICKFRAME) != 0;
    if (Themed) {
        const int bw = ThemedButtonWidth(m);
        const int frame = thick ? m.cxSizeFrame : m.cxFixedFrame;
        return EntryRect({windowRect.right - (systemButtons * (bw + 2) + frame) - bw, bw, bw + 2, 6, m.cySize + 2},
                         i);
    }
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const int bw = tool ? m.cxSmSize : m.cxSize;
    const int bh = tool ? m.cySmSize : m.cySize;
    const int fx = thick ? m.cxSizeFrame : m.cxFixedFrame;
    const int fy = thick ? m.cySizeFrame : m.cyFixedFrame;
    return EntryRect({windowRect.right - (systemButtons * bw + fx) - bw, bw, bw, fy, fy + bh}, i);
}

RECT CapButtonLayout::ButtonRectInWindow(int i, int width, const CaptionMetrics& m) const {
    if (Themed) {
        const int bw = ThemedButtonWidth(m);
        return EntryRect({width - m.cxSizeFrame - bw, bw, bw + 2, 6, m.cySize + 2}, i);
    }
    return EntryRect({width - m.cxSizeFrame - m.cxSize, m.cxSize, m.cxSize, m.cySizeFrame, m.cySizeFrame + m.cySize},
                     i);
}

}  // namespace kz
