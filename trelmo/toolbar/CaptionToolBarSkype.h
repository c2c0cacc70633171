// Skype's main and conversation windows on a desktop without glass: drawn
// into the frame as the themed style is, at fixed places, with Skype's faces.
#pragma once

#include "trelmo/toolbar/CaptionToolBarXP.h"

namespace kz {

class PngFacePainter;

class CaptionToolBarSkype : public CaptionToolBarXP {
public:
    explicit CaptionToolBarSkype(HookedWindow& record);
    ~CaptionToolBarSkype() override;

protected:
    RowGeometry Metrics() override;
    bool FixedPixelMetrics() const override { return true; }
    void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) override;

private:
    PngFacePainter* faces_ = nullptr;  // for the size last drawn
};

// Skype's glyphs: as drawn when the colour is to be detected, else grey
// whatever colour is stored.
GlyphColours SkypeGlyphColours(const LibrarySettings& settings);

}  // namespace kz
