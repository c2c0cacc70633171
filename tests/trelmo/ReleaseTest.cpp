// Letting go of windows: when the host is gone, at unload and at a rebuild
// that leaves nothing. A window whose procedure another program subclassed
// after the library did keeps working as if the library had never been there.
#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryExports.h"
#include "tests/support/LibraryInProcess.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kz {
namespace {

using test::CreateTestWindow;
using test::RegisterTestWindowClass;
using test::LibraryInProcess;
using test::ReceivedMessage;
using test::ScratchRegistry;

constexpr UINT kProbe = WM_USER + 7;
// wParam: an event set once the program's own procedure runs a nested loop,
// which ends when kLeaveNestedLoop arrives.
constexpr UINT kEnterNestedLoop = WM_USER + 8;
constexpr UINT kLeaveNestedLoop = WM_USER + 9;
constexpr LRESULT kOwnAnswer = 42;

// What the program's own procedure and the later subclasser saw.
std::map<UINT, int> g_own;
std::map<UINT, int> g_later;
std::vector<ReceivedMessage> g_ownProbes;  // kProbe and 0x710, with their arguments

LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_own[message];
    if (message == kEnterNestedLoop) {
        ::SetEvent(reinterpret_cast<HANDLE>(wParam));
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kLeaveNestedLoop)
            ::DispatchMessageW(&msg);
        return kOwnAnswer;
    }
    if (message == kProbe || message == WM_CAPTIONBAR_DETACH) {
        g_ownProbes.push_back({message, wParam, lParam});
        return kOwnAnswer;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Another program's subclass procedure, installed over the library's.
WNDPROC g_belowLater = nullptr;
LRESULT CALLBACK LaterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_later[message];
    return ::CallWindowProcW(g_belowLater, window, message, wParam, lParam);
}

HWND CreateProgramWindow() {
    RegisterTestWindowClass(L"KzReleasedProgram", OwnProcedure);
    return CreateTestWindow(WS_OVERLAPPEDWINDOW, 0, nullptr, L"KzReleasedProgram");
}

void SubclassLater(HWND window) {
    g_belowLater = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProcedure)));
    ASSERT_EQ(g_belowLater, &SubclassProcedure);
}

void InstallNothing(HookedWindow&) {}

std::vector<uint8_t> BlacklistOfThisProgram() {
    wchar_t path[512];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 512);
    std::vector<uint8_t> value;
    for (DWORD i = 0; i < length; ++i)
        value.push_back(static_cast<uint8_t>(path[i]));
    value.insert(value.end(), {0, 0});
    return value;
}

POINT CaptionPoint(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - 8 * ::GetSystemMetrics(SM_CXSIZE), rect.top + ::GetSystemMetrics(SM_CYFRAME) + 4};
}

enum class LetGo { HostGone, HostWindowDestroyed, Unload, RebuildToNothing };

std::string LetGoName(const testing::TestParamInfo<LetGo>& info) {
    switch (info.param) {
    case LetGo::HostGone: return "HostGone";
    case LetGo::HostWindowDestroyed: return "HostWindowDestroyed";
    case LetGo::Unload: return "Unload";
    default: return "RebuildToNothing";
    }
}

class LettingGo : public testing::TestWithParam<LetGo> {
protected:
    void SetUp() override {
        g_own.clear();
        g_later.clear();
        g_ownProbes.clear();
        library_->Host().onMessage = [this](const ReceivedMessage& m) { toldHost_.push_back(m); };
    }

    // Lets go of the window in the way of the test's parameter; the first
    // message after it finds the library gone.
    void LetGoOf(HWND window) {
        switch (GetParam()) {
        case LetGo::HostGone:
            library_->SetHostWindow(nullptr);
            ::SendMessageW(window, WM_NULL, 0, 0);
            break;
        case LetGo::HostWindowDestroyed:
            // A host that ended without clearing its window: noticed at the next frame paint.
            library_->SetHostWindow(deadHost_);
            ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            break;
        case LetGo::Unload:
            library_.reset();
            break;
        case LetGo::RebuildToNothing:
            registry_.SetBlacklistValue(BlacklistOfThisProgram());
            ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
            break;
        }
    }
    bool HostHearsOfIt() const { return GetParam() == LetGo::Unload || GetParam() == LetGo::RebuildToNothing; }

    ScratchRegistry registry_;
    std::unique_ptr<LibraryInProcess> library_ = std::make_unique<LibraryInProcess>();
    std::vector<ReceivedMessage> toldHost_;
    HWND deadHost_ = [] {
        const HWND window = CreateTestWindow();
        ::DestroyWindow(window);
        return window;
    }();
};

