// The programs recognised by their window classes: Office 2007 and Skype get
// styles of their own, placed by fixed metrics.
#include "trelmo/toolbar/CaptionToolBarAero.h"
#include "trelmo/toolbar/CaptionToolBarOffice2007.h"
#include "trelmo/toolbar/CaptionToolBarSkype.h"
#include "tests/aero/GlassDesktop.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

class ClassStyles : public GlassDesktop {
protected:
    // Every visible button has this width and spans these rows.
    void ExpectButtons(int width, int top, int bottom) {
        int visible = 0;
        for (std::size_t i = 0; i < Row().Count(); ++i) {
            const CaptionButtonSlot& slot = Row()[i];
            if (!slot.visible || slot.kind == kOverflow)
                continue;
            ++visible;
            EXPECT_EQ(slot.rect.right - slot.rect.left, width);
            EXPECT_EQ(slot.rect.top, top);
            EXPECT_EQ(slot.rect.bottom, bottom);
        }
        EXPECT_EQ(visible, 9);
    }
    static int Brightness(uint32_t rgb) { return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF); }
    // The face's colour halfway down, beside the glyph.
    uint32_t FaceSample(int kind) {
        const RECT& rect = RectOf(kind);
        const int width = rect.right - rect.left;
        const std::vector<uint32_t> pixels = ButtonPixels(kind);
        return pixels[(rect.bottom - rect.top) / 2 * width + 2];
    }
};

TEST_F(ClassStyles, AnExcelWindowWithoutGlassGetsOfficeButtonsInAHelperOfItsOwn) {
    dwm_.SetComposition(false);
    const LONG glassCalls = dwm_.GlassCalls();  // the stand-in counts for the whole run
    Open(DefaultLibrarySettings(), L"XLMAIN", 1000);
    ASSERT_NE(dynamic_cast<CaptionToolBarOffice2007*>(Toolbar()), nullptr);
    ExpectButtons(35, 7, 28);
    EXPECT_EQ(Row().Bounds().right, WindowWidth(Window()) - 120);
    EXPECT_GE(Row().Bounds().left, 240);
    const HWND helper = Helper();
    ASSERT_NE(helper, nullptr);
    wchar_t className[64] = L"";
    ::GetClassNameW(helper, className, 64);
    EXPECT_STREQ(className, L"ToolBarOffice2007HelperWindow");
    EXPECT_TRUE(::GetWindowLongW(helper, GWL_EXSTYLE) & WS_EX_COMPOSITED);
    RECT expected = ExpectedHelperRect();
    RECT actual = WindowRect(Helper());
    EXPECT_TRUE(::EqualRect(&expected, &actual));
    EXPECT_EQ(dwm_.GlassCalls(), glassCalls) << "no glass without composition";

    // Its clicks send commands as everywhere.
    ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(InHelper(kToBack).x, InHelper(kToBack).y));
    ::SendMessageW(helper, WM_LBUTTONUP, 0, MAKELPARAM(InHelper(kToBack).x, InHelper(kToBack).y));
    EXPECT_EQ(Host().Count(HM_TO_BACK, Window()), 1);

    // A system command (here a restore) lays the buttons out and keeps the helper over them.
    ::SetWindowPos(Window(), nullptr, 0, 0, 1100, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::SendMessageW(Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(Row().Bounds().right, WindowWidth(Window()) - 120);
    expected = ExpectedHelperRect();
    actual = WindowRect(Helper());
    EXPECT_TRUE(::EqualRect(&expected, &actual));
}

TEST_F(ClassStyles, AWordWindowOnAComposedDesktopGetsTheGlassStyle) {
    Open(DefaultLibrarySettings(), L"OpusApp");
    EXPECT_NE(dynamic_cast<CaptionToolBarAero*>(Toolbar()), nullptr);
}

TEST_F(ClassStyles, AChangeOfOfficesColourSchemeRepaintsWithThatSchemesFaces) {
    dwm_.SetComposition(false);
    Open(DefaultLibrarySettings(), L"OpusApp", 900);
    PaintHelperNow();
    const uint32_t blue = FaceSample(kToTray);

    UniqueKey office;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\12.0\\Common", 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, office.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD black = 3;
    ASSERT_EQ(::RegSetValueExW(office.get(), L"Theme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&black),
                               sizeof black),
              ERROR_SUCCESS);
    ::SendMessageW(Window(), ::RegisterWindowMessageW(L"WM_MSO_BROADCASTCHANGE"), 0, 0);
    PaintHelperNow();
    const uint32_t dark = FaceSample(kToTray);
    EXPECT_LT(Brightness(dark) + 150, Brightness(blue)) << std::hex << blue << " then " << dark;
}

TEST_F(ClassStyles, SkypeOnAComposedDesktopGetsSmallButtonsInAStripBelowTheTop) {
    Open(DefaultLibrarySettings(), L"tSkMainForm.UnicodeClass", 700);
    ASSERT_NE(dynamic_cast<CaptionToolBarSkypeAero*>(Toolbar()), nullptr);
    ExpectButtons(24, 1, 18);
    EXPECT_EQ(Row().Bounds().right, WindowWidth(Window()) - 123);
    EXPECT_GE(Row().Bounds().left, 50);
    RECT expected = ExpectedHelperRect();
    RECT actual = WindowRect(Helper());
    EXPECT_TRUE(::EqualRect(&expected, &actual));
}

TEST_F(ClassStyles, SkypeWithoutGlassDrawsGreyGlyphsIntoItsFrame) {
    dwm_.SetComposition(false);
    LibrarySettings settings = DefaultLibrarySettings();
    settings.GlyphColorAutodetect = false;
    settings.GlyphColor = RGB(255, 0, 0);
    Open(settings, L"TConversationForm.UnicodeClass", 700);
    ASSERT_NE(dynamic_cast<CaptionToolBarSkype*>(Toolbar()), nullptr);
    EXPECT_EQ(Helper(), nullptr);
    ExpectButtons(24, 0, 18);
    EXPECT_EQ(Row().Bounds().right, WindowWidth(Window()) - 120);
    EXPECT_EQ(SkypeGlyphColours(settings).active, 0x616161u);

    ::RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    const std::vector<uint32_t> pixels = FramePixels(Window(), RectOf(kToBox));
    const int grey = CountPixels(pixels, 0x616161);
    const int red = CountPixels(pixels, 0xFF0000);
    EXPECT_GE(grey, 10);
    EXPECT_EQ(red, 0);
}

}  // namespace
}  // namespace kz::test
