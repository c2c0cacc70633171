// Boxes as real windows on the test's thread, with the real executor: their
// look, their slots, the arrangement menu, dragging with snapping, giving
// the window back, and boxes whose window is gone.
#include "kz/commands/Boxmenu.h"
#include "kz/commands/Boxplacement.h"
#include "kz/commands/Impprofile.h"
#include "tests/support/PixelCanvas.h"
#include "tests/support/TestWindows.h"
#include "kz/commands/Ubox.h"
#include "kz/core/Vwindowlist.h"

#include "common/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace kz {
namespace {

using test::PumpPending;
using test::WaitUntil;
using test::WindowRect;

// A top-level window of the test that counts the requests to close it and
// can refuse them, as a program that asks to save first does.
class TargetWindow {
public:
    HWND Window() const { return window_.Window(); }
    bool refuseClose = false;
    int closeRequests = 0;

private:
    std::optional<LRESULT> OnMessage(UINT message) {
        if (message != WM_CLOSE)
            return std::nullopt;
        ++closeRequests;
        return refuseClose ? std::optional<LRESULT>(0) : std::nullopt;
    }
    test::TestWindow window_{[this](UINT message, WPARAM, LPARAM) { return OnMessage(message); },
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE};
};

POINT TopLeft(HWND window) {
    const RECT rect = WindowRect(window);
    return POINT{rect.left, rect.top};
}

::testing::AssertionResult StandsAt(HWND window, POINT expected) {
    const POINT at = TopLeft(window);
    if (at.x == expected.x && at.y == expected.y)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "stands at (" << at.x << ", " << at.y << "), expected (" << expected.x
                                         << ", " << expected.y << ")";
}

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// The mouse message of a mouse at a screen point, in the box's client coordinates.
void SendMouse(HWND box, UINT message, POINT screen) {
    const POINT at = TopLeft(box);
    ::SendMessageW(box, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                   ClientPoint(screen.x - at.x, screen.y - at.y));
}

// A drag through the box's own mouse messages that takes hold 10 pixels into
// the box and lets go where its top-left corner would be at topLeft.
void DragWithMessages(HWND box, POINT topLeft) {
    constexpr int kGrip = 10;
    const POINT start = TopLeft(box);
    SendMouse(box, WM_LBUTTONDOWN, POINT{start.x + kGrip, start.y + kGrip});
    const POINT halfway{(start.x + topLeft.x) / 2 + kGrip, (start.y + topLeft.y) / 2 + kGrip};
    SendMouse(box, WM_MOUSEMOVE, halfway);
    SendMouse(box, WM_MOUSEMOVE, POINT{topLeft.x + kGrip, topLeft.y + kGrip});
    SendMouse(box, WM_LBUTTONUP, POINT{topLeft.x + kGrip, topLeft.y + kGrip});
}

// Real mouse input, as the user gives it, each event at its point.
void SendMouseInput(DWORD flags, POINT screen) {
    INPUT input = test::MouseInputAt(screen.x, screen.y, flags);
    ::SendInput(1, &input, sizeof input);
}

POINT CentreOf(HWND window) {
    const RECT rect = WindowRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class BoxWindowsTest : public ::testing::Test {
protected:
    BoxWindowsTest() : mainWindow_(test::CreateMainWindowStandIn()), boxes_(mainWindow_.get(), executor_) {
        executor_.Connect(mainWindow_.get(), nullptr, &boxes_, nullptr);
        boxes_.SetBoxSize(48);
    }
    ~BoxWindowsTest() override {
        executor_.RestoreAll();
        executor_.Connect(nullptr, nullptr, nullptr, nullptr);
        if (::GetCapture())
            ::ReleaseCapture();
        PumpPending();
    }

    TargetWindow& NewTarget() {
        targets_.push_back(std::make_unique<TargetWindow>());
        return *targets_.back();
    }
    // What the host does for the minimise-to-box command; the box's window.
    HWND MinimiseToBox(HWND target) {
        executor_.SetVisible(target, false);
        executor_.SetInBox(target, true);
        const TfrmBox* box = boxes_.BoxOf(target);
        return box ? box->Window() : nullptr;
    }
    POINT Slot(int arrangement, int slot) const {
        return BoxSlotPosition(arrangement, slot, boxes_.BoxSize(), PrimaryWorkArea());
    }
    bool TakenBack(HWND target, HWND box) const {
        return ::IsWindowVisible(target) && !boxes_.HasBox(target) && !::IsWindow(box);
    }

    UniqueWindow mainWindow_;
    TImpProfile executor_;
    TBoxList boxes_;
    std::vector<std::unique_ptr<TargetWindow>> targets_;
};

TEST_F(BoxWindowsTest, ABoxIsATopmostSemiTransparentSquareOwnedByTheMainWindow) {
    const HWND target = NewTarget().Window();
    const HWND box = MinimiseToBox(target);
    ASSERT_TRUE(box);
    EXPECT_FALSE(::IsWindowVisible(target));
    EXPECT_TRUE(::IsWindowVisible(box));
    wchar_t className[32] = {};
    ::GetClassNameW(box, className, 32);
    EXPECT_STREQ(className, L"TfrmBox");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), mainWindow_.get());
    const LONG_PTR style = ::GetWindowLongPtrW(box, GWL_STYLE), exStyle = ::GetWindowLongPtrW(box, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    ASSERT_TRUE(exStyle & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_TRUE(flags & LWA_ALPHA);
    RECT client{};
    ::GetClientRect(box, &client);
    EXPECT_EQ(client.right, 48);
    EXPECT_EQ(client.bottom, 48);
    EXPECT_EQ(::GetClassLongPtrW(box, GCL_STYLE) & (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW),
              static_cast<ULONG_PTR>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
}

TEST_F(BoxWindowsTest, BoxesAreLeftOutOfTheHostsWindowList) {
    const HWND target = NewTarget().Window();
    std::vector<HWND> list;
    CollectTopLevelWindows(list, mainWindow_.get());
    EXPECT_NE(std::find(list.begin(), list.end(), target), list.end()) << "the list sees the test's windows";
    const HWND box = MinimiseToBox(target);
    CollectTopLevelWindows(list, mainWindow_.get());
    EXPECT_EQ(std::find(list.begin(), list.end(), box), list.end());
    EXPECT_EQ(std::find(list.begin(), list.end(), target), list.end()) << "hidden";
}

TEST_F(BoxWindowsTest, BoxesLineUpInTheArrangementInForce) {
    ASSERT_EQ(boxes_.Arrangement(), 7);
    for (int i = 0; i < 3; ++i) {
        const HWND box = MinimiseToBox(NewTarget().Window());
        EXPECT_TRUE(StandsAt(box, Slot(7, i))) << "box " << i;
    }
    EXPECT_EQ(boxes_.Count(), 3);
}

TEST_F(BoxWindowsTest, ANewBoxFillsTheGapARemovedBoxLeft) {
    HWND box[3], target[3];
    for (int i = 0; i < 3; ++i) {
        target[i] = NewTarget().Window();
        box[i] = MinimiseToBox(target[i]);
    }
    executor_.SetVisible(target[1], true);
    executor_.SetInBox(target[1], false);
    EXPECT_FALSE(::IsWindow(box[1]));
    EXPECT_TRUE(StandsAt(box[0], Slot(7, 0)));
    EXPECT_TRUE(StandsAt(box[2], Slot(7, 2)));
    const HWND added = MinimiseToBox(NewTarget().Window());
    EXPECT_TRUE(StandsAt(added, Slot(7, 1)));
    // Slot 0's box dragged away frees its slot for the next box.
    DragWithMessages(box[0], POINT{Slot(7, 0).x - 300, Slot(7, 0).y + 300});
    EXPECT_TRUE(StandsAt(MinimiseToBox(NewTarget().Window()), Slot(7, 0)));
}

TEST_F(BoxWindowsTest, TheArrangementInForceIsTheOneTheExecutorWasGiven) {
    // At start-up the host gives the executor the stored arrangement.
    executor_.SetArrangement(3);
    EXPECT_EQ(boxes_.Arrangement(), 3);
    EXPECT_TRUE(StandsAt(MinimiseToBox(NewTarget().Window()), Slot(3, 0)));

    TImpProfile another;
    another.SetArrangement(5);
    TBoxList list(mainWindow_.get(), another);
    EXPECT_EQ(list.Arrangement(), 5);
    // A code that names no arrangement changes nothing.
    list.SetArrangement(0);
    list.SetArrangement(9);
    EXPECT_EQ(list.Arrangement(), 5);
}

TEST_F(BoxWindowsTest, ChoosingAnArrangementFromTheMenuReplacesEveryBox) {
    std::vector<HWND> box;
    for (int i = 0; i < 3; ++i)
        box.push_back(MinimiseToBox(NewTarget().Window()));
    DragWithMessages(box[1], POINT{300, 300});
    ASSERT_FALSE(StandsAt(box[1], Slot(7, 1)));
    ::SendMessageW(box[2], WM_COMMAND, CommandOfArrangement(3), 0);
    EXPECT_EQ(executor_.Arrangement(), 3);
    EXPECT_EQ(boxes_.Arrangement(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(StandsAt(box[static_cast<std::size_t>(i)], Slot(3, i))) << "box " << i;
}

// Looks at the box's menu while it is open and closes it again.
struct OpenMenuSpy {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            const auto menu = reinterpret_cast<HMENU>(message->wParam);
            if (::GetMenuItemCount(menu) == 4) {
                const HMENU grid = ArrangementSubmenu(menu);
                for (int i = 0; i < ::GetMenuItemCount(grid); ++i)
                    if (::GetMenuState(grid, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
                        marked.push_back(static_cast<int>(::GetMenuItemID(grid, i)));
                seen = true;
                ::EndMenu();
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // Should the menu never be seen, the open menu would hold the test's
    // thread: a timer closes it.
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }
    static inline bool seen = false;
    static inline std::vector<int> marked;
};

TEST_F(BoxWindowsTest, TheBoxMenuMarksTheArrangementInForce) {
    executor_.SetArrangement(4);
    const HWND box = MinimiseToBox(NewTarget().Window());
    OpenMenuSpy::seen = false;
    OpenMenuSpy::marked.clear();
    const UniqueHook hook(::SetWindowsHookExW(WH_CALLWNDPROC, &OpenMenuSpy::Hook, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    const UINT_PTR giveUp = ::SetTimer(nullptr, 0, 5000, &OpenMenuSpy::GiveUp);
    const POINT at = CentreOf(box);
    ::PostMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), ClientPoint(at.x, at.y));
    const bool seen = WaitUntil([] { return OpenMenuSpy::seen; });
    ::KillTimer(nullptr, giveUp);
    ASSERT_TRUE(seen);
    EXPECT_EQ(OpenMenuSpy::marked, std::vector<int>{static_cast<int>(CommandOfArrangement(4))});
    // Closed without a choice: the box and the arrangement stay.
    PumpPending();
    EXPECT_TRUE(::IsWindow(box));
    EXPECT_EQ(boxes_.Arrangement(), 4);
}

TEST_F(BoxWindowsTest, ADeadWindowFoundAtAClickTakesItsBoxAway) {
    TargetWindow& target = NewTarget();
    const HWND window = target.Window();
    const HWND box = MinimiseToBox(window);
    ::DestroyWindow(window);
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_FALSE(boxes_.HasBox(window));
    EXPECT_EQ(executor_.FindSaved(window), nullptr);
    EXPECT_EQ(executor_.Current().Find(window), nullptr);
    EXPECT_NE(::GetCapture(), box);
}

TEST_F(BoxWindowsTest, ADeadWindowTakesItsBoxAwayUntouched) {
    const HWND window = NewTarget().Window();
    const HWND box = MinimiseToBox(window);
    const HWND other = MinimiseToBox(NewTarget().Window());
    ::DestroyWindow(window);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_FALSE(boxes_.HasBox(window));
    EXPECT_TRUE(::IsWindow(other));
}

TEST_F(BoxWindowsTest, AForgottenWindowTakesItsBoxAwayAndIsLeftAsItIs) {
    // What the host does when the library reports that a window is going:
    // showing a window in the middle of its destruction would flash it.
    const HWND window = NewTarget().Window();
    const HWND box = MinimiseToBox(window);
    executor_.ForgetWindow(window);
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_FALSE(boxes_.HasBox(window));
    EXPECT_FALSE(::IsWindowVisible(window));
}

TEST_F(BoxWindowsTest, ADragEndingNearTheWorkAreaEdgeSticksToIt) {
    const HWND box = MinimiseToBox(NewTarget().Window());
    const RECT workArea = WorkAreaOfMonitorAt(WindowRect(box));
    DragWithMessages(box, POINT{workArea.left + 3, workArea.top + 200});
    EXPECT_TRUE(StandsAt(box, POINT{workArea.left, workArea.top + 200}));
    EXPECT_NE(::GetCapture(), box);
    DragWithMessages(box, POINT{workArea.left + 6, workArea.top + 250});
    EXPECT_TRUE(StandsAt(box, POINT{workArea.left + 6, workArea.top + 250}));
    DragWithMessages(box, POINT{workArea.left + 200, workArea.bottom - 48 + 5});
    EXPECT_TRUE(StandsAt(box, POINT{workArea.left + 200, workArea.bottom - 48}));
}

TEST_F(BoxWindowsTest, ADragEndingNearAnotherBoxSticksToIt) {
    const HWND first = MinimiseToBox(NewTarget().Window());
    const HWND second = MinimiseToBox(NewTarget().Window());
    const RECT workArea = WorkAreaOfMonitorAt(WindowRect(first));
    const POINT middle{workArea.left + 200, workArea.top + 200};
    DragWithMessages(first, middle);
    ASSERT_TRUE(StandsAt(first, middle));
    DragWithMessages(second, POINT{middle.x + 48 + 3, middle.y + 4});
    EXPECT_TRUE(StandsAt(second, POINT{middle.x + 48, middle.y}));
    DragWithMessages(second, POINT{middle.x - 2, middle.y + 48 + 5});
    EXPECT_TRUE(StandsAt(second, POINT{middle.x, middle.y + 48}));
}

TEST_F(BoxWindowsTest, ARealDragWithTheMouseSticksToTheEdge) {
    const HWND box = MinimiseToBox(NewTarget().Window());
    const RECT workArea = WorkAreaOfMonitorAt(WindowRect(box));
    const POINT grip = CentreOf(box);
    const POINT offset{grip.x - TopLeft(box).x, grip.y - TopLeft(box).y};
    SendMouseInput(MOUSEEVENTF_MOVE, grip);
    ASSERT_TRUE(WaitUntil([&] {
        POINT cursor;
        return ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == box;
    }));
    SendMouseInput(MOUSEEVENTF_LEFTDOWN, grip);
    ASSERT_TRUE(WaitUntil([&] { return ::GetCapture() == box; }));
    const POINT drop{workArea.left + 2 + offset.x, workArea.top + 300 + offset.y};
    SendMouseInput(MOUSEEVENTF_MOVE, POINT{(grip.x + drop.x) / 2, (grip.y + drop.y) / 2});
    SendMouseInput(MOUSEEVENTF_MOVE, drop);
    SendMouseInput(MOUSEEVENTF_LEFTUP, drop);
    ASSERT_TRUE(WaitUntil([&] { return ::GetCapture() != box; }));
    EXPECT_EQ(TopLeft(box).x, workArea.left);
    EXPECT_NEAR(TopLeft(box).y, workArea.top + 300, 1);
}

TEST_F(BoxWindowsTest, ADoubleClickGivesTheWindowBack) {
    const HWND target = NewTarget().Window();
    const HWND box = MinimiseToBox(target);
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    ::SendMessageW(box, WM_LBUTTONUP, 0, ClientPoint(10, 10));
    ::SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(10, 10));
    EXPECT_TRUE(TakenBack(target, box));
    EXPECT_EQ(executor_.FindSaved(target), nullptr) << "no change left to undo";
    EXPECT_NE(::GetCapture(), box);
}

TEST_F(BoxWindowsTest, ARealDoubleClickGivesTheWindowBack) {
    const HWND target = NewTarget().Window();
    const HWND box = MinimiseToBox(target);
    SendMouseInput(MOUSEEVENTF_MOVE, CentreOf(box));
    ASSERT_TRUE(WaitUntil([&] {
        POINT cursor;
        return ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == box;
    }));
    for (int click = 0; click < 2; ++click) {
        SendMouseInput(MOUSEEVENTF_LEFTDOWN, CentreOf(box));
        SendMouseInput(MOUSEEVENTF_LEFTUP, CentreOf(box));
    }
    EXPECT_TRUE(WaitUntil([&] { return TakenBack(target, box); }));
}

TEST_F(BoxWindowsTest, ShowWindowGivesTheWindowBack) {
    const HWND target = NewTarget().Window();
    const HWND box = MinimiseToBox(target);
    ::SendMessageW(box, WM_COMMAND, kShowWindowCommand, 0);
    EXPECT_TRUE(TakenBack(target, box));
}

TEST_F(BoxWindowsTest, CloseWindowLeavesAWindowThatRefusesVisible) {
    TargetWindow& target = NewTarget();
    target.refuseClose = true;
    const HWND box = MinimiseToBox(target.Window());
    ::SendMessageW(box, WM_COMMAND, kCloseWindowCommand, 0);
    ASSERT_TRUE(WaitUntil([&] { return target.closeRequests == 1; }));
    EXPECT_TRUE(::IsWindow(target.Window()));
    EXPECT_TRUE(TakenBack(target.Window(), box));
}

TEST_F(BoxWindowsTest, CloseWindowClosesAWindowThatAgrees) {
    TargetWindow& target = NewTarget();
    const HWND box = MinimiseToBox(target.Window());
    ::SendMessageW(box, WM_COMMAND, kCloseWindowCommand, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(target.Window()); }));
    EXPECT_EQ(target.closeRequests, 1);
    EXPECT_FALSE(::IsWindow(box));
}

TEST_F(BoxWindowsTest, ASizeBelowTheSmallestBoxIsRaisedTo16) {
    boxes_.SetBoxSize(12);
    const HWND first = MinimiseToBox(NewTarget().Window());
    const HWND second = MinimiseToBox(NewTarget().Window());
    EXPECT_EQ(boxes_.BoxSize(), 16);
    RECT client{};
    ::GetClientRect(first, &client);
    EXPECT_EQ(client.right, 16);
    EXPECT_EQ(client.bottom, 16);
    EXPECT_TRUE(StandsAt(second, POINT{Slot(7, 0).x, Slot(7, 0).y + 21}));
}

TEST_F(BoxWindowsTest, BoxesGoneWithTheirOwnerStillGiveTheWindowsBack) {
    // At exit the main window goes first, and the system destroys the boxes
    // it owns; the executor's restore comes after.
    const HWND target = NewTarget().Window();
    const HWND box = MinimiseToBox(target);
    mainWindow_.reset();
    EXPECT_FALSE(::IsWindow(box));
    executor_.RestoreAll();
    EXPECT_TRUE(::IsWindowVisible(target));
    EXPECT_FALSE(boxes_.HasBox(target));
}

// A square icon of one colour, made in memory.
UniqueIcon SolidIcon(int size, COLORREF color) {
    std::vector<DWORD> pixels(static_cast<std::size_t>(size * size),
                              0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color));
    const UniqueBitmap colorBitmap(::CreateBitmap(size, size, 1, 32, pixels.data()));
    const std::vector<BYTE> maskBits(static_cast<std::size_t>(size * size / 8), 0);
    const UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), colorBitmap.get()};
    return UniqueIcon(::CreateIconIndirect(&info));
}

// What the box paints, read back from a canvas.
class BoxPicture {
public:
    explicit BoxPicture(HWND box) {
        ::SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas_.Dc()), PRF_CLIENT);
    }
    uint32_t At(int x, int y) const { return canvas_.At(x, y); }