TEST_P(LettingGo, AWindowSubclassedLaterKeepsWorkingAsIfTheLibraryHadNeverBeenThere) {
    const HWND window = CreateProgramWindow();
    library_->Attach(window);
    ASSERT_TRUE(library_->IsAttached(window));
    ASSERT_NE(Process().FindRecord(window)->Toolbar(), nullptr);
    SubclassLater(window);
    const std::size_t keptBefore = Process().KeptCount();

    LetGoOf(window);
    EXPECT_FALSE(library_ && library_->IsAttached(window));
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterProcedure));
    EXPECT_EQ(Process().KeptCount(), keptBefore + 1);
    EXPECT_TRUE(Process().ModulePinned());

    // Every message reaches both procedures with its arguments.
    g_own.clear();
    g_later.clear();
    EXPECT_EQ(::SendMessageW(window, kProbe, 5, 6), kOwnAnswer);
    EXPECT_EQ(g_later[kProbe], 1);
    ASSERT_EQ(g_ownProbes.size(), 1u);
    EXPECT_EQ(g_ownProbes[0].wParam, 5u);
    EXPECT_EQ(g_ownProbes[0].lParam, 6);
    // The caption answers as the program's own procedure does, where a button was too.
    const POINT onCaption = CaptionPoint(window);
    const LPARAM point = MAKELPARAM(onCaption.x, onCaption.y);
    EXPECT_EQ(::SendMessageW(window, WM_NCHITTEST, 0, point), ::DefWindowProcW(window, WM_NCHITTEST, 0, point));
    EXPECT_EQ(::SendMessageW(window, WM_NCHITTEST, 0, point), HTCAPTION);
    // It paints, frame and client.
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_GE(g_own[WM_NCPAINT], 1);
    EXPECT_GE(g_own[WM_PAINT], 1);
    EXPECT_EQ(g_later[WM_NCPAINT], g_own[WM_NCPAINT]);
    // It resizes.
    ::SetWindowPos(window, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_GE(g_own[WM_SIZE], 1);
    EXPECT_EQ(g_later[WM_SIZE], g_own[WM_SIZE]);
    // It closes, and the entry kept for it goes with it.
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(g_later[WM_NCDESTROY], 1);
    EXPECT_EQ(g_own[WM_NCDESTROY], 1);
    EXPECT_EQ(Process().KeptCount(), keptBefore);

    // The library's letting go is never a message the program sees.
    EXPECT_EQ(g_own[WM_CAPTIONBAR_DETACH], 0);
    int gone = 0;
    for (const ReceivedMessage& m : toldHost_)
        gone += m.message == HM_WINDOW_GONE && reinterpret_cast<HWND>(m.wParam) == window;
    EXPECT_EQ(gone, HostHearsOfIt() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, LettingGo,
                         testing::Values(LetGo::HostGone, LetGo::HostWindowDestroyed, LetGo::Unload,
                                         LetGo::RebuildToNothing),
                         LetGoName);

class LibraryMessages : public testing::Test {
protected:
    void SetUp() override {
        g_own.clear();
        g_ownProbes.clear();
    }
    ScratchRegistry registry_;
};

TEST_F(LibraryMessages, AProgramsOwnMessage0x710ReachesItAndChangesNothing) {
    auto library = std::make_unique<LibraryInProcess>();
    const HWND window = CreateProgramWindow();
    library->Attach(window);
    ASSERT_TRUE(library->IsAttached(window));

    EXPECT_EQ(::SendMessageW(window, WM_CAPTIONBAR_DETACH, 1234, 5678), kOwnAnswer);
    ASSERT_EQ(g_ownProbes.size(), 1u);
    EXPECT_EQ(g_ownProbes[0].wParam, 1234u);
    EXPECT_EQ(g_ownProbes[0].lParam, 5678);
    EXPECT_TRUE(library->IsAttached(window));
    EXPECT_NE(Process().FindRecord(window)->Toolbar(), nullptr);
    EXPECT_EQ(library->Host().Count(HM_WINDOW_GONE), 0);

    // Neither a rebuild nor the unload walk sends it.
    ::SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    EXPECT_TRUE(library->IsAttached(window));
    library.reset();
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OwnProcedure));
    EXPECT_EQ(g_own[WM_CAPTIONBAR_DETACH], 1);
    ::DestroyWindow(window);
}

