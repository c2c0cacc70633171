// Attaching real windows in this process: eligibility, subclassing, handler
// dispatch, rebuilds, the host notifications and letting go again.
#include "trelmo/hook/HookProcedure.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/HostMessages.h"
#include "tests/support/LibraryInProcess.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TestWindows.h"
#include "tests/support/StoredValues.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kz {
namespace {

using test::CreateTestWindow;
using test::RegisterTestWindowClass;
using test::LibraryInProcess;
using test::ScratchRegistry;

// The code the toolbar answers for a point on one of its buttons.
constexpr LRESULT kButtonHit = 65;

// What happened, in order, across the window's own procedure and the handlers.
std::vector<std::string> g_events;

std::string Hex(UINT message) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", message);
    return text;
}

// The target's own window procedure: records the messages the tests look for.
LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
    case WM_NCLBUTTONDOWN:
    case WM_SETTINGCHANGE:
    case WM_CAPTIONBAR_DETACH:
    case WM_USER + 1:
        g_events.push_back("own " + Hex(message) + " " + std::to_string(wParam));
        break;
    case WM_NCDESTROY:
        g_events.push_back(::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OwnProcedure)
                               ? "own NCDESTROY restored"
                               : "own NCDESTROY still subclassed");
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateRecordedWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
    RegisterTestWindowClass(L"KzRecordedWindow", OwnProcedure);
    return CreateTestWindow(style, 0, nullptr, L"KzRecordedWindow");
}

// A handler that records what it is offered and answers as told.
class RecordingHandler : public WindowHandler {
public:
    RecordingHandler(std::string name, UINT claims = 0, LRESULT answer = 0)
        : name_(std::move(name)), claims_(claims), answer_(answer) {}
    ~RecordingHandler() override { g_events.push_back(name_ + " destroyed"); }

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM*) override {
        if (message != WM_NCHITTEST && message != WM_NCLBUTTONDOWN && message != WM_USER + 1)
            return 0;
        g_events.push_back(name_ + " on " + Hex(message) + " " + std::to_string(*wParam));
        if (message == WM_USER + 1 && name_ == "first")
            *wParam += 1;  // later handlers and the window see the change
        if (message == WM_USER + 1 && name_ == "thrower")
            throw std::runtime_error("handler failure");
        return message == claims_ ? answer_ : 0;
    }
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_NCHITTEST || message == WM_NCLBUTTONDOWN || message == WM_USER + 1)
            g_events.push_back(name_ + " after " + Hex(message) + " " + std::to_string(wParam));
        return 0;
    }

private:
    std::string name_;
    UINT claims_;
    LRESULT answer_;
};

int g_installs = 0;

void InstallTwoRecorders(HookedWindow& record) {
    ++g_installs;
    g_events.push_back("install " + std::to_string(record.Settings().ButtonCount));
    record.AddHandler(std::make_unique<RecordingHandler>("first"));
    record.AddHandler(std::make_unique<RecordingHandler>("second", WM_NCHITTEST, kButtonHit));
}

void InstallSwallower(HookedWindow& record) {
    record.AddHandler(std::make_unique<RecordingHandler>("swallower", WM_NCLBUTTONDOWN, 7));
}

void InstallThrower(HookedWindow& record) {
    record.AddHandler(std::make_unique<RecordingHandler>("thrower"));
    record.AddHandler(std::make_unique<RecordingHandler>("later"));
}

void InstallNothing(HookedWindow&) {}

class SubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        g_installs = 0;
    }
    ScratchRegistry registry_;
};

bool IsSubclassed(HWND window) {
    return ::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProcedure);
}

