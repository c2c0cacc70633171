// The options dialog of the real kz.exe, driven by a user's clicks: opened
// from the tray icon as the shell does, a button taken out of the set, an
// application excluded, and Help on a command's page. Every page is saved as
// a screenshot.
#include "HostDriver.h"
#include "Optionsids.h"
#include "TestHost.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace kz::test {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kOptionsCaption[] = L" Options";

struct ControlSearch {
    int id;
    HWND found;
};

// A control of the dialog or of one of its pages, by its identifier.
HWND FindControl(HWND dialog, int id) {
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<ControlSearch*>(data);
            if (::GetDlgCtrlID(child) == s.id && ::IsWindowVisible(child)) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOptionsDialog(DWORD processId) {
    for (const HWND w : WindowsOfProcess(processId, L"#32770")) {
        wchar_t caption[64] = {};
        ::GetWindowTextW(w, caption, 64);
        if (::IsWindowVisible(w) && std::wstring(caption) == kOptionsCaption)
            return w;
    }
    return nullptr;
}

void ClickControl(HWND control, int dx = -1, int dy = -1) {
    RECT r{};
    ::GetWindowRect(control, &r);
    const int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
    const int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
    ClickAt(control, x, y);
}

class OptionsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HostBuilt())
            GTEST_SKIP() << "kz.exe is not built";
        // The host reads its settings at start: the defaults, then the host.
        ResetHostSettings();
        running = std::make_unique<RunningHost>();
        ASSERT_TRUE(running->Started());
        ASSERT_TRUE(running->WaitUntilReady());
    }
    void TearDown() override {
        running.reset();
        ResetHostSettings();
    }

    // The user's left click on the tray icon: the shell tells the main window.
    HWND OpenFromTrayIcon() {
        EXPECT_TRUE(running->NotifyTrayClick(kHostTrayIconId, WM_LBUTTONDOWN));
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindOptionsDialog(running->ProcessId())) != nullptr; });
        return dialog;
    }
    void ShowPage(HWND dialog, int labelNumber, const std::string& screenshot) {
        const HWND label = FindControl(dialog, IDC_LABEL_BASE + labelNumber);
        ASSERT_NE(label, nullptr) << labelNumber;
        ClickControl(label, 4, 4);
        EXPECT_TRUE(WaitUntil([&] { return FindControl(dialog, IDC_PAGE_TITLE) != nullptr; }, 5s));
        if (!screenshot.empty())
            SaveScreenshot(screenshot);
    }

    std::unique_ptr<RunningHost> running;
};

TEST_F(OptionsEndToEnd, EveryPageOpensFromTheTrayIconAndOneButtonLessReachesTheTargetAtOnce) {
    WindowsTarget target(WindowsTarget::Layout{});
    ASSERT_TRUE(target.WaitForWindows());
    const HWND w = target.Windows().front();
    ASSERT_TRUE(WaitForButtons(w, 9));

    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    for (const int label : {10, 11, 61, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9})
        ShowPage(dialog, label, "options_page_label" + std::to_string(label));
    ShowPage(dialog, 10, "");

    // The set's top row is its last button; "< Remove" takes it out.
    const HWND set = FindControl(dialog, IDC_DSTLIST);
    ASSERT_NE(set, nullptr);
    ClickControl(set, 30, 6);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(set, LB_GETCURSEL, 0, 0) == 0; }, 5s));
    ClickControl(FindControl(dialog, IDC_BUTTON6));
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(set, LB_GETCOUNT, 0, 0) == 8; }, 5s));
    SaveScreenshot("options_one_button_removed");
    ClickControl(FindControl(dialog, IDOK));
    const auto pressed = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitForButtons(w, 8, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 1500ms) << "the caption took too long to follow";
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s));
    SaveScreenshot("options_target_with_eight_buttons");
}

TEST_F(OptionsEndToEnd, AnExcludedApplicationsWindowLosesItsButtons) {
    WindowsTarget target(WindowsTarget::Layout{});
    ASSERT_TRUE(target.WaitForWindows());
    const HWND w = target.Windows().front();
    ASSERT_TRUE(WaitForButtons(w, 9));

    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    ShowPage(dialog, 12, "");
    ClickControl(FindControl(dialog, IDC_BTNBLACKLISTADD));
    HWND open = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (const HWND candidate : WindowsOfProcess(running->ProcessId(), L"#32770"))
            if (candidate != dialog && ::IsWindowVisible(candidate) && ::GetWindow(candidate, GW_OWNER) == dialog)
                open = candidate;
        return open != nullptr;
    }));
    SaveScreenshot("options_exclude_open_dialog");
    // The file name as typed into the dialog's name field, then a click on Open.
    const int nameField = 0x47C;  // cmb13
    ASSERT_TRUE(::SetDlgItemTextW(open, nameField, (BinaryDirectory() + L"kz_windows_target.exe").c_str()) ||
                ::SetDlgItemTextW(open, 0x480, (BinaryDirectory() + L"kz_windows_target.exe").c_str()));
    ClickControl(::GetDlgItem(open, IDOK));
    const HWND list = FindControl(dialog, IDC_LVBLACKLIST);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    SaveScreenshot("options_exclude_listed");
    ClickControl(FindControl(dialog, IDOK));
    EXPECT_TRUE(WaitForButtons(w, 0, 5s));
    SaveScreenshot("options_excluded_target_without_buttons");
}

struct HelpWindowSearch {
    HWND found = nullptr;
};

HWND FindHelpViewer() {
    HelpWindowSearch search;
    ::EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
            wchar_t className[64] = {};
            ::GetClassNameW(w, className, 64);
            if (std::wstring(className) == L"HH Parent" && ::IsWindowVisible(w)) {
                reinterpret_cast<HelpWindowSearch*>(data)->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(OptionsEndToEnd, HelpOnTheRollUpPageOpensThatPageInTheHelpViewer) {
    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    ShowPage(dialog, 4, "");
    ClickControl(FindControl(dialog, IDHELP));
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (viewer = FindHelpViewer()) != nullptr; }));
    wchar_t title[256] = {};
    WaitUntil([&] { return ::GetWindowTextW(viewer, title, 256) > 0; }, 5s);
    SaveScreenshot("options_help_rollup");
    EXPECT_EQ(std::wstring(title), L"Barquill Help");
    DWORD viewerProcess = 0;
    ::GetWindowThreadProcessId(viewer, &viewerProcess);
    ::PostMessageW(viewer, WM_CLOSE, 0, 0);
    (void)viewerProcess;
}

}  // namespace
}  // namespace kz::test
