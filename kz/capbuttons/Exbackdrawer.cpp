#include "kz/capbuttons/Exbackdrawer.h"

#include "kz/capbuttons/Myuxtheme.h"
#include "common/Dpi.h"
#include "kz/commands/ForeignWindow.h"

namespace kz {

namespace {

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

RECT Moved(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// The background comes from the window's own program, which is sent
// WM_ERASEBKGND and WM_PRINTCLIENT for it: never asked of one that does not answer.
void DrawParentBackground(HWND wnd, HDC dc, RECT area) {
    if (ForeignWindow(wnd).Answers())
        uxtheme::DrawThemeParentBackground(wnd, dc, &area);
}

// Limits drawing on a DC to a region for the life of the guard.
class ClipGuard {
public:
    ClipGuard(HDC dc, HRGN region, int dx, int dy) : dc_(dc) {
        if (!region)
            return;
        saved_ = ::SaveDC(dc);
        UniqueRegion moved(::CreateRectRgn(0, 0, 0, 0));
        ::CombineRgn(moved.get(), region, nullptr, RGN_COPY);
        ::OffsetRgn(moved.get(), dx, dy);
        ::ExtSelectClipRgn(dc, moved.get(), RGN_AND);
    }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;
    ~ClipGuard() {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_ = 0;
};

}  // namespace

TExBackDrawer::TExBackDrawer(HWND window, COLORREF glyphColor) : TBackDrawer(window), glyphs_(glyphColor) {
    layout_.Themed = Themed();
}

void TExBackDrawer::SetButtons(const int8_t* kinds, int count) {
    layout_ = CapButtonLayout{};
    layout_.Themed = Themed();
    for (int i = 0; i < count; ++i)
        layout_.Add(kinds[i]);
    PrepareStrips();
}

void TExBackDrawer::SetGlyphColor(COLORREF color) {
    glyphs_.SetColor(color);
    PrepareStrips();
}

void TExBackDrawer::Reload() {
    LoadStyleImages();
    layout_.Themed = Themed();
    PrepareStrips();
}

int TExBackDrawer::StripWidth() const { return CapButtonLayout::ThemedButtonWidth(SystemCaptionMetrics()); }

void TExBackDrawer::PrepareStrips() {
    strips_.clear();
    strips_.resize(layout_.count);
    if (!Themed())
        return;
    const int bw = StripWidth();
    const SIZE image = SizeOf(ButtonImage());
    const int cellHeight = image.cy / kVisualStateCount;
    const UniqueMemoryDC imageDC(::CreateCompatibleDC(nullptr));
    const UniqueMemoryDC stripDC(::CreateCompatibleDC(nullptr));
    const SelectGuard selectImage(imageDC.get(), ButtonImage());
    const WindowDC screen = WindowDC::OfClient(nullptr);
    for (int i = 0; i < layout_.count; ++i) {
        if (!layout_.HasButton(i))
            continue;
        const HBITMAP glyph = glyphs_.Glyph(layout_.kinds[i], SystemDpi());
        const int glyphOffset = (bw - GlyphCellSize(glyph)) / 2;
        UniqueBitmap strip(::CreateCompatibleBitmap(screen.get(), bw, kVisualStateCount * bw));
        const SelectGuard selectStrip(stripDC.get(), strip.get());
        for (int state = 0; state < kVisualStateCount; ++state) {
            const RECT cell{0, state * bw, bw, (state + 1) * bw};
            DrawNineGrid(stripDC.get(), cell, imageDC.get(),
                         RECT{0, state * cellHeight, image.cx, (state + 1) * cellHeight}, ButtonGrid());
            DrawGlyphCell(stripDC.get(), glyph, state, glyphOffset, state * bw + glyphOffset);
        }
        strips_[i] = std::move(strip);
    }
}

RECT TExBackDrawer::ButtonRect(int i, HWND wnd) const {
    RECT window{};
    ::GetWindowRect(wnd, &window);
    return layout_.ButtonRect(i, window, ::GetWindowLongPtrW(wnd, GWL_STYLE), ::GetWindowLongPtrW(wnd, GWL_EXSTYLE),
                              CaptionMetricsForDpi(WindowDpi(wnd)));
}

RECT TExBackDrawer::ButtonRectInWindow(int i, int width) const {
    return layout_.ButtonRectInWindow(i, width, SystemCaptionMetrics());
}

void TExBackDrawer::DrawButton(HWND wnd, int state, int i) const {
    if (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        return;
    RECT window{};
    ::GetWindowRect(wnd, &window);
    const RECT r = Moved(ButtonRect(i, wnd), -window.left, 0);
    if (r.right < 0 || r.bottom < 0)
        return;
    const WindowDC dc = WindowDC::OfWindow(wnd);
    if (dc)
        PaintButton(dc.get(), r, state, i, wnd);
}

void TExBackDrawer::PaintButton(HDC dc, const RECT& r, int state, int i, HWND wnd) const {
    if (!layout_.HasButton(i))
        return;
    if (!Themed()) {
        DrawClassicButton(dc, r, state, glyphs_.Glyph(layout_.kinds[i], WindowDpi(wnd)));
        return;
    }
    if (PartlyTransparent())
        DrawParentBackground(wnd, dc, r);
    PaintThemedFace(dc, r, state, i);
}

void TExBackDrawer::PaintThemedFace(HDC dc, const RECT& r, int state, int i) const {
    if (i < 0 || i >= static_cast<int>(strips_.size()) || !strips_[i])
        return;
    const int bw = StripWidth();
    const UniqueMemoryDC stripDC(::CreateCompatibleDC(dc));
    const SelectGuard select(stripDC.get(), strips_[i].get());
    const ClipGuard clip(dc, ButtonRegion(state), r.left, r.top);
    if (PartlyTransparent())
        ::TransparentBlt(dc, r.left, r.top, bw, bw, stripDC.get(), 0, state * bw, bw, bw,
                         ::GetPixel(stripDC.get(), 1, 1));
    else
        ::BitBlt(dc, r.left, r.top, bw, bw, stripDC.get(), 0, state * bw, SRCCOPY);
}

void TExBackDrawer::EraseButtons(HWND wnd) const {
    if (layout_.count == 0)
        return;
    RECT window{};
    ::GetWindowRect(wnd, &window);
    const RECT first = ButtonRect(0, wnd);
    const RECT last = ButtonRect(layout_.count - 1, wnd);
    const RECT strip = Moved(RECT{last.left, first.top, first.right, first.bottom}, -window.left, 0);
    const WindowDC dc = WindowDC::OfWindow(wnd);
    if (dc)
        DrawParentBackground(wnd, dc.get(), strip);
}

UniqueBitmap TExBackDrawer::DrawPreview(int width, COLORREF color) {
    if (color != glyphs_.Color())
        glyphs_.SetColor(color);
    PrepareStrips();
    const CaptionMetrics m = SystemCaptionMetrics();
    const int height = Themed() ? m.cySize + 5 : m.cySize + 2 * m.cySizeFrame + 1;
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap preview(::CreateCompatibleBitmap(screen.get(), width, height));
    const UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
    const SelectGuard selectPreview(dc.get(), preview.get());
    const SIZE caption = SizeOf(CaptionImage());
    if (caption.cy > 0) {
        const UniqueMemoryDC captionDC(::CreateCompatibleDC(screen.get()));
        const SelectGuard selectCaption(captionDC.get(), CaptionImage());
        const int half = caption.cy / 2;
        const RECT from = Themed() ? RECT{0, 0, caption.cx, half} : RECT{0, half, caption.cx, caption.cy};
        DrawNineGrid(dc.get(), RECT{0, 0, width, height}, captionDC.get(), from, CaptionGrid());
    }
    for (int i = 0; i < layout_.count; ++i) {
        if (!layout_.HasButton(i))
            continue;
        const RECT r = ButtonRectInWindow(i, width);
        if (!Themed())
            DrawClassicButton(dc.get(), r, kStateNormal, glyphs_.Glyph(layout_.kinds[i], SystemDpi()));
        else if (r.top >= 0)
            PaintThemedFace(dc.get(), r, kStateNormal, i);
    }
    return preview;
}

}  // namespace kz
