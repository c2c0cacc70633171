// The real kz.exe minimises a target program's window to a box: the box
// stands in the first slot of the stored arrangement, owned by the host's
// main window, and a real double click on it gives the window back.
#include "common/Product.h"
#include "common/Protocol.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz::test {
namespace {

// The defaults of the settings: boxes of 48 pixels along the top from the left.
constexpr int kDefaultBoxSize = 48;

// The host's visible boxes.
std::vector<HWND> VisibleBoxes(const RunningHost& host) {
    std::vector<HWND> boxes;
    for (HWND window : WindowsOfProcess(host.ProcessId(), L"TfrmBox"))
        if (::IsWindowVisible(window))
            boxes.push_back(window);
    return boxes;
}


class BoxEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(HostBuilt()) << "kz.exe is missing beside the test program";
        ASSERT_EQ(::FindWindowW(kMainWindowClass, nullptr), nullptr) << "a kz.exe from elsewhere is running";
        ResetHostSettings();
    }
};

TEST_F(BoxEndToEnd, AWindowInABoxComesBackOnARealDoubleClick) {
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    TargetProgram target({L"Box target"});
    ASSERT_TRUE(target.WaitForWindows());
    const HWND window = target.Windows().front();

    ASSERT_TRUE(host.Command(HM_TO_BOX, window));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window) && VisibleBoxes(host).size() == 1; }))
        << "no box appeared";
    const HWND box = VisibleBoxes(host).front();
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT rect{};
    ::GetWindowRect(box, &rect);
    SaveScreenshot("box_standing");
    EXPECT_EQ(rect.left, workArea.left);
    EXPECT_EQ(rect.top, workArea.top);
    EXPECT_EQ(rect.right - rect.left, kDefaultBoxSize);
    EXPECT_EQ(rect.bottom - rect.top, kDefaultBoxSize);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), host.Window());
    EXPECT_TRUE(IsTopmost(box));
    EXPECT_EQ(LayeredAlpha(box), 200);

    const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    SendClicksAt(x, y, 2);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) && !::IsWindow(box); }))
        << "the double click did not give the window back";
    ParkMouse();
    SaveScreenshot("box_restored");
    EXPECT_TRUE(host.Exit());
}

}  // namespace
}  // namespace kz::test