TEST_F(SubclassTest, EligibleAreVisibleCaptionedTopLevelWindowsWithASystemMenu) {
    LibraryInProcess library(InstallNothing);
    const HWND host = library.Host().Window();
    const HWND normal = CreateTestWindow();
    const HWND dialog = CreateTestWindow(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, nullptr, L"#32770");
    const HWND tool = CreateTestWindow(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    const HWND noActivate = CreateTestWindow(WS_OVERLAPPEDWINDOW, WS_EX_NOACTIVATE);
    const HWND noSystemMenu = CreateTestWindow(WS_CAPTION | WS_THICKFRAME);
    const HWND noCaption = CreateTestWindow(WS_POPUP | WS_SYSMENU);
    const HWND child = ::CreateWindowExW(0, L"KzTestWindow", L"child", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                         0, 0, 100, 100, normal, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    const HWND ownedByHost = CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, host);
    const HWND hidden = CreateTestWindow();
    ::ShowWindow(hidden, SW_HIDE);

    EXPECT_TRUE(IsEligible(normal));
    EXPECT_FALSE(IsEligible(dialog));
    EXPECT_FALSE(IsEligible(tool));
    EXPECT_FALSE(IsEligible(noActivate));
    EXPECT_FALSE(IsEligible(noSystemMenu));
    EXPECT_FALSE(IsEligible(noCaption));
    EXPECT_FALSE(IsEligible(child));
    EXPECT_FALSE(IsEligible(ownedByHost));
    EXPECT_FALSE(IsEligible(hidden));
    EXPECT_FALSE(IsEligible(host));
    EXPECT_FALSE(IsEligible(nullptr));

    for (HWND w : {dialog, tool, noSystemMenu, child, ownedByHost, hidden})
        library.Attach(w);
    for (HWND w : {dialog, tool, noSystemMenu, child, ownedByHost, hidden})
        EXPECT_FALSE(library.IsAttached(w));
    for (HWND w : {normal, dialog, tool, noActivate, noSystemMenu, noCaption, ownedByHost, hidden})
        ::DestroyWindow(w);
}

TEST_F(SubclassTest, ABlacklistedProcessAttachesNothing) {
    wchar_t path[512];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
    std::wstring upper(path, length);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(::towupper(c));
    std::string multi;
    for (const std::wstring& entry : {std::wstring(L"C:\\other.exe"), upper})
        multi += std::string(entry.begin(), entry.end()) + '\0';
    multi += '\0';
    registry_.SetBlacklistValue(std::vector<uint8_t>(multi.begin(), multi.end()));

    LibraryInProcess library(InstallNothing);
    const HWND window = CreateTestWindow();
    library.Attach(window);
    EXPECT_TRUE(Process().ProcessBlacklisted());
    EXPECT_FALSE(library.IsAttached(window));

    // A value past any fixed buffer (over 10,000 bytes in UTF-16) is read whole.
    multi.insert(0, std::string(5000, 'x') + '\0');
    registry_.SetBlacklistValue(std::vector<uint8_t>(multi.begin(), multi.end()));
    Process().RefreshBlacklisted();
    EXPECT_TRUE(Process().ProcessBlacklisted());

    registry_.DeleteValues();
    Process().RefreshBlacklisted();
    library.Attach(window);
    EXPECT_TRUE(library.IsAttached(window));
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, TheHookPassesOnWithoutActingUntilItMay) {
    LibraryInProcess library(InstallNothing);
    const HWND window = CreateTestWindow();
    CWPRETSTRUCT call{};
    call.hwnd = window;
    call.message = WM_NCPAINT;
    HookProcedure(-1, 0, reinterpret_cast<LPARAM>(&call));
    HookProcedure(HC_ACTION, 0, 0);
    EXPECT_FALSE(library.IsAttached(window));

    // Before the host has stored the hook handle the procedure only passes on.
    volatile SharedSection noHook{};
    StoreHostWindow(noHook, CurrentSession(), library.Host().Window());
    wchar_t path[512];
    Process().Start(::GetModuleHandleW(nullptr), &noHook, CurrentSession(), path,
                    ::GetModuleFileNameW(nullptr, path, 512));
    library.Attach(window);
    EXPECT_FALSE(library.IsAttached(window));
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, AttachSubclassesAndOffersMessagesToHandlersInOrder) {
    LibraryInProcess library(InstallTwoRecorders);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    library.Attach(window);  // a second paint does not attach twice
    ASSERT_TRUE(library.IsAttached(window));
    EXPECT_TRUE(IsSubclassed(window));
    EXPECT_EQ(g_installs, 1);

    g_events.clear();
    ::SendMessageW(window, WM_USER + 1, 10, 0);
    const std::vector<std::string> expected = {"first on 401 10", "second on 401 11", "own 401 11",
                                               "first after 401 10", "second after 401 10"};
    EXPECT_EQ(g_events, expected);
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, AClaimedHitTestAnswersTheHandlersCode) {
    LibraryInProcess library(InstallTwoRecorders);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    g_events.clear();
    EXPECT_EQ(::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), kButtonHit);
    // Every handler is asked; the window's procedure and AfterMessage are not.
    const std::vector<std::string> expected = {"first on 84 0", "second on 84 0"};
    EXPECT_EQ(g_events, expected);
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, ASwallowedButtonPressAnswersZero) {
    LibraryInProcess library(InstallSwallower);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    g_events.clear();
    EXPECT_EQ(::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0), 0);
    const std::vector<std::string> expected = {"swallower on A1 2"};
    EXPECT_EQ(g_events, expected);
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, AFailingHandlerLeavesTheMessageToTheWindow) {
    LibraryInProcess library(InstallThrower);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    g_events.clear();
    ::SendMessageW(window, WM_USER + 1, 3, 0);
    ASSERT_GE(g_events.size(), 2u);
    EXPECT_EQ(g_events[0], "thrower on 401 3");
    EXPECT_EQ(g_events[1], "own 401 3");
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, ASystemChangeRebuildsAfterTheWindowHasSeenIt) {
    LibraryInProcess library(InstallTwoRecorders);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    HookedWindow* record = Process().FindRecord(window);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Settings().ButtonCount, 9);

    // New settings: one button.
    test::ValueParts oneButton;
    oneButton.buttonCount = 1;
    oneButton.buttons = {5};
    registry_.SetSettingsValue(oneButton.Bytes());
    g_events.clear();
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    const std::vector<std::string> expected = {"own 1A 0", "first destroyed", "second destroyed", "install 1"};
    EXPECT_EQ(g_events, expected);
    EXPECT_EQ(Process().FindRecord(window), record);
    EXPECT_EQ(record->Settings().ButtonCount, 1);
    EXPECT_EQ(record->Settings().Buttons[0], 5);
    EXPECT_EQ(record->HandlerCount(), 2u);
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, TheLibrarysOwnRollIsNotReportedAsAResize) {
    LibraryInProcess library(InstallNothing);
    const HWND window = CreateTestWindow();
    library.Attach(window);
    HookedWindow* record = Process().FindRecord(window);
    ASSERT_NE(record, nullptr);
    // The host rolls the window up while the library waits in SendMessageW.
    library.Host().onMessage = [](const test::ReceivedMessage& m) {
        if (m.message == HM_ROLL)
            ::SetWindowPos(reinterpret_cast<HWND>(m.wParam), nullptr, 0, 0, 480, 24,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    library.Host().Clear();
    SendKindCommand(*record, kRollUp);
    EXPECT_EQ(library.Host().Count(HM_ROLL, window), 1);
    EXPECT_EQ(library.Host().Count(HM_WINDOW_SIZED), 0);
    EXPECT_TRUE(record->rolledUp);
    EXPECT_FALSE(record->suppressSizeNotify);

    library.Host().onMessage = nullptr;
    ::SetWindowPos(window, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(library.Host().Count(HM_WINDOW_SIZED, window), 1);
    EXPECT_FALSE(record->rolledUp);
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, CommandsCarryTheirKindsMessageAndArgument) {
    LibraryInProcess library(InstallNothing);
    const HWND window = CreateTestWindow();
    library.Attach(window);
    HookedWindow* record = Process().FindRecord(window);
    ASSERT_NE(record, nullptr);
    library.Host().Clear();
    for (int kind : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, -3})
        SendKindCommand(*record, kind);
    const std::vector<test::ReceivedMessage>& got = library.Host().Messages();
    ASSERT_EQ(got.size(), 7u);
    const UINT expected[] = {HM_TO_TRAY, HM_TO_COMMON_TRAY, HM_TO_BOX, HM_ON_TOP, HM_TO_BACK, HM_TRANSPARENCY,
                             HM_RUN_COPY};
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].message, expected[i]);
        EXPECT_EQ(reinterpret_cast<HWND>(got[i].wParam), window);
        EXPECT_EQ(got[i].lParam, expected[i] == HM_TRANSPARENCY ? -1 : 0);
    }
    ::DestroyWindow(window);
}

