// The caption and button images of the current visual style, read for the
// host main window, and the nine-grid drawing of their cells.
#pragma once

#include "common/Handles.h"

#include <windows.h>
#include <uxtheme.h>

namespace kz {

// How an image cell is fitted to a rectangle: sizing type 0 true size, 2 tile,
// any other stretch; the margins keep the corners at their size.
struct SizingGrid {
    int type = 0;
    MARGINS margins{};
};

// Draws the cell `from` of the image selected into source into `to`.
void DrawNineGrid(HDC target, const RECT& to, HDC source, const RECT& from, const SizingGrid& grid);

class TBackDrawer {
public:
    explicit TBackDrawer(HWND window);
    TBackDrawer(const TBackDrawer&) = delete;
    TBackDrawer& operator=(const TBackDrawer&) = delete;
    virtual ~TBackDrawer() = default;

    // Reads the style images again: after the visual style or the system
    // colours changed.
    void LoadStyleImages();

    // A visual style is in force and its button image could be read.
    bool Themed() const { return themed_; }

protected:
    // The shape of a button in a visual state, for a button at (0, 0); null
    // when the style gives none (the whole rectangle then).
    HRGN ButtonRegion(int visualState) const;
    HBITMAP ButtonImage() const { return buttonImage_.get(); }
    const SizingGrid& ButtonGrid() const { return buttonGrid_; }
    HBITMAP CaptionImage() const { return captionImage_.get(); }
    const SizingGrid& CaptionGrid() const { return captionGrid_; }
    bool PartlyTransparent() const { return partlyTransparent_; }
    HWND Window() const { return window_; }

private:
    bool LoadThemedImages(HTHEME theme);
    void LoadClassicImages();

    static constexpr int kStyleStates = 4;
    HWND window_;
    bool themed_ = false;
    bool partlyTransparent_ = false;
    UniqueBitmap buttonImage_;
    UniqueBitmap captionImage_;
    SizingGrid buttonGrid_;
    SizingGrid captionGrid_;
    UniqueRegion regions_[kStyleStates];
};

}  // namespace kz
