// The flat style of Windows 10 and 11 on real windows, on a desktop the
// stand-in window manager reports as composed with the caption buttons of
// Windows 10: where the buttons stand, and what the helper composes before
// the window manager blends it over the caption (read as premultiplied
// pixels: the screen under Wine shows the helper over black).
#include "trelmo/toolbar/CaptionToolBarWin10.h"
#include "tests/aero/GlassDesktop.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

#include <map>

namespace kz::test {
namespace {

// The style is chosen by the system's version, which Wine reports as 7 here
// (the choice has its own unit test): the windows get it directly.
void InstallWin10(HookedWindow& record) { record.AddToolbar(std::make_unique<CaptionToolBarWin10>(record)); }

constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

class Win10Toolbar : public GlassDesktop {
protected:
    Win10Toolbar() : GlassDesktop(InstallWin10) {}

    void OpenActive() {
        Open();
        ASSERT_NE(dynamic_cast<CaptionToolBarWin10*>(Toolbar()), nullptr);
        ::SetForegroundWindow(Window());
        PumpPending();
    }
    HelperWindowToolBar& Helpers() { return *dynamic_cast<HelperWindowToolBar*>(Toolbar()); }
    LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }

    // How many pixels of a button the helper composed in each colour.
    std::map<uint32_t, int> Colours(int kind) {
        PaintHelperNow();
        const PixelImage pixels = Helpers().ComposedPixels();
        RECT rect = RectOf(kind);
        ::OffsetRect(&rect, -Row().Bounds().left, -Row().Bounds().top);
        std::map<uint32_t, int> counts;
        if (!pixels.pixels)
            return counts;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                ++counts[pixels.pixels[y * pixels.width + x]];
        return counts;
    }
    // The button's corner: fill or caption, never glyph.
    uint32_t Corner(int kind) {
        PaintHelperNow();
        const PixelImage pixels = Helpers().ComposedPixels();
        const RECT& rect = RectOf(kind);
        return pixels.pixels ? pixels.pixels[(rect.top - Row().Bounds().top + 1) * pixels.width +
                                             rect.left - Row().Bounds().left + 1]
                             : 0xDEADBEEF;
    }

    // The buttons stand in the caption at the system buttons' height, end
    // left of them, and leave the title its room.
    void ExpectBesideTheSystemButtons() {
        const RECT system = dwm_.CaptionButtonBounds(Window());
        ASSERT_FALSE(::IsRectEmpty(&system));
        const RECT& bounds = Row().Bounds();
        EXPECT_LE(bounds.right, system.left) << "the system's buttons, maximise among them, stay uncovered";
        EXPECT_EQ(bounds.top, system.top);
        EXPECT_EQ(bounds.bottom, system.bottom);
        EXPECT_EQ(Row().VisibleCount(), 9);
        RECT helper = WindowRect(Helper());
        RECT systemOnScreen = system;
        const RECT window = WindowRect(Window());
        ::OffsetRect(&systemOnScreen, window.left, window.top);
        RECT overlap{};
        EXPECT_FALSE(::IntersectRect(&overlap, &helper, &systemOnScreen));
    }

    // Hover and press fills read back from the helper; released elsewhere, nothing runs.
    void ExpectFills(uint32_t hover, uint32_t pressed) {
        const HWND helper = Helper();
        EXPECT_EQ(Corner(kToBox), 0u) << "no face at rest";
        ::SendMessageW(helper, WM_MOUSEMOVE, 0, At(InHelper(kToBox)));
        EXPECT_EQ(Corner(kToBox), hover);
        EXPECT_EQ(Corner(kToBack), 0u) << "only the button under the pointer";
        ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kToBox)));
        EXPECT_EQ(Corner(kToBox), pressed);
        ::SendMessageW(helper, WM_MOUSEMOVE, MK_LBUTTON, At(InHelper(kToBack)));
        ::SendMessageW(helper, WM_LBUTTONUP, 0, At(InHelper(kToBack)));
        ::SendMessageW(helper, WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(Corner(kToBox), 0u);
        EXPECT_TRUE(Host().Messages().empty());
    }

    // The glyph is drawn in one colour only, over a transparent rest.
    void ExpectGlyphIn(uint32_t colour, int kind = kToTray) {
        const std::map<uint32_t, int> colours = Colours(kind);
        EXPECT_EQ(colours.size(), 2u) << "transparent and the glyph's colour";
        EXPECT_GT(colours.count(colour) ? colours.at(colour) : 0, 12);
    }

    // Another window takes the activation: the glyphs dim to two fifths.
    void Deactivate() {
        other_.reset(CreateTestWindow());
        ::ShowWindow(other_.get(), SW_SHOW);
        ::SetForegroundWindow(other_.get());
        ::SendMessageW(Window(), WM_NCACTIVATE, FALSE, 0);
        PumpPending();
    }

    UniqueWindow other_;
};

TEST_F(Win10Toolbar, LightCaptionsGetBlackGlyphsGreyFillsAndDimmedGlyphsWhenInactive) {
    StoreCaptionColourSettings({});
    OpenActive();
    ExpectBesideTheSystemButtons();
    ExpectGlyphIn(kOpaqueBlack);
    // Black at a tenth and a fifth: the system's #E5E5E5 and #CCCCCC on white.
    ExpectFills(0x1A000000, 0x33000000);
    Deactivate();
    ExpectGlyphIn(0x66000000);
}

TEST_F(Win10Toolbar, DarkCaptionsGetWhiteGlyphsAndFillsFromTheWindowOrTheAppsTheme) {
    StoreCaptionColourSettings({});
    OpenActive();
    dwm_.SetDarkCaption(Window(), true);
    ::SendMessageW(Window(), WM_DWMCOLORIZATIONCOLORCHANGED, 0, 0);  // the handlers are built again
    ::SetForegroundWindow(Window());
    PumpPending();
    ExpectBesideTheSystemButtons();
    ExpectGlyphIn(kOpaqueWhite);
    ExpectFills(0x1A1A1A1A, 0x33333333);
    Deactivate();
    ExpectGlyphIn(0x66666666);

    // A window that does not say: the apps' theme decides.
    StoreCaptionColourSettings({true});
    OpenActive();
    ExpectGlyphIn(kOpaqueWhite);
}

TEST_F(Win10Toolbar, AnAccentColourOnTitleBarsGivesGlyphsThatStandOutOnItWhileActive) {
    StoreCaptionColourSettings({false, true, RGB(0x00, 0x4A, 0x8A)});  // dark blue
    OpenActive();
    ExpectBesideTheSystemButtons();
    ExpectGlyphIn(kOpaqueWhite);
    ExpectFills(0x1A1A1A1A, 0x33333333);
    // Inactive title bars show no accent: the light caption's dimmed black.
    Deactivate();
    ExpectGlyphIn(0x66000000);

    StoreCaptionColourSettings({false, true, RGB(0xFF, 0xD7, 0x5E)});  // a light yellow
    OpenActive();
    ExpectGlyphIn(kOpaqueBlack);
}

}  // namespace
}  // namespace kz::test
