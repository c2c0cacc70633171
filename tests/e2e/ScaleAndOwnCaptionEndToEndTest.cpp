// Captions of today from the outside: targets on a desktop at 100, 150 and
// 200 % get their buttons in their caption at that scale, and a target that
// draws its own caption keeps every pixel and click of its own buttons.
#include "common/BindFunction.h"
#include "trelmo/toolbar/CaptionToolBar.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/SystemDpi.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace kz::test {
namespace {

constexpr std::chrono::seconds kButtonsTimeout{15};

// The driver reads the targets' windows in their own pixels: Windows and Wine
// scale what a program that is not aware of the scale reads of another's.
class AwareOfEachMonitorsScale {
public:
    AwareOfEachMonitorsScale() {
        set_ = BindFunction(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext");
        if (set_)
            previous_ = set_(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    }
    ~AwareOfEachMonitorsScale() {
        if (set_ && previous_)
            set_(previous_);
    }
    AwareOfEachMonitorsScale(const AwareOfEachMonitorsScale&) = delete;
    AwareOfEachMonitorsScale& operator=(const AwareOfEachMonitorsScale&) = delete;

private:
    HANDLE(WINAPI* set_)(HANDLE) = nullptr;
    HANDLE previous_ = nullptr;
};

// The rows of a screen column where the window answers the button's hit code.
std::pair<int, int> ButtonRows(HWND window, int x, int top, int bottom) {
    int first = -1;
    int last = -1;
    for (int y = top; y < bottom; ++y) {
        DWORD_PTR code = 0;
        ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &code);
        if (static_cast<LRESULT>(code) != kCaptionButtonHitCode)
            continue;
        if (first < 0)
            first = y;
        last = y;
    }
    return {first, last};
}

class ScaledDesktop : public HookedDesktopTest, public testing::WithParamInterface<int> {};

// Wine keeps one scale per prefix: each scale is a desktop whose programs
// started at it. Windows tells a program moved between monitors of other
// scales with WM_DPICHANGED, which lays the row out again the same way.
TEST_P(ScaledDesktop, ButtonsStandInTheCaptionAtItsHeightAndLeaveTheTitleUncovered) {
    const int dpi = GetParam();
    const AwareOfEachMonitorsScale aware;
    const ScopedLogPixels scale(static_cast<DWORD>(dpi));
    TargetProgram target({L"A title at " + std::to_wstring(dpi * 100 / 96) + L" %"});
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 20, 60, 980, 320, SWP_SHOWWINDOW);

    const RECT frame = WindowRect(window);
    const LRESULT barLeft = AskTarget(window, kAskTitleBar, 0);
    const LRESULT barTop = AskTarget(window, kAskTitleBar, 1);
    const LRESULT barBottom = AskTarget(window, kAskTitleBar, 3);
    const LRESULT titleWidth = AskTarget(window, kAskTitleWidth);
    ASSERT_GT(barBottom, barTop);
    ASSERT_GT(titleWidth, 0);
    const int captionHeight = static_cast<int>(barBottom - barTop);
    EXPECT_GE(captionHeight, 18 * dpi / 96) << "the target's caption is drawn at its scale";
    const int middle = frame.top + static_cast<int>(barTop + barBottom) / 2;

    ASSERT_TRUE(WaitUntil([&] { return ButtonSpans(window, middle).size() >= 9; }, kButtonsTimeout));
    const auto spans = ButtonSpans(window, middle);
    EXPECT_EQ(spans.size(), 9u);
    // The buttons are as wide and as high as the caption's scale makes them.
    const int width = spans.front().second - spans.front().first + 1;
    EXPECT_GE(width, 14 * dpi / 96);
    const auto rows = ButtonRows(window, (spans.front().first + spans.front().second) / 2, frame.top,
                                 frame.top + static_cast<int>(barBottom) + 4);
    EXPECT_GE(rows.first, frame.top + barTop) << "within the caption";
    EXPECT_LT(rows.second, frame.top + barBottom);
    EXPECT_GE(rows.second - rows.first + 1, captionHeight / 2) << "at the caption's height";
    // The title, measured in the caption font of the target's scale, stays clear.
    EXPECT_GE(spans.front().first - frame.left, barLeft + titleWidth);
    SaveScreenshot("e2e_scale_" + std::to_string(dpi));
    EXPECT_TRUE(target.Close());
}

INSTANTIATE_TEST_SUITE_P(At100150And200Percent, ScaledDesktop, testing::Values(96, 144, 192));

class OwnCaption : public HookedDesktopTest {};

// The program reports its own buttons through WM_NCHITTEST, as browsers do;
// the library must never answer there, nor take their clicks.
TEST_F(OwnCaption, ItsOwnButtonsKeepTheirHitCodesAndClicksWithTheLibraryAttached) {
    TargetLayout layout;
    layout.title = L"Own caption";
    layout.at = {120, 120};
    layout.size = {640, 300};
    layout.ownCaption = true;
    TargetProgram target(layout);
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntilAttached({window}, true));
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    ::SetForegroundWindow(window);
    PumpPending();

    const RECT frame = WindowRect(window);
    const int y = frame.top + kOwnCaptionHeight / 2;
    const int ownButtons = frame.right - 3 * kOwnButtonWidth;
    const LRESULT expected[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
    int wrong = 0;
    for (int x = frame.left; x < frame.right; ++x) {
        DWORD_PTR code = 0;
        ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &code);
        const LRESULT own = x >= ownButtons ? expected[(frame.right - 1 - x) / kOwnButtonWidth] : HTCAPTION;
        wrong += static_cast<LRESULT>(code) != own;
    }
    EXPECT_EQ(wrong, 0) << "columns of the caption that do not answer the program's own code";

    ClickAt(window, frame.right - kOwnButtonWidth - kOwnButtonWidth / 2, y);
    EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(window) != FALSE; })) << "its maximise button maximises it";
    SaveScreenshot("e2e_own_caption_maximised");
    EXPECT_TRUE(target.Close());
}

}  // namespace
}  // namespace kz::test
