// The library inside other programs: a host that stops answering never
// freezes a program, letting go of windows never waits for another thread,
// and each desktop session's programs use their own session's host.
#include "common/Handles.h"
#include "common/Protocol.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/HostMessages.h"
#include "trelmo/hook/SessionHosts.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace kz {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::CreateTestWindow;
using test::LibraryInProcess;
using test::WaitUntil;

void InstallNothing(HookedWindow&) {}

milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// A window on a thread of its own that handles nothing until it is let go
// (or, so that a library that waits for it still ends the test, for five
// seconds), then counts the messages of the protocol it was sent.
// onCreated runs on that thread with the window, before it stalls.
class StalledThreadWindow {
public:
    explicit StalledThreadWindow(std::function<void(HWND)> onCreated = nullptr)
        : onCreated_(std::move(onCreated)), thread_([this] { Run(); }) {
        ::WaitForSingleObject(ready_.get(), INFINITE);
    }
    ~StalledThreadWindow() {
        Resume();
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }
    void Resume() { ::SetEvent(resume_.get()); }
    // Waits until the thread has handled every message sent to it so far.
    bool Drained() const {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
    }
    int Count(UINT message) {
        std::lock_guard<std::mutex> lock(countsLock_);
        return counts_[message];
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StalledThreadWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message >= WM_USER) {
            std::lock_guard<std::mutex> lock(self->countsLock_);
            ++self->counts_[message];
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    void Run() {
        threadId_ = ::GetCurrentThreadId();
        test::RegisterTestWindowClass(L"KzStalledThreadWindow", &Procedure);
        window_ = CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, nullptr, L"KzStalledThreadWindow");
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (onCreated_)
            onCreated_(window_);
        ::SetEvent(ready_.get());
        ::WaitForSingleObject(resume_.get(), 5000);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::DestroyWindow(window_);
    }

