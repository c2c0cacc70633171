// Hotkeys registered for a stand-in of the host main window, pressed with
// injected keys: the WM_HOTKEY reaches the window procedure, which hands it
// to the loader, and the press and release of the button are posted to the
// window with the position on the row and the foreground window.
#include "tests/capbuttons/CapButtonsWindows.h"
#include "kz/commands/HostInternalMessages.h"
#include "kz/core/Hotkeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

// What the host main window does with hotkeys: WM_HOTKEY goes to the loader;
// the button messages are recorded here instead of going to the manager.
class StandInMainWindow {
public:
    HWND get() const { return window_.Window(); }
    int HotKeys() const { return hotKeys_; }
    int Count(UINT message) const {
        int n = 0;
        for (const MSG& m : received_)
            n += m.message == message;
        return n;
    }
    const std::vector<MSG>& Received() const { return received_; }
    TghkLoader* loader = nullptr;

private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_HOTKEY) {
            ++hotKeys_;
            if (loader)
                loader->HandleHotKey(wParam);
            return 0;
        }
        if (message == HM_BUTTON_DOWN || message == HM_BUTTON_UP) {
            received_.push_back(MSG{window_.Window(), message, wParam, lParam, 0, {}});
            return 0;
        }
        return std::nullopt;
    }
    int hotKeys_ = 0;
    std::vector<MSG> received_;
    test::TestWindow window_{[this](UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(message, wParam, lParam);
    }};
};

// Another program's window holding a combination, as far as this test can tell.
class OtherHolder {
public:
    OtherHolder(UINT modifiers, UINT key) {
        registered_ = ::RegisterHotKey(main_.get(), 1, modifiers, key) != FALSE;
    }
    ~OtherHolder() { ::UnregisterHotKey(main_.get(), 1); }
    bool Registered() const { return registered_; }
    int HotKeys() const { return main_.HotKeys(); }

private:
    StandInMainWindow main_;
    bool registered_ = false;
};

void PressCombination(uint16_t stored) {
    const HotKeyCombination c = CombinationOfStoredValue(stored);
    std::vector<WORD> modifiers;
    if (c.modifiers & MOD_CONTROL)
        modifiers.push_back(VK_CONTROL);
    if (c.modifiers & MOD_ALT)
        modifiers.push_back(VK_MENU);
    if (c.modifiers & MOD_SHIFT)
        modifiers.push_back(VK_SHIFT);
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(test::KeyInput(m, false));
    inputs.push_back(test::KeyInput(static_cast<WORD>(c.virtualKey), false));
    inputs.push_back(test::KeyInput(static_cast<WORD>(c.virtualKey), true));
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        inputs.push_back(test::KeyInput(*it, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

constexpr uint16_t kCtrlAltF7 = 0xC000 | VK_F7;
constexpr uint16_t kCtrlAltF8 = 0xC000 | VK_F8;
constexpr uint16_t kCtrlAltF9 = 0xC000 | VK_F9;

SettingsRecord HotKeySettings(int kind, uint16_t stored) {
    SettingsRecord settings = test::RowSettings({1, 2, 3, 4, 5, 6, 7, 8, 9}, 0);
    settings.HotKeys[kind] = stored;
    return settings;
}

class HotKeysOfTheMainWindow : public testing::Test {
protected:
    void SetUp() override {
        ::SetForegroundWindow(target_.Window());
        ASSERT_TRUE(test::WaitUntil([&] { return ::GetForegroundWindow() == target_.Window(); }));
        main_.loader = &loader_;
    }
    bool MayTouch(HWND w) {
        asked_.push_back(w);
        return allow_;
    }

    test::CountingWindow target_;
    StandInMainWindow main_;
    std::vector<HWND> asked_;
    bool allow_ = true;
    TghkLoader loader_{main_.get(), [this](HWND w) { return MayTouch(w); }};
};

TEST_F(HotKeysOfTheMainWindow, APressedCombinationPressesAndReleasesTheButtonOnTheForegroundWindow) {
    EXPECT_TRUE(loader_.Reload(HotKeySettings(5, kCtrlAltF7)).empty());
    PressCombination(kCtrlAltF7);
    ASSERT_TRUE(test::WaitUntil([&] { return main_.Count(HM_BUTTON_UP) == 1; }));
    const auto& received = main_.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(HM_BUTTON_DOWN));
    EXPECT_EQ(received[1].message, static_cast<UINT>(HM_BUTTON_UP));
    for (const MSG& m : received) {
        EXPECT_EQ(m.wParam, 4u) << "the position of kind 5 on the row";
        EXPECT_EQ(reinterpret_cast<HWND>(m.lParam), target_.Window());
    }
    EXPECT_EQ(asked_, std::vector<HWND>{target_.Window()});
}

TEST_F(HotKeysOfTheMainWindow, AWindowTheHostMayNotTouchGetsNothing) {
    allow_ = false;
    loader_.Reload(HotKeySettings(5, kCtrlAltF7));
    PressCombination(kCtrlAltF7);
    ASSERT_TRUE(test::WaitUntil([&] { return main_.HotKeys() == 1; }));
    test::PumpPending();
    EXPECT_EQ(asked_, std::vector<HWND>{target_.Window()});
    EXPECT_TRUE(main_.Received().empty());
}

TEST_F(HotKeysOfTheMainWindow, ACombinationAnotherProgramHoldsStaysWithIt) {
    OtherHolder other(MOD_CONTROL | MOD_ALT, VK_F8);
    ASSERT_TRUE(other.Registered());
    const auto refused = loader_.Reload(HotKeySettings(5, kCtrlAltF8));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].kind, 5);
    EXPECT_EQ(refused[0].buttonIndex, 4);
    EXPECT_EQ(refused[0].stored, kCtrlAltF8);
    PressCombination(kCtrlAltF8);
    ASSERT_TRUE(test::WaitUntil([&] { return other.HotKeys() == 1; }));
    EXPECT_EQ(main_.HotKeys(), 0);
    EXPECT_TRUE(main_.Received().empty());
}

TEST_F(HotKeysOfTheMainWindow, AfterReloadTheOldCombinationDoesNothingAndTheNewOneActs) {
    loader_.Reload(HotKeySettings(6, kCtrlAltF7));
    loader_.Reload(HotKeySettings(6, kCtrlAltF9));
    // The old one first: had it still been registered, its pair would come first.
    PressCombination(kCtrlAltF7);
    PressCombination(kCtrlAltF9);
    ASSERT_TRUE(test::WaitUntil([&] { return main_.Count(HM_BUTTON_UP) >= 1; }));
    EXPECT_EQ(main_.HotKeys(), 1);
    ASSERT_EQ(main_.Received().size(), 2u);
    EXPECT_EQ(main_.Received()[0].wParam, 5u);
}

TEST_F(HotKeysOfTheMainWindow, CombinationsGoBackWithTheLoader) {
    {
        TghkLoader scoped(main_.get(), [](HWND) { return true; });
        scoped.Reload(HotKeySettings(5, kCtrlAltF9));
        EXPECT_EQ(scoped.RegisteredCount(), 1);
    }
    OtherHolder other(MOD_CONTROL | MOD_ALT, VK_F9);
    EXPECT_TRUE(other.Registered());
}

}  // namespace
}  // namespace kz
