// The glass style from the outside: a target in another process, with the
// stand-in window manager reporting composition, gets its buttons in a helper
// window over its caption that follows it, hides with it and goes with it.
// (Clicks are tested in-process: under Wine a raised owner covers its owned
// popup for the pointer, which Windows never lets happen.)
#include "tests/aero/DwmStandIn.h"
#include "trelmo/toolbar/CaptionToolBarWin10.h"
#include "tests/support/EndToEnd.h"

#include <gtest/gtest.h>

#include <string>

namespace kz::test {
namespace {

HWND HelperOf(HWND owner) {
    HWND found = nullptr;
    ForEachWindow(nullptr, [&](HWND window) {
        wchar_t name[64] = L"";
        ::GetClassNameW(window, name, 64);
        if (::lstrcmpW(name, L"ToolBarAeroHelperWindow") == 0 && ::GetWindow(window, GW_OWNER) == owner)
            found = window;
        return found == nullptr;
    });
    return found;
}

TEST(AeroEndToEnd, ATargetOnAComposedDesktopShowsItsButtonsInAGlassHelperOverItsCaption) {
    const DwmStandIn dwm;
    ASSERT_TRUE(dwm.Loaded()) << "run with WINEDLLOVERRIDES=" << kStandInOverride;
    HookedDesktop desktop;
    ASSERT_TRUE(desktop.Installed());
    TargetProgram target({L"Glass"});
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 200, 200, 640, 300, SWP_SHOWWINDOW);

    HWND helper = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (helper = HelperOf(window)) != nullptr && ::IsWindowVisible(helper); },
                          std::chrono::seconds(10)));
    RECT frame{};
    ::GetWindowRect(window, &frame);
    RECT rect{};
    ::GetWindowRect(helper, &rect);
    const int captionBottom = frame.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION) + 2;
    EXPECT_GE(rect.top, frame.top);
    EXPECT_LE(rect.bottom, captionBottom);
    EXPECT_GT(rect.left, frame.left + 16);
    EXPECT_LT(rect.right, frame.right - 2 * ::GetSystemMetrics(SM_CXSIZE));
    EXPECT_GE(rect.right - rect.left, 9 * 10) << "nine buttons";
    EXPECT_EQ(dwm.LastGlassWindow(), helper) << "the target made its helper of glass";
    SaveScreenshot("e2e_aero_helper_over_caption");

    // Moved, the helper follows.
    ::SetWindowPos(window, nullptr, 300, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] {
        RECT now{};
        ::GetWindowRect(helper, &now);
        return now.left == rect.left + 100 && now.top == rect.top + 60;
    }));
    ::GetWindowRect(helper, &rect);

    // Minimised, the helper hides; closed, it is gone.
    ::ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(helper); }));
    ::ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(helper) != FALSE; }));
    EXPECT_TRUE(target.Close());
    EXPECT_FALSE(::IsWindow(helper));
}

// Windows 10 and 11 as the stand-in and Wine's version for the target give
// them: flat buttons of their own width in the helper, at the height of the
// system's caption buttons and left of them, on a light or a dark caption.
class FlatEndToEnd : public testing::TestWithParam<bool> {};

