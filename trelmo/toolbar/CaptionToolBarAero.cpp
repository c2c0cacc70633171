#include "trelmo/toolbar/CaptionToolBarAero.h"

#include "trelmo/toolbar/CaptionToolBarXP.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/paint/PngButtonPainters.h"

namespace kz {

CaptionToolBarAero::CaptionToolBarAero(HookedWindow& record) : CaptionToolBarAero(record, Unstarted{}) {
    StartHelper();
}

CaptionToolBarAero::CaptionToolBarAero(HookedWindow& record, Unstarted)
    : HelperWindowToolBar(record, HelperStyle{HelperClass::Aero, true, true}),
      // The glass has colours of its own: the stored glyph colour is not used.
      glyphs_(CaptionButtonGlyphPainterAero::Acquire()) {}

CaptionToolBarAero::~CaptionToolBarAero() {
    if (faces_)
        faces_->Release();
    glyphs_->Release();
}

RowGeometry CaptionToolBarAero::Metrics() {
    if (const std::optional<RowGeometry> geometry = LayoutFromTitleBar())
        return *geometry;
    return LayoutFromTheme();
}

std::optional<RowGeometry> CaptionToolBarAero::LayoutFromTitleBar() {
    const std::optional<TitleBarButtons> bar = ReadTitleBarButtons(record_);
    if (!bar)
        return std::nullopt;
    int left = 2 * bar->titleBar.left + 16;
    if (!record_.Settings().AllowOverflowCaptionText) {
        left = 4 * bar->titleBar.left + 16;
        left = LeftOfCaptionText(left, bar->right, bar->right - left);
    }
    return RowGeometry{{left, bar->top, bar->right, bar->top + bar->height}, bar->width, bar->width / 3, 0};
}

RowGeometry CaptionToolBarAero::LayoutFromTheme() {
    const WindowDC dc = WindowDC::OfWindow(Window());
    ThemeCaptionMetrics m = ReadThemeCaptionMetrics(Window(), dc.get(), Dpi());
    int right = m.windowWidth - m.systemButtons * m.buttonWidth - m.frame.cx;
    const int width = FitButtonsToTheme(m, right);
    const int left = 4 * m.frame.cx + 16;
    return RowGeometry{{LeftOfCaptionText(left, right, right - left), m.top, right, m.top + m.height}, width,
                       m.buttonWidth / 2, 0};
}

void CaptionToolBarAero::DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state,
                                          bool checked, bool activeCaption) {
    FitFaces(faces_, rect, CaptionButtonAeroPainter::Acquire);
    if (glyphs_->Dpi() != Dpi()) {
        glyphs_->Release();
        glyphs_ = CaptionButtonGlyphPainterAero::Acquire(Dpi());
    }
    faces_->Draw(canvas.rows, canvas.clip, rect, state, activeCaption);
    // The face follows the pointer; the glyph also shows a command in force.
    glyphs_->Draw(canvas.rows, canvas.clip, rect, kind, checked ? 2 : state);
}

CaptionToolBarSkypeAero::CaptionToolBarSkypeAero(HookedWindow& record)
    : CaptionToolBarAero(record, Unstarted{}) {
    StartHelper();
}

RowGeometry CaptionToolBarSkypeAero::Metrics() {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    // Maximised, the window reaches past the screen's top: the strip starts at the screen's edge.
    const int top = ::IsZoomed(Window()) && window.top < 0 ? -window.top : 1;
    const int width = window.right - window.left;
    const int right = width - 123;
    return RowGeometry{{LeftOfCaptionText(50, right, width - 173), top, right, top + 17}, 24, 12, 0};
}

}  // namespace kz
