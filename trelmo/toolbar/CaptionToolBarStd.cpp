#include "trelmo/toolbar/CaptionToolBarStd.h"

#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/hook/HookedWindow.h"

namespace kz {

COLORREF StoredGlyphRgb(const LibrarySettings& settings) {
    return settings.GlyphColorAutodetect ? 0 : RgbOfColorref(settings.GlyphColor);
}

CaptionToolBarStd::CaptionToolBarStd(HookedWindow& record)
    : CaptionToolBar(record, Traits{false, false, false}) {
    const COLORREF glyph = StoredGlyphRgb(record.Settings());
    UseGlyphColours(glyph, glyph);
    Start();
}

RowGeometry CaptionToolBarStd::Metrics() {
    const HWND window = Window();
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    const bool small = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const int width = Metric(small ? SM_CXSMSIZE : SM_CXSIZE);
    const int height = Metric(small ? SM_CYSMSIZE : SM_CYSIZE);
    const SIZE frame = FrameSize(style, Dpi());

    const TitleBar titleBar = ReadTitleBar(window);
    const int systemButtons = SystemButtonCount(titleBar, style, exStyle) * width;
    int right;
    if (titleBar.known) {
        right = titleBar.rect.right - systemButtons;
    } else {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        right = rect.right - rect.left - systemButtons - frame.cx;
    }
    // The icon stands left of the caption text.
    const int left = LeftOfCaptionText(2 * frame.cx + 16, right, right - 4 * frame.cx - 16);
    return RowGeometry{{left, frame.cy + 2, right, frame.cy + height - 2}, width, width / 2, 0};
}

void CaptionToolBarStd::DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool) {
    if (checked)
        state = 2;
    UINT face = DFCS_BUTTONPUSH | DFCS_HOT;
    if (state == 2)
        face = DFCS_BUTTONPUSH | DFCS_PUSHED;
    else if (state == 3)
        face = DFCS_BUTTONPUSH | DFCS_INACTIVE;
    faces_.Draw(dc, rect, face);
    // The classic caption shows the same glyphs whether or not it is active.
    DrawGlyph(dc, kind, rect, state, checked, true);
}

}  // namespace kz
