// The real kz.exe with hotkeys in its stored settings, keys injected with
// SendInput in the Wine desktop, a target program in another process.
#include "common/Protocol.h"
#include "tests/support/EndToEnd.h"
#include "tests/support/Host.h"
#include "tests/support/TestWindows.h"
#include "tests/support/StoredValues.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz::test {
namespace {

constexpr int32_t kCtrlT = 0x4054;
constexpr int32_t kCtrlY = 0x4059;
constexpr int32_t kCtrlU = 0x4055;

// Stores a "Settings" value for the host and puts the previous one back.
class StoredHostSettings {
public:
    explicit StoredHostSettings(const ValueParts& parts) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKeyW, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          key_.put(), nullptr);
        DWORD size = 512;
        previous_.resize(size);
        had_ = ::RegQueryValueExW(key_.get(), kSettingsValueW, nullptr, nullptr, previous_.data(), &size) ==
               ERROR_SUCCESS;
        previous_.resize(had_ ? size : 0);
        const std::vector<uint8_t> bytes = parts.Bytes();
        ::RegSetValueExW(key_.get(), kSettingsValueW, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    ~StoredHostSettings() {
        if (had_)
            ::RegSetValueExW(key_.get(), kSettingsValueW, 0, REG_BINARY, previous_.data(),
                             static_cast<DWORD>(previous_.size()));
        else
            ::RegDeleteValueW(key_.get(), kSettingsValueW);
    }
    StoredHostSettings(const StoredHostSettings&) = delete;
    StoredHostSettings& operator=(const StoredHostSettings&) = delete;

private:
    UniqueKey key_;
    std::vector<uint8_t> previous_;
    bool had_ = false;
};

void Press(int32_t stored) {
    const WORD key = static_cast<WORD>(stored & 0xFF);
    INPUT inputs[] = {KeyInput(VK_CONTROL, false), KeyInput(key, false), KeyInput(key, true),
                      KeyInput(VK_CONTROL, true)};
    ::SendInput(4, inputs, sizeof(INPUT));
}

// A window of this driver that holds combinations and counts their presses.
class HotKeyHolder {
public:
    ~HotKeyHolder() {
        for (int id = 1; id <= ids_; ++id)
            ::UnregisterHotKey(window_.Window(), id);
    }
    bool Take(int32_t stored) {
        return ::RegisterHotKey(window_.Window(), ++ids_, MOD_CONTROL, static_cast<UINT>(stored & 0xFF)) != FALSE;
    }
    int Presses() const { return presses_; }

private:
    std::optional<LRESULT> OnMessage(UINT message) {
        if (message != WM_HOTKEY)
            return std::nullopt;
        ++presses_;
        return 0;
    }
    int ids_ = 0;
    int presses_ = 0;
    TestWindow window_{[this](UINT message, WPARAM, LPARAM) { return OnMessage(message); }};
};

class HotKeysEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        if (!HostBuilt())
            GTEST_SKIP() << "kz.exe is not built";
        parts_.buttonCount = 2;
        parts_.buttons = {5, 6};
        parts_.hotKeys[5] = kCtrlT;
        parts_.hotKeys[1] = kCtrlY;  // kind 1 is not on the row
        parts_.hotKeys[6] = kCtrlU;
        parts_.flags[5] = 0;  // no splash to take the foreground from the target
    }
    // Brings the target to the front and waits until it is there.
    HWND FrontTarget() {
        target_ = child_.WaitForWindow();
        if (target_) {
            ::SetForegroundWindow(target_);
            WaitUntil([&] { return ::GetForegroundWindow() == target_; });
        }
        return target_;
    }

    ValueParts parts_;
    TargetProgram child_;
    HWND target_ = nullptr;
};

TEST_F(HotKeysEndToEnd, CtrlTMakesTheForegroundTargetTopmostAndNormalAgain) {
    StoredHostSettings settings(parts_);
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    ASSERT_TRUE(FrontTarget());
    ASSERT_FALSE(IsTopmost(target_));
    Press(kCtrlT);
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(target_); }));
    SaveScreenshot("hotkey_topmost");
    Press(kCtrlT);
    EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(target_); }));
}

TEST_F(HotKeysEndToEnd, ACombinationWhoseKindIsNotOnTheRowIsNotRegistered) {
    StoredHostSettings settings(parts_);
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    HotKeyHolder holder;
    EXPECT_TRUE(holder.Take(kCtrlY)) << "the host holds Ctrl+Y";
    EXPECT_FALSE(holder.Take(kCtrlT)) << "the host holds Ctrl+T of kind 5";
}

TEST_F(HotKeysEndToEnd, ACombinationAnotherProgramHoldsStaysWithIt) {
    HotKeyHolder holder;
    ASSERT_TRUE(holder.Take(kCtrlU));
    StoredHostSettings settings(parts_);
    RunningHost host;
    ASSERT_TRUE(host.WaitUntilReady());
    ASSERT_TRUE(FrontTarget());
    Press(kCtrlU);
    EXPECT_TRUE(WaitUntil([&] { return holder.Presses() == 1; }));
    // The host still acts on its own combinations.
    Press(kCtrlT);
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(target_); }));
}

}  // namespace
}  // namespace kz::test