TEST_F(SubclassTest, DestructionTellsTheHostOnceAndRestoresTheProcedure) {
    LibraryInProcess library(InstallTwoRecorders);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    g_events.clear();
    library.Host().Clear();
    ::DestroyWindow(window);
    library.CallHook(window, WM_DESTROY);  // the hook's own remove path finds nothing left
    library.CallHook(window, WM_NCDESTROY);
    EXPECT_EQ(library.Host().Count(HM_WINDOW_GONE, window), 1);
    EXPECT_EQ(library.Host().Messages().size(), 1u);
    EXPECT_FALSE(library.IsAttached(window));
    const std::vector<std::string> expected = {"first destroyed", "second destroyed", "own NCDESTROY restored"};
    EXPECT_EQ(g_events, expected);
}

TEST_F(SubclassTest, AWindowClosedFromInsideItsOwnMessageIsReleasedOnce) {
    LibraryInProcess library(InstallTwoRecorders);
    const HWND window = CreateRecordedWindow();
    library.Attach(window);
    library.Host().Clear();
    g_events.clear();
    // WM_CLOSE reaches DefWindowProc, which destroys the window while the
    // library is still dispatching WM_CLOSE.
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(library.Host().Count(HM_WINDOW_GONE, window), 1);
    const std::vector<std::string> expected = {"own NCDESTROY restored", "first destroyed", "second destroyed"};
    EXPECT_EQ(g_events, expected);
}

