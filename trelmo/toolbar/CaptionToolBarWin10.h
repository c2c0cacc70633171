// The style of Windows 10 and 11, whose window manager draws every caption
// flat: the buttons stand in the glass helper window as the system's own
// caption buttons do, with no face at rest, a soft fill under the pointer, a
// stronger one when pressed, and one-colour glyphs in the caption's text colour.
#pragma once

#include "trelmo/toolbar/AeroHelper.h"

#include <cstdint>

namespace kz {

// What the caption behind the buttons looks like, as the system's settings say.
struct CaptionTheme {
    bool dark = false;               // the window's dark-mode attribute, else the apps' theme
    bool accentOnTitleBars = false;  // the user shows the accent colour on title bars
    COLORREF accent = 0;             // 0x00BBGGRR
    bool operator==(const CaptionTheme& other) const {
        return dark == other.dark && accentOnTitleBars == other.accentOnTitleBars && accent == other.accent;
    }
};

// The colours a flat button is drawn in, premultiplied 0xAARRGGBB.
struct FlatButtonColours {
    uint32_t glyph;
    uint32_t hoverFill;
    uint32_t pressedFill;
};

// The colours for a caption: black on light captions, white on dark ones and
// on dark accent colours; fills of the glyph's colour at a tenth and a fifth;
// the glyph at two fifths on an inactive caption, which shows no accent.
FlatButtonColours FlatColours(const CaptionTheme& theme, bool activeCaption);

// The window's caption theme: its dark-mode attribute where the window
// manager answers, else the apps' theme; the accent from the window manager's
// settings.
CaptionTheme ReadCaptionTheme(HWND window);

// Our buttons' width at 100 %: about two thirds of the system's 46, so that
// nine of ours take the room of six of its own.
constexpr int kFlatButtonWidth = 32;

class CaptionToolBarWin10 : public HelperWindowToolBar {
public:
    explicit CaptionToolBarWin10(HookedWindow& record);
    ~CaptionToolBarWin10() override;

    const CaptionTheme& Theme() const { return theme_; }

    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // For styles that only change the layout: they start the helper themselves.
    struct Unstarted {};
    CaptionToolBarWin10(HookedWindow& record, Unstarted);

    // Height and right end from the system's caption buttons; the rest of
    // the caption from the title bar.
    RowGeometry Metrics() override;
    void DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state, bool checked,
                          bool activeCaption) override;
    // Reads the caption's theme again; the helper is repainted when it changed.
    void RefreshTheme();

private:
    CaptionTheme theme_;
};

// Programs that draw their own caption on Windows 10 and 11 (browsers,
// editors, chat programs): the buttons stand in the helper in the empty part
// of the program's caption, left of the minimise, maximise and close buttons
// the program reports through its own hit test, at their height. The
// program's buttons keep every pixel and every click; a program that reports
// no buttons of its own gets none of ours.
class CaptionToolBarProgramCaption : public CaptionToolBarWin10 {
public:
    explicit CaptionToolBarProgramCaption(HookedWindow& record);

protected:
    RowGeometry Metrics() override;
    bool InProgramCaption() const override { return true; }
};

}  // namespace kz
