// The window base on real windows of the test's thread: an object let go of
// inside its own window's message lives until that message returns and is
// freed once; an exception stops at the window procedure; and a window that
// cannot be made gives no object.
#include "common/WindowBase.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kz {
namespace {

constexpr UINT kDestroyYourself = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;
constexpr UINT kAnswer = WM_APP + 3;
constexpr LRESULT kAnswerValue = 42;

// What befell the probes, in order.
struct Journal {
    std::vector<std::string> events;
    int frees = 0;
};

// A hidden window that writes its life into a journal. Its owner lets go of
// it when its window goes.
class ProbeWindow final : public WindowBase<ProbeWindow> {
public:
    ~ProbeWindow() {
        ++journal_.frees;
        journal_.events.push_back("freed");
    }

    static WindowPtr<ProbeWindow> Create(Journal& journal, bool refuseCreation = false) {
        return WindowBase::Create(WindowClass{L"KzWindowBaseProbe"}, WindowSpec{0, WS_POPUP, L"", 0, 0, 50, 50},
                                  journal, refuseCreation);
    }

    // The pointer that owns this probe: reset when its window goes.
    WindowPtr<ProbeWindow>* owner = nullptr;

private:
    friend WindowBase;
    ProbeWindow(Journal& journal, bool refuseCreation) : journal_(journal), refuseCreation_(refuseCreation) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CREATE: return refuseCreation_ ? -1 : 0;
        case kDestroyYourself:
            ::DestroyWindow(Window());
            // Members are still there: the object waits for this message.
            journal_.events.push_back(Window() ? "handler ends with a window" : "handler ends");
            return 0;
        case kThrow: throw std::runtime_error("a handler failed");
        case kAnswer: return kAnswerValue;
        case WM_DESTROY:
            if (owner)
                owner->reset();
            return 0;
        case WM_NCDESTROY: journal_.events.push_back("window gone"); break;
        }
        return ::DefWindowProcW(Window(), message, wParam, lParam);
    }

    Journal& journal_;
    bool refuseCreation_;
};

TEST(WindowBase, AWindowDestroyedInItsOwnMessageIsFreedOnceWhenThatMessageReturns) {
    Journal journal;
    WindowPtr<ProbeWindow> probe = ProbeWindow::Create(journal);
    ASSERT_TRUE(probe);
    probe->owner = &probe;
    const HWND window = probe->Window();

    ::SendMessageW(window, kDestroyYourself, 0, 0);

    EXPECT_FALSE(probe) << "the owner let go when the window went";
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(journal.frees, 1);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"window gone", "handler ends", "freed"}));
}

TEST(WindowBase, LettingGoOutsideAnyMessageDestroysTheWindowBeforeFreeing) {
    Journal journal;
    WindowPtr<ProbeWindow> probe = ProbeWindow::Create(journal);
    ASSERT_TRUE(probe);
    const HWND window = probe->Window();

    probe.reset();

    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(journal.frees, 1);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"window gone", "freed"}));
}

TEST(WindowBase, AnExceptionStopsAtTheProcedureAndTheWindowGoesOnWorking) {
    Journal journal;
    WindowPtr<ProbeWindow> probe = ProbeWindow::Create(journal);
    ASSERT_TRUE(probe);

    EXPECT_EQ(::SendMessageW(probe->Window(), kThrow, 0, 0), 0) << "the system's default answer";

    EXPECT_TRUE(::IsWindow(probe->Window()));
    EXPECT_EQ(::SendMessageW(probe->Window(), kAnswer, 0, 0), kAnswerValue);
    EXPECT_EQ(journal.frees, 0);
}

TEST(WindowBase, AWindowThatRefusesItsCreationGivesNoObject) {
    Journal journal;
    const WindowPtr<ProbeWindow> probe = ProbeWindow::Create(journal, true);

    EXPECT_FALSE(probe);
    EXPECT_EQ(journal.frees, 1) << "the object made for it is freed, once";
    EXPECT_EQ(::FindWindowW(L"KzWindowBaseProbe", nullptr), nullptr);
}

}  // namespace
}  // namespace kz