TEST_F(LibraryMessages, NothingIsAttachedWhileThereIsNoHost) {
    LibraryInProcess library(InstallNothing);
    const HWND window = CreateProgramWindow();
    library.SetHostWindow(nullptr);
    library.Attach(window);
    EXPECT_FALSE(library.IsAttached(window));
    const HWND deadHost = CreateTestWindow();
    ::DestroyWindow(deadHost);
    library.SetHostWindow(deadHost);
    library.Attach(window);
    EXPECT_FALSE(library.IsAttached(window));
    library.SetHostWindow(library.Host().Window());
    library.Attach(window);
    EXPECT_TRUE(library.IsAttached(window));
    ::DestroyWindow(window);
}

TEST_F(LibraryMessages, TheEntriesKeptForWindowsLetGoOfEndWithTheirWindows) {
    LibraryInProcess library(InstallNothing);
    const std::size_t keptBefore = Process().KeptCount();
    std::size_t mostKept = 0;
    for (int i = 0; i < 1000; ++i) {
        const HWND window = CreateProgramWindow();
        library.SetHostWindow(library.Host().Window());
        library.Attach(window);
        ASSERT_TRUE(library.IsAttached(window));
        SubclassLater(window);
        library.SetHostWindow(nullptr);
        ::SendMessageW(window, WM_NULL, 0, 0);
        mostKept = std::max(mostKept, Process().KeptCount());
        ::DestroyWindow(window);
    }
    EXPECT_EQ(mostKept, keptBefore + 1);
    EXPECT_EQ(Process().KeptCount(), keptBefore);
}

// The real library, loaded and unloaded as the system does it.
class LoadedLibrary {
public:
    LoadedLibrary() {
        wchar_t path[MAX_PATH];
        std::wstring directory(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
        module_ = ::LoadLibraryW((directory.substr(0, directory.find_last_of(L'\\')) + L"\\trelmo.dll").c_str());
        exports_ = test::LibraryExports::Of(module_);
        if (!exports_.Complete())
            return;
        exports_.setHostWindow(host_.Window());
        exports_.setHandle(reinterpret_cast<HHOOK>(1));
    }
    bool Loaded() const { return exports_.Complete(); }
    void Attach(HWND window) {
        CWPRETSTRUCT call{};
        call.hwnd = window;
        call.message = WM_NCPAINT;
        exports_.hookProcedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
    }
    bool OwnsProcedureOf(HWND window) const {
        HMODULE owner = nullptr;
        return ::GetModuleHandleExW(
                   GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                   reinterpret_cast<LPCWSTR>(::GetWindowLongPtrW(window, GWLP_WNDPROC)), &owner) &&
               owner == module_;
    }
    void Unload() { ::FreeLibrary(module_); }
    // What a host does at exit; the library's code is still there to call.
    void HostGone() { exports_.setHostWindow(nullptr); }

private:
    test::RecordingHost host_;
    HMODULE module_ = nullptr;
    test::LibraryExports exports_;
};

// The system unloads a hook's library lazily, at some thread's next message
// retrieval: here another thread frees it while the window's thread is in a
// nested loop entered from the library's procedure (a modal dialog, a menu, a
// drag). The library stays from its first subclassed window on, so the loop
// returns into live code and the window goes on working; once the host is
// gone the window lets go of the library on its own thread. Run in a child
// process: a library that went would crash it. (Wine never frees a hook's
// library; Windows does, which the FreeLibrary here stands for.)
void UnloadDuringANestedLoop() {
    const HWND window = CreateProgramWindow();
    LoadedLibrary library;
    library.Attach(window);
    if (!library.OwnsProcedureOf(window))
        std::exit(2);
    const UniqueKernelHandle entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread unloader([&] {
        ::WaitForSingleObject(entered.get(), INFINITE);
        library.Unload();
        ::PostMessageW(window, kLeaveNestedLoop, 0, 0);
    });
    const LRESULT nested = ::SendMessageW(window, kEnterNestedLoop, reinterpret_cast<WPARAM>(entered.get()), 0);
    unloader.join();
    if (nested != kOwnAnswer || ::SendMessageW(window, kProbe, 1, 2) != kOwnAnswer)
        std::exit(3);
    if (!::GetModuleHandleW(L"trelmo.dll") || !library.OwnsProcedureOf(window))
        std::exit(4);
    library.HostGone();
    ::SendMessageW(window, WM_NULL, 0, 0);
    if (::GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&OwnProcedure))
        std::exit(5);
    std::exit(0);
}

TEST_F(LibraryMessages, AnUnloadDuringANestedLoopLeavesTheLibraryInPlaceAndTheWindowWorking) {
    EXPECT_EXIT(UnloadDuringANestedLoop(), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kz
