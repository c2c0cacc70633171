#include "trelmo/toolbar/CaptionToolBarStd.h"
#include "trelmo/toolbar/CaptionToolBarXP.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"
#include "tests/toolbar/ToolbarWindowSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace kz::test {
namespace {

class ToolbarMouse : public ToolbarWindowTest {};

TEST_P(ToolbarMouse, TheLookOfTheWindowChoosesTheStyle) {
    Open(DefaultLibrarySettings());
    if (GetParam() == Look::Classic)
        EXPECT_NE(dynamic_cast<CaptionToolBarStd*>(Toolbar()), nullptr);
    else
        EXPECT_NE(dynamic_cast<CaptionToolBarXP*>(Toolbar()), nullptr);
    EXPECT_EQ(Row().VisibleCount(), 9);
}

TEST_P(ToolbarMouse, HitTestClaimsTheButtonsOnly) {
    Open(DefaultLibrarySettings());
    const POINT on = OnButton(kToBox);
    EXPECT_EQ(::SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(on.x, on.y)), kCaptionButtonHitCode);
    const POINT text = OnCaptionText();
    EXPECT_EQ(::SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(text.x, text.y)), HTCAPTION);
}

TEST_P(ToolbarMouse, ReleaseOffThePressedButtonSendsNothingAndBackOnItSendsOnce) {
    Open(DefaultLibrarySettings());
    NcButtonDown(OnButton(kToTray));
    EXPECT_EQ(::GetCapture(), Window());
    MouseMove(InClientArea());
    ButtonUp(InClientArea());
    EXPECT_EQ(::GetCapture(), nullptr);
    NcButtonDown(OnButton(kToTray));
    MouseMove(OnButton(kToBox));
    ButtonUp(OnButton(kToBox));  // over another button
    EXPECT_TRUE(Host().Messages().empty());

    NcButtonDown(OnButton(kToTray));
    MouseMove(InClientArea());
    MouseMove(OnButton(kToTray));
    ButtonUp(OnButton(kToTray));
    ASSERT_EQ(Host().Messages().size(), 1u);
    EXPECT_EQ(Host().Count(HM_TO_TRAY, Window()), 1);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Button-ups that follow no press of a button send nothing more.
    ButtonUp(OnButton(kToTray));
    EXPECT_EQ(Host().Messages().size(), 1u);
}

TEST_P(ToolbarMouse, RollButtonSendsOneRollAndNoResizeReport) {
    Open(DefaultLibrarySettings());
    Click(kRollUp);
    EXPECT_EQ(Host().Count(HM_ROLL, Window()), 1);
    EXPECT_EQ(Host().Count(HM_WINDOW_SIZED), 0);
    EXPECT_TRUE(Process().FindRecord(Window())->rolledUp);
}

TEST_P(ToolbarMouse, DoubleClickOnAButtonDoesNotMaximise) {
    Open(DefaultLibrarySettings());
    const POINT on = OnButton(kOnTop);
    ::SendMessageW(Window(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(on.x, on.y));
    ::SendMessageW(Window(), WM_SYSCOMMAND, SC_MAXIMIZE, MAKELPARAM(on.x, on.y));
    PumpPending();
    EXPECT_FALSE(::IsZoomed(Window()));
    EXPECT_TRUE(Host().Messages().empty());

    // The same double click on the caption text maximises as always.
    const POINT text = OnCaptionText();
    ::SendMessageW(Window(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(text.x, text.y));
    PumpPending();
    EXPECT_TRUE(::IsZoomed(Window()));
}

TEST_P(ToolbarMouse, TheProgramsOwnCaptureIsLeftAlone) {
    Open(DefaultLibrarySettings());
    // A program dragging in its client area gets its button-up with the capture still held.
    ::SetCapture(Window());
    ButtonUp(InClientArea());
    EXPECT_EQ(::GetCapture(), Window());
    ::ReleaseCapture();

    // A press that loses the mouse to someone else is over: its release sends nothing.
    NcButtonDown(OnButton(kToTray));
    ::SetCapture(Host().Window());
    ButtonUp(OnButton(kToTray));
    EXPECT_TRUE(Host().Messages().empty());
    ::ReleaseCapture();
}

TTTOOLINFOW ToolOf(HWND window, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = text;
    return tool;
}

// The tooltip window that has the window as its tool.
HWND TooltipOf(HWND window) {
    HWND tooltip = nullptr;
    while ((tooltip = ::FindWindowExW(nullptr, tooltip, L"tooltips_class32", nullptr))) {
        TTTOOLINFOW tool = ToolOf(window, nullptr);
        if (::SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)))
            return tooltip;
    }
    return nullptr;
}

std::wstring TooltipText(HWND tooltip, HWND window) {
    wchar_t text[80] = L"";
    TTTOOLINFOW tool = ToolOf(window, text);
    ::SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST_P(ToolbarMouse, TooltipNamesTheButtonUnderThePointer) {
    LibrarySettings settings = DefaultLibrarySettings();
    Open(settings);
    const HWND tooltip = TooltipOf(Window());
    ASSERT_NE(tooltip, nullptr);
    const std::pair<int, const wchar_t*> expected[] = {{kToBox, L"Minimize to box"},
                                                       {kRunCopy, L"Run application copy"}};
    for (const auto& [kind, text] : expected) {
        const POINT on = OnButton(kind);
        ::SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(on.x, on.y));
        EXPECT_EQ(TooltipText(tooltip, Window()), text);
    }

    settings.ShowButtonHints = false;
    ChangeSettings(settings);
    EXPECT_EQ(TooltipOf(Window()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Looks, ToolbarMouse, testing::Values(Look::Classic, Look::Themed), LookName);

}  // namespace
}  // namespace kz::test
