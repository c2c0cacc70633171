// The host's pictures of its caption buttons: the layout of the configured
// buttons, one picture strip per button with a cell per visual state, the
// drawing of one button on a window's caption, and the options dialog's
// preview of a caption.
#pragma once

#include "kz/capbuttons/Backdrawer.h"
#include "kz/capbuttons/Drawbutton.h"
#include "kz/capbuttons/Kz_lib.h"

#include <vector>

namespace kz {

class TExBackDrawer : public TBackDrawer {
public:
    // window: whose visual style the pictures imitate (the host main window).
    TExBackDrawer(HWND window, COLORREF glyphColor);

    // Sets the configured kinds in caption order and prepares their strips.
    void SetButtons(const int8_t* kinds, int count);
    // Recolours the glyphs and prepares the strips again.
    void SetGlyphColor(COLORREF color);
    // Reads the style images again and prepares the strips (style change).
    void Reload();
    const CapButtonLayout& Layout() const { return layout_; }

    // (Re)builds one picture strip per configured button: a button-wide
    // column with a cell per visual state, the style's face with the glyph.
    void PrepareStrips();

    RECT ButtonRect(int i, HWND wnd) const;
    RECT ButtonRectInWindow(int i, int width) const;
    int IndexOfKind(int kind) const { return layout_.IndexOfKind(kind); }

    // Draws entry i of wnd's buttons in a visual state on wnd's caption.
    void DrawButton(HWND wnd, int state, int i) const;
    // Draws entry i in a visual state over r of dc (window coordinates of wnd).
    void PaintButton(HDC dc, const RECT& r, int state, int i, HWND wnd) const;
    // Repaints the parent background over wnd's whole button strip.
    void EraseButtons(HWND wnd) const;
    // A caption of the given width with the configured buttons in their
    // normal state, glyphs in color (which becomes the glyph colour).
    UniqueBitmap DrawPreview(int width, COLORREF color);

private:
    // Copies cell `state` of entry i's strip into r, in the shape of that state.
    void PaintThemedFace(HDC dc, const RECT& r, int state, int i) const;
    int StripWidth() const;

    CapButtonLayout layout_;
    TButtonGlyphs glyphs_;
    std::vector<UniqueBitmap> strips_;  // per entry; null for an entry without a button
};

}  // namespace kz
