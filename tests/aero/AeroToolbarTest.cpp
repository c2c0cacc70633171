// The glass style on real windows: the helper window's place, life and
// clicks, and what it paints, on a desktop the stand-in reports as composed.
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/toolbar/CaptionToolBarAero.h"
#include "tests/aero/GlassDesktop.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

class AeroToolbar : public GlassDesktop {
protected:
    void ExpectHelperOverButtons(const char* when) {
        SCOPED_TRACE(when);
        const RECT expected = ExpectedHelperRect();
        const RECT actual = WindowRect(Helper());
        EXPECT_TRUE(::EqualRect(&expected, &actual))
            << "helper at (" << actual.left << "," << actual.top << ")-(" << actual.right << "," << actual.bottom
            << "), buttons at (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
            << expected.bottom << ")";
        EXPECT_TRUE(::IsWindowVisible(Helper()));
    }
    LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }
};

TEST_F(AeroToolbar, AComposedDesktopGivesTheGlassStyleAndAHelperOverTheButtons) {
    Open();
    EXPECT_NE(dynamic_cast<CaptionToolBarAero*>(Toolbar()), nullptr);
    EXPECT_EQ(dynamic_cast<CaptionToolBarSkypeAero*>(Toolbar()), nullptr);
    EXPECT_EQ(Row().VisibleCount(), 9);
    const HWND helper = Helper();
    ASSERT_NE(helper, nullptr);
    wchar_t className[64] = L"";
    ::GetClassNameW(helper, className, 64);
    EXPECT_STREQ(className, L"ToolBarAeroHelperWindow");
    EXPECT_EQ(::GetWindow(helper, GW_OWNER), Window());
    EXPECT_EQ(::GetWindowLongW(helper, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP);
    const LONG exStyle = ::GetWindowLongW(helper, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW), WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
    ExpectHelperOverButtons("attached");
    // Glass over the whole helper.
    EXPECT_EQ(dwm_.LastGlassWindow(), helper);
    EXPECT_EQ(dwm_.LastGlassLeft(), -1);
    // The buttons stay in the caption, left of the system buttons.
    RECT window{};
    ::GetWindowRect(Window(), &window);
    EXPECT_GT(Row().Bounds().left, 16);
    EXPECT_LT(Row().Bounds().right, window.right - window.left - 3 * ::GetSystemMetrics(SM_CXSIZE) + 4);
    EXPECT_LT(Row().Bounds().bottom, ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) + 4);
}

TEST_F(AeroToolbar, CompositionSwitchedOffGivesTheWindowAStyleThatDrawsIntoTheFrame) {
    Open();
    dwm_.SetComposition(false);
    ::SendMessageW(Window(), WM_DWMCOMPOSITIONCHANGED, 0, 0);
    ASSERT_NE(Toolbar(), nullptr);
    EXPECT_EQ(dynamic_cast<HelperWindowToolBar*>(Toolbar()), nullptr);
    EXPECT_TRUE(ProcessWindowsOfClass(kAeroHelperClassName).empty());
    EXPECT_EQ(CountHelpers(), 0u);
}

TEST_F(AeroToolbar, TheHelperFollowsMovesResizesAndEveryShowState) {
    Open();
    const RECT before = Row().Bounds();
    ::SetWindowPos(Window(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ExpectHelperOverButtons("moved");
    ::SendMessageW(Window(), WM_MOVING, 0, 0);
    ExpectHelperOverButtons("moving");

    ::SetWindowPos(Window(), nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Row().Bounds().right, before.right + 140) << "the buttons keep their distance from the right edge";
    ExpectHelperOverButtons("resized");

    ::ShowWindow(Window(), SW_MAXIMIZE);
    PumpPending();
    ExpectHelperOverButtons("maximised");

    ::ShowWindow(Window(), SW_MINIMIZE);
    PumpPending();
    EXPECT_FALSE(::IsWindowVisible(Helper())) << "minimised";

    ::ShowWindow(Window(), SW_RESTORE);
    PumpPending();
    ExpectHelperOverButtons("restored");

    ::ShowWindow(Window(), SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(Helper())) << "hidden";
    ::ShowWindow(Window(), SW_SHOWNOACTIVATE);
    ExpectHelperOverButtons("shown again");
}

TEST_F(AeroToolbar, TheHelperGoesWithItsToolbarAndNothingIsLeftBehind) {
    Open();
    const HWND first = Helper();
    ::SendMessageW(Window(), WM_SETTINGCHANGE, 0, 0);  // rebuilds the handlers
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_TRUE(::IsWindow(Helper()));
    EXPECT_EQ(ProcessWindowsOfClass(kAeroHelperClassName).size(), 1u);
    EXPECT_EQ(CountHelpers(), 1u);

    window_.reset();  // the window closes
    EXPECT_TRUE(ProcessWindowsOfClass(kAeroHelperClassName).empty());
    EXPECT_EQ(CountHelpers(), 0u);
    EXPECT_EQ(CountPainters().references, 0) << "every painter was given back";

    // The library unloads while a window still has its buttons.
    Open();
    EXPECT_EQ(CountHelpers(), 1u);
    Process().Stop(false);
    EXPECT_TRUE(ProcessWindowsOfClass(kAeroHelperClassName).empty());
    EXPECT_EQ(CountHelpers(), 0u);
    WNDCLASSW info{};
    EXPECT_FALSE(::GetClassInfoW(::GetModuleHandleW(nullptr), kAeroHelperClassName, &info))
        << "the class is unregistered with the last helper";
}

TEST_F(AeroToolbar, ClicksOnTheHelperSendTheSameCommandsAsTheOtherStyles) {
    Open();
    const HWND helper = Helper();
    EXPECT_EQ(::SendMessageW(helper, WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(::SendMessageW(helper, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Window()), 0), MA_NOACTIVATE);

    ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kToTray)));
    EXPECT_EQ(::GetCapture(), helper);
    ::SendMessageW(helper, WM_LBUTTONUP, 0, At(InHelper(kToTray)));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Host().Count(HM_TO_TRAY, Window()), 1);

    // Released over another button: nothing.
    ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kToBox)));
    ::SendMessageW(helper, WM_MOUSEMOVE, MK_LBUTTON, At(InHelper(kToBack)));
    ::SendMessageW(helper, WM_LBUTTONUP, 0, At(InHelper(kToBack)));
    EXPECT_EQ(Host().Messages().size(), 1u);

    ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kRollUp)));
    ::SendMessageW(helper, WM_LBUTTONUP, 0, At(InHelper(kRollUp)));
    EXPECT_EQ(Host().Count(HM_ROLL, Window()), 1);
    EXPECT_EQ(Host().Count(HM_WINDOW_SIZED), 0);
    EXPECT_TRUE(Process().FindRecord(Window())->rolledUp);
}