private:
    test::PixelCanvas canvas_{48, 48, 0};
};

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;

TEST_F(BoxWindowsTest, TheIconFillsTheBox) {
    const HWND target = NewTarget().Window();
    const UniqueIcon red = SolidIcon(32, RGB(255, 0, 0));
    boxes_.AddBox(target, red.get(), 32);
    const BoxPicture picture(boxes_.BoxOf(target)->Window());
    EXPECT_EQ(picture.At(2, 2), kRed);
    // A 32-pixel picture drawn unscaled would leave this corner empty.
    EXPECT_EQ(picture.At(45, 45), kRed);
}

TEST_F(BoxWindowsTest, TheLargestIconTheWindowOffersIsShown) {
    const HWND target = NewTarget().Window();
    const UniqueIcon small = SolidIcon(32, RGB(255, 0, 0));
    const UniqueIcon large = SolidIcon(64, RGB(0, 0, 255));
    ::SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
    boxes_.AddBox(target, small.get(), 32);
    const BoxPicture picture(boxes_.BoxOf(target)->Window());
    EXPECT_EQ(picture.At(24, 24), kBlue);
    EXPECT_EQ(picture.At(46, 46), kBlue);
    boxes_.RemoveBox(target);
    ::SendMessageW(target, WM_SETICON, ICON_BIG, 0);
}

}  // namespace
}  // namespace kz
