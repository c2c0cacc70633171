#include "trelmo/toolbar/CaptionToolBarOffice2007.h"

#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/toolbar/CaptionToolBarStd.h"
#include "trelmo/hook/HookProcedure.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/paint/PngButtonPainters.h"

namespace kz {

CaptionToolBarOffice2007::CaptionToolBarOffice2007(HookedWindow& record)
    : HelperWindowToolBar(record, HelperStyle{HelperClass::Office2007, false, false}),
      changeMessage_(::RegisterWindowMessageW(L"WM_MSO_BROADCASTCHANGE")) {
    if (record.Settings().GlyphColorAutodetect) {
        alphaGlyphs_ = CaptionButtonGlyphPainterAero::Acquire();
    } else {
        const COLORREF glyph = StoredGlyphRgb(record.Settings());
        UseGlyphColours(glyph, glyph);
    }
    StartHelper();
}

CaptionToolBarOffice2007::~CaptionToolBarOffice2007() {
    ReleaseFaces();
    if (alphaGlyphs_)
        alphaGlyphs_->Release();
}

void CaptionToolBarOffice2007::ReleaseFaces() {
    if (faces_)
        faces_->Release();
    faces_ = nullptr;
}

LRESULT CaptionToolBarOffice2007::OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) {
    if (message == changeMessage_ && changeMessage_ != 0 && HelperWindow()) {
        ReleaseFaces();  // the next paint reads the scheme again
        LayOutAndPosition();
        InvalidateHelper();
        return 0;
    }
    return HelperWindowToolBar::OnMessage(message, wParam, lParam);
}

LRESULT CaptionToolBarOffice2007::AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && HelperWindow())
        LayOutAndPosition();
    return HelperWindowToolBar::AfterMessage(message, wParam, lParam);
}

RowGeometry CaptionToolBarOffice2007::Metrics() {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const int width = window.right - window.left;
    const int right = width - 120;
    constexpr int kTextStart = 256;
    int left = LeftOfCaptionText(kTextStart, right, width - 376);
    if (left == kTextStart)
        left = 240;  // no text to keep clear of, or the text may be covered
    return RowGeometry{{left, 7, right, 28}, 35, 11, 0};
}

bool CaptionToolBarOffice2007::ActiveCaption() const {
    const HWND foreground = ::GetForegroundWindow();
    return foreground == Window() || (foreground && ::GetParent(foreground) == Window() && !IsEligible(foreground));
}

void CaptionToolBarOffice2007::DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state,
                                                bool checked, bool activeCaption) {
    FitFaces(faces_, rect, [](int width, int height) {
        return CaptionButtonOffice2007Painter::Acquire(width, height, ReadOfficeColourScheme());
    });
    faces_->Draw(canvas.rows, canvas.clip, rect, state, activeCaption);
    if (checked)
        state = 2;
    if (alphaGlyphs_)
        alphaGlyphs_->Draw(canvas.rows, canvas.clip, rect, kind, state);
    else if (CaptionButtonGlyphPainter* glyphs = GlyphPainter())
        glyphs->Draw(Window(), canvas.dc, rect, kind, state, activeCaption);
}

}  // namespace kz
