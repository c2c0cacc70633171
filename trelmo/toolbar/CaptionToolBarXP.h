// The caption toolbar of windows drawn with visual styles: faces from the
// theme's minimise button, glyphs in the colours of the theme's scheme.
#pragma once

#include "CaptionToolBar.h"
#include "SystemApi.h"

#include <optional>

namespace kz {

class CaptionButtonXPPainter;

class CaptionToolBarXP : public CaptionToolBar {
public:
    explicit CaptionToolBarXP(HookedWindow& record);
    ~CaptionToolBarXP() override;

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
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

// Glyph colours as 0x00RRGGBB; 0 leaves the glyphs as drawn.
struct GlyphColours {
    COLORREF active;
    COLORREF inactive;
};

// The stored colour, or, when it is to be detected, the colours that suit the
// desktop's colour scheme (null: no theme).
GlyphColours XPGlyphColours(const LibrarySettings& settings, const wchar_t* desktopScheme);

}  // namespace kz