// Another program's subclass procedure installed over the library's.
WNDPROC g_belowLater = nullptr;
LRESULT CALLBACK LaterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_belowLater, window, message, wParam, lParam);
}

TEST_F(SubclassTest, UnloadLetsGoOfEveryWindowAndLeavesLaterSubclassersAlone) {
    auto library = std::make_unique<LibraryInProcess>(InstallTwoRecorders);
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i) {
        windows.push_back(CreateRecordedWindow());
        library->Attach(windows.back());
    }
    const HWND later = CreateRecordedWindow();
    library->Attach(later);
    g_belowLater = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(later, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProcedure)));
    ASSERT_EQ(g_belowLater, &SubclassProcedure);

    std::vector<test::ReceivedMessage> toldHost;
    library->Host().Clear();
    library->Host().onMessage = [&](const test::ReceivedMessage& m) { toldHost.push_back(m); };
    g_events.clear();
    library.reset();  // the unload walk

    ASSERT_EQ(toldHost.size(), 4u);
    for (const auto& m : toldHost)
        EXPECT_EQ(m.message, HM_WINDOW_GONE);
    for (HWND w : windows) {
        EXPECT_EQ(::GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OwnProcedure));
        ::DestroyWindow(w);
    }
    EXPECT_EQ(::GetWindowLongPtrW(later, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterProcedure));
    // Letting go is the library's own business: the programs never see it.
    for (const std::string& e : g_events)
        EXPECT_NE(e, "own 710 0");
    ::DestroyWindow(later);
}

}  // namespace
}  // namespace kz