TEST_P(FlatEndToEnd, ATargetOnWindows10GetsFlatButtonsBesideTheSystemButtonsLeavingThemUncovered) {
    const bool dark = GetParam();
    const DwmStandIn dwm;
    ASSERT_TRUE(dwm.Loaded()) << "run with WINEDLLOVERRIDES=" << kStandInOverride;
    const ScopedProgramVersion version(kTargetProgramFile, L"win10");
    HookedDesktop desktop;
    ASSERT_TRUE(desktop.Installed());
    TargetLayout layout;
    layout.title = dark ? L"Dark" : L"Light";
    layout.darkCaption = dark;
    TargetProgram target(layout);
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 200, 200, 640, 300, SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);

    HWND helper = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (helper = HelperOf(window)) != nullptr && ::IsWindowVisible(helper); },
                          std::chrono::seconds(10)));
    const RECT frame = WindowRect(window);
    RECT system = dwm.CaptionButtonBounds(window);
    ::OffsetRect(&system, frame.left, frame.top);
    ASSERT_FALSE(::IsRectEmpty(&system));
    RECT rect{};
    ASSERT_TRUE(WaitUntil([&] {
        rect = WindowRect(helper);
        return rect.right - rect.left == 9 * kFlatButtonWidth;
    })) << "nine flat buttons of their own width, not glass faces";
    EXPECT_LE(rect.right, system.left) << "the system's buttons, maximise among them, stay uncovered";
    EXPECT_EQ(rect.top, system.top);
    EXPECT_EQ(rect.bottom, system.bottom) << "at the system buttons' height";
    if (dark) {
        // Under Wine the helper shows over black: the white glyphs stand out
        // once the target has painted them.
        int white = 0;
        EXPECT_TRUE(WaitUntil([&] {
            white = 0;
            for (uint32_t pixel : ScreenPixels(rect))
                white += (pixel & 0xFFFFFF) == 0xFFFFFF;
            return white > 9 * 12;
        })) << "white glyphs on the dark caption: " << white << " pixels";
    }
    SaveScreenshot(dark ? "e2e_flat_dark" : "e2e_flat_light");
    EXPECT_TRUE(target.Close());
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, FlatEndToEnd, testing::Values(false, true));

// A program that draws its own caption, on Windows 10: our buttons stand in
// the empty part of its caption, left of its own buttons and at their height;
// its buttons keep their hit codes and their clicks.
TEST(ProgramCaptionEndToEnd, ButtonsStandLeftOfTheProgramsOwnButtonsWhichKeepTheirCodesAndClicks) {
    const DwmStandIn dwm;
    ASSERT_TRUE(dwm.Loaded()) << "run with WINEDLLOVERRIDES=" << kStandInOverride;
    const ScopedProgramVersion version(kTargetProgramFile, L"win10");
    HookedDesktop desktop;
    ASSERT_TRUE(desktop.Installed());
    TargetLayout layout;
    layout.title = L"Own caption";
    layout.ownCaption = true;
    TargetProgram target(layout);
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 150, 150, 720, 300, SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);

    HWND helper = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (helper = HelperOf(window)) != nullptr && ::IsWindowVisible(helper); },
                          std::chrono::seconds(10)));
    RECT frame{};
    RECT rect{};
    const int ownButtons = 3 * kOwnButtonWidth;
    ASSERT_TRUE(WaitUntil([&] {
        frame = WindowRect(window);
        rect = WindowRect(helper);
        return rect.right == frame.right - ownButtons;
    })) << "the helper ends where the program's minimise button begins";
    EXPECT_EQ(rect.top, frame.top);
    EXPECT_EQ(rect.bottom, frame.top + kOwnCaptionHeight) << "at the height of the program's buttons";
    EXPECT_EQ(rect.right - rect.left, 9 * kFlatButtonWidth);
    SaveScreenshot("e2e_program_caption");

    const int y = frame.top + kOwnCaptionHeight / 2;
    const LRESULT expected[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
    int wrong = 0;
    for (int x = frame.right - ownButtons; x < frame.right; ++x) {
        DWORD_PTR code = 0;
        ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &code);
        wrong += static_cast<LRESULT>(code) != expected[(frame.right - 1 - x) / kOwnButtonWidth];
    }
    EXPECT_EQ(wrong, 0) << "columns of the program's buttons that do not answer its own code";
    ClickAt(window, frame.right - kOwnButtonWidth - kOwnButtonWidth / 2, y);
    EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(window) != FALSE; })) << "its maximise button maximises it";
    EXPECT_TRUE(target.Close());
}

}  // namespace
}  // namespace kz::test
