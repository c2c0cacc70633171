// The caption toolbar of windows drawn with visual styles: faces from the
// theme's minimise button, glyphs in the colours of the theme's scheme.
#pragma once

#include "trelmo/toolbar/CaptionToolBar.h"
#include "trelmo/hook/SystemApi.h"

#include <optional>

namespace kz {

class CaptionButtonXPPainter;

// Glyph colours as 0x00RRGGBB; 0 leaves the glyphs as drawn.
struct GlyphColours {
    COLORREF active;
    COLORREF inactive;
};

class CaptionToolBarXP : public CaptionToolBar {
public:
    explicit CaptionToolBarXP(HookedWindow& record);
    ~CaptionToolBarXP() override;

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // For styles that draw like this one with colours of their own: they start the toolbar themselves.
    CaptionToolBarXP(HookedWindow& record, const GlyphColours& colours);

    RowGeometry Metrics() override;
    void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) override;
    UniqueRegion SlotRegion(const RECT& rect) const override;
    bool ClipsToWindowRegion() const override { return false; }

private:
    // From the title bar the window's own procedure describes (systems after XP).
    std::optional<RowGeometry> MetricsFromTitleBar();
    // From the theme's parts and the system metrics.
    RowGeometry MetricsFromTheme();
    LRESULT OnNcLButtonDown(LPARAM screenPoint);
    void OnHover(LPARAM screenPoint);

    static constexpr int kSchemeNameLength = 256;
    wchar_t colourScheme_[kSchemeNameLength] = L"";
    ThemeHandle theme_;
    CaptionButtonXPPainter* faces_ = nullptr;
    bool leaveRequested_ = false;  // the system will tell when the pointer leaves the frame
};

// The title bar and its system buttons as the window's own procedure
// describes them (systems after XP), in window coordinates.
struct TitleBarButtons {
    RECT titleBar{};
    int right = 0;    // left edge of the leftmost system button shown
    int top = 0;      // of the system buttons
    int width = -1;   // of a system button, the maximise button's when it has a size
    int height = -1;
};
std::optional<TitleBarButtons> ReadTitleBarButtons(HookedWindow& record);

// What the theme and the system metrics say of a window's caption.
struct ThemeCaptionMetrics {
    UINT dpi = USER_DEFAULT_SCREEN_DPI;  // the scale of the metrics
    bool placed = false;  // the theme gives the buttons' offset
    POINT offset{};       // of the theme's minimise button
    int windowWidth = 0;
    int buttonWidth = 0;  // SM_CXSIZE, or SM_CXSMSIZE for a small caption
    int systemButtons = 0;
    SIZE frame{};
    int top = 0;     // of the buttons
    int gap = 0;     // the caption's content margins, left and right
    int height = 0;  // of the buttons
};
ThemeCaptionMetrics ReadThemeCaptionMetrics(HWND window, HDC dc, UINT dpi);
// The buttons' width, and right moved to where they end: the theme's where
// it places its buttons. A theme that does not (Wine's) would put ours on
// the window's top edge: the system metrics place them instead.
int FitButtonsToTheme(ThemeCaptionMetrics& metrics, int& right);

// The stored colour, or, when it is to be detected, the colours that suit the
// desktop's colour scheme (null: no theme).
GlyphColours XPGlyphColours(const LibrarySettings& settings, const wchar_t* desktopScheme);

}  // namespace kz
