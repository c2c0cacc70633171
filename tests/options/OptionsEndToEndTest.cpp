// The options dialog of the real kz.exe, driven by a user's clicks: opened
// from the tray icon as the shell does, a button taken out of the set, an
// application excluded, and Help on a command's page. Every page is saved as
// a screenshot.
#include "kz/commands/HostInternalMessages.h"
#include "kz/settings/Optionsids.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"
#include "tests/support/TestWindows.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace kz::test {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kOptionsCaption[] = L" Options";

// A control of the dialog or of one of its pages, by its identifier.
HWND FindControl(HWND dialog, int id) {
    HWND found = nullptr;
    ForEachWindow(dialog, [&](HWND child) {
        if (::GetDlgCtrlID(child) == id && ::IsWindowVisible(child))
            found = child;
        return found == nullptr;
    });
    return found;
}

void ClickControl(HWND control, int dx = -1, int dy = -1) {
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(control, &r)) << "no control to click";
    const int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
    const int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
    ClickAt(control, x, y);
}

std::string Printable(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == Lower(end);
}

// The pages the dialog shows now: its visible child dialogs.
std::vector<HWND> VisiblePages(HWND dialog) {
    std::vector<HWND> pages;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        if (std::wstring(className) == L"#32770" && ::IsWindowVisible(child))
            pages.push_back(child);
    }
    return pages;
}

// Whether the dialog shows one page only, the one a navigation label names:
// its title ends with the label's text ("Parameters - Buttons Set").
bool ShowsPageOf(HWND dialog, const std::wstring& labelText) {
    const std::vector<HWND> pages = VisiblePages(dialog);
    return pages.size() == 1 && EndsWith(WindowText(::GetDlgItem(pages.front(), IDC_PAGE_TITLE)), labelText);
}

// The command line of another process, read from its process parameters.
std::wstring CommandLineOf(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !basic.PebBaseAddress)
        return L"";
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!::ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) || !peb.ProcessParameters ||
        !::ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return L"";
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (line.empty() || !::ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(),
                                             parameters.CommandLine.Length, nullptr))
        return L"";
    return line;
}

// The processes of a program running now, by the name of its file.
std::vector<DWORD> ProcessesNamed(const std::wstring& fileName) {
    std::vector<DWORD> found;
    const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (Lower(entry.szExeFile) == Lower(fileName))
            found.push_back(entry.th32ProcessID);
    return found;
}

class OptionsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HostBuilt())
            GTEST_SKIP() << "kz.exe is not built";
        // The host reads its settings at start: the defaults, then the host.
        ResetHostSettings();
    }
    // Started after the test's targets, whose windows the start decorates.
    void StartHost() {
        running = std::make_unique<RunningHost>();
        ASSERT_TRUE(running->Started());
        ASSERT_TRUE(running->WaitUntilReady());
    }
    // The host started over the target's open window, which it gave the buttons.
    void StartHostOver(TargetProgram& target, HWND* window) {
        ASSERT_TRUE(target.WaitForWindows());
        const HWND w = *window = target.Windows().front();
        ASSERT_NO_FATAL_FAILURE(StartHost());
        ASSERT_TRUE(WaitForButtons(w, 9, 20s)) << "the target's window is not attached (" << Attached(w) << "), buttons " << ButtonSpans(w).size();
    }
    void TearDown() override {
        running.reset();
        ResetHostSettings();
    }

    // The user's left click on the tray icon: the shell tells the main window.
    HWND OpenFromTrayIcon() {
        EXPECT_TRUE(running->NotifyTrayClick(kHostTrayIconId, WM_LBUTTONDOWN));
        HWND dialog = nullptr;
        WaitUntil(
            [&] { return (dialog = FindShownWindow(running->ProcessId(), L"#32770", kOptionsCaption)) != nullptr; });
        return dialog;
    }
    // A click on a navigation label; returns once that label's page alone is shown.
    void ShowPage(HWND dialog, int labelNumber, const std::string& screenshot) {
        const HWND label = FindControl(dialog, IDC_LABEL_BASE + labelNumber);
        ASSERT_NE(label, nullptr) << labelNumber;
        const std::wstring labelText = WindowText(label);
        ClickControl(label, 4, 4);
        if (!WaitUntil([&] { return ShowsPageOf(dialog, labelText); })) {
            SaveScreenshot("options_page_label" + std::to_string(labelNumber) + "_not_shown");
            FAIL() << "the page of label " << labelNumber << " is not shown";
        }
        if (!screenshot.empty())
            SaveScreenshot(screenshot);
    }
    // A control of the page shown or of the frame; the test ends when there is none.
    static HWND ShownControl(HWND dialog, int id) {
        const HWND control = FindControl(dialog, id);
        EXPECT_NE(control, nullptr) << id;
        return control;
    }

    std::unique_ptr<RunningHost> running;
};

