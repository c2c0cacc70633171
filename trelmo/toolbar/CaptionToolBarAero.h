// The styles of windows whose frame the window manager composes: the
// buttons are shown in a helper window of glass over the caption, with
// alpha-blended faces and glyphs.
#pragma once

#include "trelmo/toolbar/AeroHelper.h"

#include <optional>

namespace kz {

class CaptionButtonGlyphPainterAero;
class PngFacePainter;

class CaptionToolBarAero : public HelperWindowToolBar {
public:
    explicit CaptionToolBarAero(HookedWindow& record);
    ~CaptionToolBarAero() override;

protected:
    // For styles that only change the layout: they start the helper themselves.
    struct Unstarted {};
    CaptionToolBarAero(HookedWindow& record, Unstarted);

    // The title bar's own description first, else the theme and the system metrics.
    RowGeometry Metrics() override;
    // From the title bar the window's procedure describes; none when it describes none.
    virtual std::optional<RowGeometry> LayoutFromTitleBar();
    void DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state, bool checked,
                          bool activeCaption) override;

private:
    RowGeometry LayoutFromTheme();

    PngFacePainter* faces_ = nullptr;  // for the size last drawn
    CaptionButtonGlyphPainterAero* glyphs_ = nullptr;
};

// Skype's main and conversation windows on a composed desktop: fixed metrics.
class CaptionToolBarSkypeAero : public CaptionToolBarAero {
public:
    explicit CaptionToolBarSkypeAero(HookedWindow& record);

protected:
    RowGeometry Metrics() override;
    bool FixedPixelMetrics() const override { return true; }
};

}  // namespace kz