TEST_F(AeroToolbar, AClickKeepsTheFocusOnTheWindowsControl) {
    Open();
    const HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, Window(), nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    ::SetFocus(edit);
    ASSERT_EQ(::GetFocus(), edit);
    const HWND helper = Helper();
    ::SendMessageW(helper, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Window()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    ::SendMessageW(helper, WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kOnTop)));
    ::SendMessageW(helper, WM_LBUTTONUP, 0, At(InHelper(kOnTop)));
    ::SendMessageW(Window(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(Host().Count(HM_ON_TOP, Window()), 1);
    EXPECT_EQ(::GetFocus(), edit);
}

TEST_F(AeroToolbar, TheHelperShowsFacesAndCentredGlyphsAndFollowsThePointer) {
    LibrarySettings settings = DefaultLibrarySettings();
    settings.GlyphColorAutodetect = false;
    settings.GlyphColor = RGB(255, 0, 0);  // the glass style keeps its own glyphs
    Open(settings);
    PaintHelperNow();
    for (int kind = kToTray; kind <= kRunCopy; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        const std::vector<uint32_t> pixels = ButtonPixels(kind);
        const RECT& rect = RectOf(kind);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width * height));
        EXPECT_GT(static_cast<int>(pixels.size()) - CountPixels(pixels, 0), width * height / 2) << "a face";
        EXPECT_EQ(CountPixels(pixels, 0xFF0000), 0);
        // The glyph is white; its box sits in the middle of the button.
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[y * width + x] == 0xFFFFFF) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "no glyph";
        EXPECT_LE(std::abs((left + right) - (width - 1)), 6);
        EXPECT_LE(std::abs((top + bottom) - (height - 1)), 6);
    }

    const std::vector<uint32_t> normal = ButtonPixels(kToBox);
    const std::vector<uint32_t> neighbour = ButtonPixels(kToTray);
    ::SendMessageW(Helper(), WM_MOUSEMOVE, 0, At(InHelper(kToBox)));
    PaintHelperNow();
    const std::vector<uint32_t> hot = ButtonPixels(kToBox);
    EXPECT_NE(hot, normal) << "hot frame";
    EXPECT_EQ(ButtonPixels(kToTray), neighbour);

    ::SendMessageW(Helper(), WM_LBUTTONDOWN, MK_LBUTTON, At(InHelper(kToBox)));
    PaintHelperNow();
    const std::vector<uint32_t> pressed = ButtonPixels(kToBox);
    EXPECT_NE(pressed, hot) << "pressed frame";
    EXPECT_NE(pressed, normal);
    ::SendMessageW(Helper(), WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
    ::SendMessageW(Helper(), WM_MOUSELEAVE, 0, 0);
    PaintHelperNow();
    EXPECT_EQ(ButtonPixels(kToBox), normal) << "back to normal once the pointer left";

    // A rolled-up window shows the roll-up button's second glyph.
    const std::vector<uint32_t> unrolled = ButtonPixels(kRollUp);
    Process().FindRecord(Window())->rolledUp = true;
    PaintHelperNow();
    EXPECT_NE(ButtonPixels(kRollUp), unrolled);
}

}  // namespace
}  // namespace kz::test