TEST_F(OptionsEndToEnd, EveryPageOpensFromTheTrayIconAndOneButtonLessReachesTheTargetAtOnce) {
    TargetProgram target;
    HWND w = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartHostOver(target, &w));

    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    for (const int label : {10, 11, 61, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9})
        ASSERT_NO_FATAL_FAILURE(ShowPage(dialog, label, "options_page_label" + std::to_string(label)));
    ASSERT_NO_FATAL_FAILURE(ShowPage(dialog, 10, ""));

    // The set's top row is its last button; "< Remove" takes it out.
    const HWND set = ShownControl(dialog, IDC_DSTLIST);
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(::SendMessageW(set, LB_GETCOUNT, 0, 0), 9);
    ClickControl(set, 30, 6);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(set, LB_GETCURSEL, 0, 0) == 0; }));
    ClickControl(ShownControl(dialog, IDC_BUTTON6));
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(set, LB_GETCOUNT, 0, 0) == 8; }));
    SaveScreenshot("options_one_button_removed");
    ClickControl(ShownControl(dialog, IDOK));
    const auto pressed = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil([&] { return ButtonSpans(w).size() == 8; }, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 1500ms) << "the caption took too long to follow";
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }));
    SaveScreenshot("options_target_with_eight_buttons");
}

TEST_F(OptionsEndToEnd, AnExcludedApplicationsWindowLosesItsButtons) {
    TargetProgram target;
    HWND w = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartHostOver(target, &w));

    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NO_FATAL_FAILURE(ShowPage(dialog, 12, ""));
    const HWND list = ShownControl(dialog, IDC_LVBLACKLIST);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
    ClickControl(ShownControl(dialog, IDC_BTNBLACKLISTADD));
    HWND open = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (const HWND candidate : WindowsOfProcess(running->ProcessId(), L"#32770"))
            if (candidate != dialog && ::IsWindowVisible(candidate) && ::GetWindow(candidate, GW_OWNER) == dialog)
                open = candidate;
        return open != nullptr;
    })) << "no file dialog";
    SaveScreenshot("options_exclude_open_dialog");
    // The file name as typed into the dialog's name field, then a click on Open.
    const int nameField = 0x47C;  // cmb13
    const std::wstring targetFile = TargetProgramPath();
    ASSERT_TRUE(::SetDlgItemTextW(open, nameField, targetFile.c_str()) ||
                ::SetDlgItemTextW(open, 0x480, targetFile.c_str()));
    ClickControl(::GetDlgItem(open, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_FALSE(::IsWindowVisible(open));
    SaveScreenshot("options_exclude_listed");
    ClickControl(ShownControl(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ButtonSpans(w).empty(); }, 5s));
    SaveScreenshot("options_excluded_target_without_buttons");
}

// Help on the Roll-up page starts the help viewer on that page of the help
// file beside kz.exe. Wine's viewer renders no page without its HTML engine,
// so the page asked for is read from the viewer's command line; the window
// it shows carries the help file's title.
TEST_F(OptionsEndToEnd, HelpOnTheRollUpPageOpensThatPageInTheHelpViewer) {
    ASSERT_TRUE(ProcessesNamed(L"hh.exe").empty()) << "a help viewer runs already";
    ASSERT_NO_FATAL_FAILURE(StartHost());
    const HWND dialog = OpenFromTrayIcon();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NO_FATAL_FAILURE(ShowPage(dialog, 4, ""));
    ClickControl(ShownControl(dialog, IDHELP));

    DWORD viewerId = 0;
    UniqueKernelHandle viewer;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<DWORD> viewers = ProcessesNamed(L"hh.exe");
        if (viewers.empty())
            return false;
        viewerId = viewers.front();
        viewer.reset(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE,
                                   FALSE, viewerId));
        return static_cast<bool>(viewer);
    })) << "the help viewer did not start";
    std::wstring commandLine;
    WaitUntil([&] { return !(commandLine = CommandLineOf(viewer.get())).empty(); });
    const std::wstring page = L"mk:@MSITStore:" + BinaryDirectory() + L"\\KZ.chm::/3Options window\\ButtonsSettings\\RollUp.htm";
    EXPECT_TRUE(EndsWith(commandLine, page)) << "the viewer's command line: " << Printable(commandLine);

    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (window = FindShownWindow(viewerId, L"HH Parent")) != nullptr; }))
        << "the viewer shows no window";
    if (window) {
        EXPECT_TRUE(WaitUntil([&] { return WindowText(window) == L"Barquill Help"; })) << Printable(WindowText(window));
        SaveScreenshot("options_help_rollup");
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    // The viewer this test started goes with it.
    if (!WaitForExit(viewer.get(), 10s))
        ::TerminateProcess(viewer.get(), 1);
}

}  // namespace
}  // namespace kz::test