    std::function<void(HWND)> onCreated_;
    UniqueKernelHandle ready_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle resume_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::mutex countsLock_;
    std::map<UINT, int> counts_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

HWND HostOf(volatile SharedSection& section, DWORD session) {
    const volatile SessionHost* entry = FindSessionHost(section, session);
    return entry ? entry->hostWindow : nullptr;
}

TEST(Safety, AHostThatStopsAnsweringIsWaitedForOnceAndTakesCommandsAgainOnceItAnswers) {
    LibraryInProcess library(InstallNothing);
    auto host = std::make_unique<StalledThreadWindow>();
    library.SetHostWindow(host->Window());
    const HWND window = CreateTestWindow();
    library.Attach(window);
    ASSERT_TRUE(library.IsAttached(window));

    // The first command waits the limit, no longer; after it neither the next
    // hundred commands nor a resize wait.
    auto start = Clock::now();
    EXPECT_FALSE(SendCommand(CommandForKind(kOnTop, window)));
    EXPECT_LT(Since(start), milliseconds(kHostAnswerTimeoutMs * 3));
    EXPECT_TRUE(HostUnanswered());
    start = Clock::now();
    ::SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_LT(Since(start), milliseconds(kHostAnswerTimeoutMs / 2)) << "WM_SIZE waited for the host";
    start = Clock::now();
    for (int i = 0; i < 100; ++i)
        SendCommand(CommandForKind(kOnTop, window));
    EXPECT_LT(Since(start), milliseconds(kHostAnswerTimeoutMs / 2)) << "a hundred commands waited";

    // A roll the host did not take leaves the window's mark as it was.
    SendKindCommand(*Process().FindRecord(window), kRollUp);
    EXPECT_FALSE(Process().FindRecord(window)->rolledUp);
    ::SetWindowPos(window, nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    start = Clock::now();
    ::DestroyWindow(window);
    EXPECT_LT(Since(start), milliseconds(kHostAnswerTimeoutMs / 2)) << "closing waited for the host";

    host->Resume();
    ASSERT_TRUE(host->Drained());
    // Commands the host never took are lost; notifications all arrive.
    EXPECT_EQ(host->Count(HM_ON_TOP), 0);
    EXPECT_EQ(host->Count(HM_ROLL), 0);
    EXPECT_EQ(host->Count(HM_WINDOW_SIZED), 2);
    EXPECT_EQ(host->Count(HM_WINDOW_GONE), 1);
    // The host answered the library's question: it takes commands again.
    EXPECT_TRUE(WaitUntil([] { return !HostUnanswered(); }, milliseconds(5000)));
    EXPECT_TRUE(SendCommand(CommandForKind(kOnTop, window)));
    EXPECT_EQ(host->Count(HM_ON_TOP), 1);
}

TEST(Safety, LettingGoOfTheWindowsOfAThreadThatDoesNotPumpWaitsForNothing) {
    auto library = std::make_unique<LibraryInProcess>();
    // The other thread's window is attached on that thread, which then stalls.
    StalledThreadWindow other([&](HWND window) { library->Attach(window); });
    ASSERT_TRUE(library->IsAttached(other.Window()));
    const HWND own = CreateTestWindow();
    const LONG_PTR ownProcedure = ::GetWindowLongPtrW(own, GWLP_WNDPROC);
    library->Attach(own);
    ASSERT_TRUE(library->IsAttached(own));

    const auto start = Clock::now();
    library.reset();  // lets go of every window, as an unload does
    EXPECT_LT(Since(start), milliseconds(1000)) << "waited for a thread that does not pump";
    EXPECT_EQ(::GetWindowLongPtrW(own, GWLP_WNDPROC), ownProcedure);
    ::DestroyWindow(own);
}

TEST(Safety, EachSessionsProgramsUseTheirOwnSessionsHost) {
    const DWORD mine = CurrentSession();
    const DWORD other = mine + 1;
    const auto ownHost = reinterpret_cast<HWND>(0x1234);
    const auto otherHost = reinterpret_cast<HWND>(0x5678);
    volatile SharedSection section{};

    StoreHostWindow(section, mine, ownHost);
    StoreHookHandle(section, mine, reinterpret_cast<HHOOK>(1));
    StoreHostWindow(section, other, otherHost);
    StoreHookHandle(section, other, reinterpret_cast<HHOOK>(2));
    EXPECT_EQ(HostOf(section, mine), ownHost);
    EXPECT_EQ(HostOf(section, other), otherHost);

    // The other user's host ends: nothing changes for this session.
    StoreHostWindow(section, other, nullptr);
    StoreHookHandle(section, other, nullptr);
    EXPECT_EQ(FindSessionHost(section, other), nullptr);
    EXPECT_EQ(HostOf(section, mine), ownHost);
    EXPECT_EQ(HHOOK{FindSessionHost(section, mine)->hook}, reinterpret_cast<HHOOK>(1));

    // A program of this session works with this session's host only.
    LibraryInProcess library(InstallNothing);
    const HWND window = CreateTestWindow();
    library.SetHostWindow(nullptr);
    volatile SharedSection desktop{};
    StoreHookHandle(desktop, other, reinterpret_cast<HHOOK>(1));
    StoreHostWindow(desktop, other, library.Host().Window());
    wchar_t path[512];
    Process().Start(::GetModuleHandleW(nullptr), &desktop, mine, path, ::GetModuleFileNameW(nullptr, path, 512));
    library.Attach(window);
    EXPECT_FALSE(library.IsAttached(window)) << "attached for another session's host";

    // A host window written into this session's entry that belongs to a
    // program of another session is not trusted either.
    StoreHookHandle(desktop, mine + 2, reinterpret_cast<HHOOK>(1));
    StoreHostWindow(desktop, mine + 2, library.Host().Window());
    Process().Start(::GetModuleHandleW(nullptr), &desktop, mine + 2, path, ::GetModuleFileNameW(nullptr, path, 512));
    EXPECT_EQ(Process().HostWindow(), library.Host().Window());
    EXPECT_FALSE(Process().HostPresent());
    library.Attach(window);
    EXPECT_FALSE(library.IsAttached(window));
    ::DestroyWindow(window);

    // Every entry taken by another session: a new host gets none, and harms none.
    volatile SharedSection full{};
    for (DWORD session = 100; session < 100 + kSessionHostCount; ++session)
        StoreHostWindow(full, session, otherHost);
    StoreHostWindow(full, mine, ownHost);
    EXPECT_EQ(FindSessionHost(full, mine), nullptr);
    for (DWORD session = 100; session < 100 + kSessionHostCount; ++session)
        EXPECT_EQ(HostOf(full, session), otherHost);
}

}  // namespace
}  // namespace kz
