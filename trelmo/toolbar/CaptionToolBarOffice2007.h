// Office 2007's main windows draw their own caption: the buttons sit in a
// helper window at fixed places, with faces in Office's colour scheme.
#pragma once

#include "trelmo/toolbar/AeroHelper.h"

namespace kz {

class CaptionButtonGlyphPainterAero;
class PngFacePainter;

class CaptionToolBarOffice2007 : public HelperWindowToolBar {
public:
    explicit CaptionToolBarOffice2007(HookedWindow& record);
    ~CaptionToolBarOffice2007() override;

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    RowGeometry Metrics() override;
    bool FixedPixelMetrics() const override { return true; }
    void DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state, bool checked,
                          bool activeCaption) override;
    // Office's own floating windows do not make the caption look inactive.
    bool ActiveCaption() const override;

private:
    void ReleaseFaces();

    UINT changeMessage_;  // Office's broadcast after a change of its colour scheme
    PngFacePainter* faces_ = nullptr;
    // With detected glyph colours the glyphs of the alpha styles; else the
    // classic glyphs in the stored colour.
    CaptionButtonGlyphPainterAero* alphaGlyphs_ = nullptr;
};

}  // namespace kz
