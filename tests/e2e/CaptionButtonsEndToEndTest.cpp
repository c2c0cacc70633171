// The caption buttons from the outside: drawn in other programs' captions,
// clicked with the real mouse, chosen from the system menu.
#include "common/Protocol.h"
#include "tests/support/EndToEnd.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kz::test {
namespace {

// How long a target's window may take to show its buttons here.
constexpr std::chrono::seconds kButtonsTimeout{10};

// How many pixels around the caption's middle row, inside the button spans,
// differ from the plain caption just left of the first button.
int DrawnButtonPixels(HWND window) {
    const std::vector<std::pair<int, int>> spans = ButtonSpans(window);
    if (spans.empty())
        return 0;
    const int y = CaptionMiddle(window);
    const int left = spans.front().first - 3;
    const int width = spans.back().second + 1 - left;
    const std::vector<uint32_t> band = ScreenPixels(RECT{left, y - 3, left + width, y + 4});
    if (band.empty())
        return 0;
    const uint32_t caption = band[3 * width];  // the middle row at the left edge
    int count = 0;
    for (const auto& span : spans)
        for (int x = span.first; x <= span.second; ++x)
            for (int row = 0; row < 7; ++row)
                count += band[row * width + x - left] != caption;
    return count;
}

class CaptionButtonsEndToEnd : public HookedDesktopTest {};

TEST_F(CaptionButtonsEndToEnd, NotepadAndATargetShowTheButtonsInTheirCaptions) {
    TargetProgram target({L"Buttons"});
    ChildProgram notepad(L"notepad.exe");
    const HWND targetWindow = target.WaitForWindow();
    const HWND notepadWindow = notepad.WaitForWindow();
    ASSERT_NE(targetWindow, nullptr);
    ASSERT_NE(notepadWindow, nullptr);
    ::SetWindowPos(targetWindow, HWND_TOP, 300, 300, 640, 300, SWP_SHOWWINDOW);
    ::SetWindowPos(notepadWindow, HWND_TOP, 20, 20, 600, 260, SWP_SHOWWINDOW);

    // All nine default buttons fit beside the short captions.
    EXPECT_TRUE(WaitForButtons(targetWindow, 9, kButtonsTimeout));
    EXPECT_TRUE(WaitForButtons(notepadWindow, 9, kButtonsTimeout));
    EXPECT_EQ(ButtonSpans(targetWindow).size(), 9u);
    EXPECT_EQ(ButtonSpans(notepadWindow).size(), 9u);
    // Each button shows a face or a glyph of its own over the caption.
    EXPECT_GT(DrawnButtonPixels(notepadWindow), 9 * 10);
    EXPECT_GT(DrawnButtonPixels(targetWindow), 9 * 10);
    SaveScreenshot("e2e_caption_buttons");
    EXPECT_TRUE(target.Close());
    EXPECT_TRUE(notepad.Close());
}

TEST_F(CaptionButtonsEndToEnd, ARealClickOnTheFirstButtonSendsToTray) {
    TargetProgram target({L"Click me"});
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 200, 200, 640, 300, SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
    ASSERT_TRUE(WaitForButtons(window, 9, kButtonsTimeout));
    const auto first = ButtonSpans(window).front();

    Host().Clear();
    SendClicksAt((first.first + first.second) / 2, CaptionMiddle(window));
    EXPECT_TRUE(WaitUntil([&] { return Host().Count(HM_TO_TRAY) >= 1; }));
    EXPECT_EQ(Host().Count(HM_TO_TRAY, window), 1);
    EXPECT_EQ(Host().Count(HM_TO_TRAY), 1);
    EXPECT_TRUE(::IsWindowVisible(window));  // the recording host carries out nothing
    SaveScreenshot("e2e_click_first_button");
    EXPECT_TRUE(target.Close());
}

TEST_F(CaptionButtonsEndToEnd, ASystemMenuEntrySendsItsCommand) {
    TargetProgram target({L"System menu"});
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return AskTarget(window, kAskAttached) == 1; }));

    // The entries stand at the top of the target's own system menu.
    const LRESULT count = AskTarget(window, kAskSystemMenuCount);
    ASSERT_GT(count, 9);
    std::vector<UINT> ids;
    for (LPARAM i = 0; i < 9; ++i)
        ids.push_back(static_cast<UINT>(AskTarget(window, kAskSystemMenuId, i)));
    EXPECT_EQ(ids[0], 8300u);
    EXPECT_EQ(ids[5], 8300u + 5 * 256);

    // Choosing "Push to background" (the sixth entry) is a WM_SYSCOMMAND with its identifier.
    Host().Clear();
    ::PostMessageW(window, WM_SYSCOMMAND, ids[5], 0);
    EXPECT_TRUE(WaitUntil([&] { return Host().Count(HM_TO_BACK, window) >= 1; }));
    AskTarget(window, kAskNcPaints);  // a round trip: nothing else is on its way
    PumpPending();
    EXPECT_EQ(Host().Count(HM_TO_BACK, window), 1);
    EXPECT_EQ(Host().Messages().size(), 1u);
    EXPECT_TRUE(target.Close());
}

TEST_F(CaptionButtonsEndToEnd, ATargetSubclassedLaterKeepsWorkingWhenTheHostGoesAway) {
    TargetProgram target({L"Host goes away"});
    const HWND window = target.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ::SetWindowPos(window, HWND_TOP, 200, 200, 640, 300, SWP_SHOWWINDOW);
    ASSERT_TRUE(WaitForButtons(window, 9, kButtonsTimeout));
    ASSERT_EQ(AskTarget(window, kAskSubclassOver), 1);
    const LRESULT entriesAttached = AskTarget(window, kAskSystemMenuCount);

    Host().Clear();
    desktop_.LeaveAsAtExit();
    EXPECT_TRUE(WaitUntil([&] { return ButtonSpans(window).empty(); }));
    EXPECT_LT(AskTarget(window, kAskSystemMenuCount), entriesAttached);

    // It answers, paints and resizes, and its own procedure over the library's sees it all.
    const LRESULT seen = AskTarget(window, kAskOverSeen);
    const LRESULT paints = AskTarget(window, kAskNcPaints);
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(AskTarget(window, kAskNcPaints), paints);
    ::SetWindowPos(window, nullptr, 0, 0, 700, 320, SWP_NOMOVE | SWP_NOZORDER);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 700);
    EXPECT_GT(AskTarget(window, kAskOverSeen), seen + 2);
    const LRESULT onCaption = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(rect.left + 300, CaptionMiddle(window)));
    EXPECT_EQ(onCaption, HTCAPTION);
    SaveScreenshot("e2e_host_gone_target_released");
    PumpPending();
    EXPECT_TRUE(Host().Messages().empty()) << "nothing is sent to a host that has gone";
    EXPECT_TRUE(target.Close());
}

}  // namespace
}  // namespace kz::test
