// The real kz.exe on a desktop at 100, 150 and 200 %, one test per scale,
// each saved as a screenshot: a roll leaves exactly the caption and frame of
// the window, a box of BoxSize 48 is 48, 72 or 96 pixels, every control of
// every options page lies inside its page, and the tray icon is drawn from
// the icon's own image for the scale.
//
// Wine keeps one scale per prefix, read by each program as it starts: the
// host and the target start after the scale is set, while this test, the
// taskbar and the desktop keep 100 %. Windows changes the scale of a
// running program with WM_DPICHANGED, which Wine never sends.
#include "common/Product.h"
#include "common/Protocol.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/settings/Optionsids.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"
#include "tests/support/SystemDpi.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz::test {
namespace {

constexpr int kDesignDpi = 96;
constexpr int kBoxSize = 48;
constexpr wchar_t kOptionsCaption[] = L" Options";

int Scaled(int pixels, int dpi) { return ::MulDiv(pixels, dpi, kDesignDpi); }

// The height of a window's caption and frames: all of it but the client area
// (the target has no menu bar and no scroll bars).
int NonClientHeight(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return WindowHeight(window) - (client.bottom - client.top);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The controls of a page that would show with it, and where they stick out.
std::vector<std::wstring> ControlsOutside(HWND page) {
    RECT bounds{};
    ::GetWindowRect(page, &bounds);
    std::vector<std::wstring> outside;
    for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        RECT rect{};
        if ((::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) && ::GetWindowRect(control, &rect) &&
            !Inside(rect, bounds))
            outside.push_back(std::to_wstring(::GetDlgCtrlID(control)) + L" \"" + WindowText(control) + L"\"");
    }
    return outside;
}

// The icon image of a size from the host's resources, drawn at the shell's
// size the way the shell draws it, over the taskbar's colour.
std::vector<uint32_t> ExpectedTrayPicture(int imageSize, int shownSize, COLORREF background) {
    const UniqueModule host(::LoadLibraryExW(HostPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(host.get(), L"TRAYICON", IMAGE_ICON, imageSize, imageSize, LR_DEFAULTCOLOR)));
    const HDC screen = ::GetDC(nullptr);
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen));
    const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, shownSize, shownSize));
    ::ReleaseDC(nullptr, screen);
    {
        const SelectGuard select(memory.get(), bitmap.get());
        const UniqueBrush brush(::CreateSolidBrush(background));
        const RECT all{0, 0, shownSize, shownSize};
        ::FillRect(memory.get(), &all, brush.get());
        ::DrawIconEx(memory.get(), 0, 0, icon.get(), shownSize, shownSize, 0, nullptr, DI_NORMAL);
    }
    return BitmapPixels(bitmap.get());
}

// The host's tray icon as the taskbar shows it: the rightmost cell of the
// notification area, a small icon and a border of two pixels on each side.
std::vector<uint32_t> ShownTrayPicture(int shownSize) {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT bar{};
    if (!tray || !::GetWindowRect(tray, &bar))
        return {};
    ::RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const int cellHeight = bar.bottom - bar.top;
    const int left = bar.right - shownSize - 2, top = bar.top + (cellHeight - shownSize) / 2;
    return ScreenPixels(RECT{left, top, left + shownSize, top + shownSize});
}

class ScaleEndToEnd : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(HostBuilt()) << "kz.exe is missing beside the test program";
        ASSERT_EQ(::FindWindowW(kMainWindowClass, nullptr), nullptr) << "a kz.exe from elsewhere is running";
        ResetHostSettings();
    }
};

TEST_P(ScaleEndToEnd, RollBoxOptionsPagesAndTrayIconFollowTheScale) {
    const int dpi = GetParam();
    const std::string scale = std::to_string(dpi * 100 / kDesignDpi);
    const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
    TargetProgram target({L"Scale target", 2, {40, 220}, {520, 220}, {0, 240}});
    ASSERT_TRUE(target.WaitForWindows());
    const HWND rolled = target.Windows()[0];
    const HWND boxed = target.Windows()[1];
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    // The library in the target's process first: a window whose thread is
    // busy loading it does not answer, and the host leaves such a window alone.
    ASSERT_TRUE(WaitUntilAttached(target.Windows(), true));

    // The roll keeps the caption and both frames, and nothing else.
    const int caption = NonClientHeight(rolled);
    ASSERT_TRUE(host.Command(HM_ROLL, rolled));
    EXPECT_TRUE(WaitUntil([&] { return WindowHeight(rolled) == caption; }))
        << "height " << WindowHeight(rolled) << " after the roll, " << caption << " expected";

    // BoxSize is pixels at 100 %.
    ASSERT_TRUE(host.Command(HM_TO_BOX, boxed));
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        box = FindShownWindow(host.ProcessId(), L"TfrmBox");
        return box != nullptr;
    })) << "no box appeared";
    if (box) {
        EXPECT_EQ(WindowWidth(box), Scaled(kBoxSize, dpi));
        EXPECT_EQ(WindowHeight(box), Scaled(kBoxSize, dpi));
    }

    // The tray icon: the image the scale asks for, as the shell draws it
    // (its top left pixel is transparent and shows the taskbar).
    const int shownSize = ::GetSystemMetrics(SM_CXSMICON);
    std::vector<uint32_t> shown, expected;
    WaitUntil([&] {
        shown = ShownTrayPicture(shownSize);
        if (shown.empty())
            return false;
        const COLORREF taskbar = RGB((shown[0] >> 16) & 0xFF, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF);
        expected = ExpectedTrayPicture(Scaled(16, dpi), shownSize, taskbar);
        return shown == expected;
    });
    ASSERT_FALSE(shown.empty()) << "no taskbar";
    EXPECT_EQ(shown, expected) << "the tray icon is not the " << Scaled(16, dpi) << "-pixel image";

    SaveScreenshot("scale_" + scale + "_rolled_boxed");

    // Every page of the options dialog holds its controls.
    ASSERT_TRUE(host.NotifyTrayClick(kHostTrayIconId, WM_LBUTTONDOWN));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindShownWindow(host.ProcessId(), L"#32770", kOptionsCaption);
        return dialog != nullptr;
    })) << "the options dialog did not open";
    int pages = 0;
    for (HWND page = ::GetWindow(dialog, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(page, className, 16);
        if (std::wstring(className) != L"#32770")
            continue;
        ++pages;
        for (const std::wstring& control : ControlsOutside(page))
            ADD_FAILURE() << "page " << ::GetDlgCtrlID(page) << ": control " << std::string(control.begin(), control.end())
                          << " lies outside the page";
    }
    EXPECT_EQ(pages, 13);
    // Painted before the picture is taken: the dialog has just appeared.
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SaveScreenshot("scale_" + scale + "_options");
    EXPECT_TRUE(host.Exit());
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaleEndToEnd, ::testing::Values(96, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Dpi" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace kz::test
