// The caption toolbar of windows drawn in the classic look: push-button faces
// drawn by the system, glyphs from the library's strips.
#pragma once

#include "trelmo/toolbar/CaptionToolBar.h"
#include "trelmo/paint/ClassicButtonFace.h"

namespace kz {

class CaptionToolBarStd : public CaptionToolBar {
public:
    explicit CaptionToolBarStd(HookedWindow& record);

protected:
    RowGeometry Metrics() override;
    void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) override;

private:
    ClassicButtonFace faces_;  // used by the window's own thread only
};

// The glyph colour a toolbar uses when the style has no colours of its own:
// the stored one, or none (the glyphs as drawn) when it is to be detected.
COLORREF StoredGlyphRgb(const LibrarySettings& settings);

}  // namespace kz
