// The stored hotkey value, which row positions get a hotkey, the dense ids
// over refused registrations and what a rebuild reports.
#include "kz/core/Hotkeys.h"
#include "tests/support/StoredValues.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace kz {
namespace {

using test::RowSettings;

TEST(StoredHotKeyValue, GivesModifierFlagsAndKey) {
    struct Case {
        uint16_t stored;
        UINT modifiers;
        UINT virtualKey;
    };
    const Case cases[] = {
        {0x4054, MOD_CONTROL, 'T'},
        {0x2070, MOD_SHIFT, VK_F1},
        {0x8041, MOD_ALT, 'A'},
        {0x6041, MOD_CONTROL | MOD_SHIFT, 'A'},
        {0xE07B, MOD_ALT | MOD_CONTROL | MOD_SHIFT, VK_F12},
        {0x0041, 0, 'A'},
        {0x1FFF, 0, 0x1FFF},  // every key bit belongs to the key, none to a modifier
        {0xC000, MOD_ALT | MOD_CONTROL, 0},
    };
    for (const Case& c : cases) {
        const HotKeyCombination combination = CombinationOfStoredValue(c.stored);
        EXPECT_EQ(combination.modifiers, c.modifiers) << std::hex << c.stored;
        EXPECT_EQ(combination.virtualKey, c.virtualKey) << std::hex << c.stored;
    }
}

TEST(HotKeyPlan, OnlyCommandsOnTheButtonRowGetAHotKey) {
    SettingsRecord settings = RowSettings({1, 2, 3, 4, 5, 6, 7, 8, 9});
    settings.HotKeys[5] = 0x4054;
    auto planned = PlanHotKeys(settings);
    ASSERT_EQ(planned.size(), 1u);
    EXPECT_EQ(planned[0].buttonIndex, 4);
    EXPECT_EQ(planned[0].kind, 5);
    EXPECT_EQ(planned[0].stored, 0x4054);

    settings.ButtonCount = 3;  // kind 5 is no longer on the row
    EXPECT_TRUE(PlanHotKeys(settings).empty());
}

TEST(HotKeyPlan, IndexIsThePositionOnTheRowSeparatorsIncluded) {
    SettingsRecord settings = RowSettings({0, 5, 0, 0, 1, 10, -3});
    settings.HotKeys[5] = 0x4054;
    settings.HotKeys[1] = 0x8041;
    settings.HotKeys[0] = 0x2070;  // a separator never has a hotkey
    const auto planned = PlanHotKeys(settings);
    ASSERT_EQ(planned.size(), 2u);
    EXPECT_EQ(planned[0].buttonIndex, 1);
    EXPECT_EQ(planned[0].kind, 5);
    EXPECT_EQ(planned[1].buttonIndex, 4);
    EXPECT_EQ(planned[1].kind, 1);
}

TEST(HotKeyPlan, ButtonCountOutsideTheRowIsClamped) {
    SettingsRecord settings = RowSettings({5});
    settings.HotKeys[5] = 0x4054;
    settings.ButtonCount = -4;
    EXPECT_TRUE(PlanHotKeys(settings).empty());
    settings.ButtonCount = 40;
    EXPECT_EQ(PlanHotKeys(settings).size(), 1u);
}

// The system's registry as far as the dispatcher can tell: a combination is
// refused while it is registered, by this program or by another one.
struct RegistryLog {
    std::set<std::pair<UINT, UINT>> heldElsewhere;
    std::vector<std::pair<int, HotKeyCombination>> live;
    std::vector<int> registeredIds;
    std::vector<int> unregisteredIds;
};

class FakeRegistry : public HotKeyRegistry {
public:
    explicit FakeRegistry(RegistryLog& log) : log_(log) {}
    bool Register(int id, const HotKeyCombination& c) override {
        if (log_.heldElsewhere.count({c.modifiers, c.virtualKey}))
            return false;
        for (const auto& held : log_.live)
            if (held.second == c || held.first == id)
                return false;
        log_.live.emplace_back(id, c);
        log_.registeredIds.push_back(id);
        return true;
    }
    void Unregister(int id) override {
        log_.unregisteredIds.push_back(id);
        for (auto it = log_.live.begin(); it != log_.live.end(); ++it)
            if (it->first == id) {
                log_.live.erase(it);
                return;
            }
    }

private:
    RegistryLog& log_;
};

class CountingHotKey : public TGlobalHotKey {
public:
    explicit CountingHotKey(uint16_t stored) : TGlobalHotKey(stored) {}
    void Fire() override { ++fired; }
    int fired = 0;
};

TEST(HotKeyDispatcher, IdsStayDenseOverRefusedRegistrationsAndFireByTheirId) {
    RegistryLog log;
    log.heldElsewhere.insert({MOD_CONTROL, 'B'});
    CountingHotKey a(0x4041), b(0x4042), c(0x4043), again(0x4041);
    TGlobalHotKeyDispatcher dispatcher(std::make_unique<FakeRegistry>(log));
    EXPECT_TRUE(dispatcher.Register(a));
    EXPECT_FALSE(dispatcher.Register(b));      // another program holds it
    EXPECT_TRUE(dispatcher.Register(c));
    EXPECT_FALSE(dispatcher.Register(again));  // this program holds it already
    EXPECT_EQ(log.registeredIds, (std::vector<int>{3, 4}));
    EXPECT_EQ(dispatcher.RegisteredCount(), 2);

    EXPECT_TRUE(dispatcher.HandleHotKey(4));
    EXPECT_EQ(c.fired, 1);
    EXPECT_TRUE(dispatcher.HandleHotKey(3));
    EXPECT_EQ(a.fired, 1);
    EXPECT_FALSE(dispatcher.HandleHotKey(2));
    EXPECT_FALSE(dispatcher.HandleHotKey(5));
    EXPECT_EQ(b.fired + again.fired, 0);

    dispatcher.UnregisterAll();
    EXPECT_EQ(log.unregisteredIds, (std::vector<int>{3, 4}));
    EXPECT_FALSE(dispatcher.HandleHotKey(3));
    EXPECT_EQ(a.fired, 1);
}

TEST(HotKeyLoader, ReloadReportsRefusedCombinationsAndStartsTheIdsAgain) {
    RegistryLog log;
    log.heldElsewhere.insert({MOD_ALT, 'A'});
    {
        TghkLoader loader(std::make_unique<FakeRegistry>(log), ButtonPressRoute{});
        SettingsRecord settings = RowSettings({1, 0, 5, 6, 7});
        settings.HotKeys[1] = 0x8041;  // Alt+A: taken by another program
        settings.HotKeys[5] = 0x4054;  // Ctrl+T
        settings.HotKeys[6] = 0x4054;  // Ctrl+T again: taken by kind 5
        settings.HotKeys[7] = 0x4055;  // Ctrl+U
        const auto refused = loader.Reload(settings);
        ASSERT_EQ(refused.size(), 2u);
        EXPECT_EQ(refused[0].buttonIndex, 0);
        EXPECT_EQ(refused[0].kind, 1);
        EXPECT_EQ(refused[0].stored, 0x8041);
        EXPECT_EQ(refused[1].buttonIndex, 3);
        EXPECT_EQ(refused[1].kind, 6);
        EXPECT_EQ(log.registeredIds, (std::vector<int>{3, 4}));
        EXPECT_EQ(log.live[0].second, (HotKeyCombination{MOD_CONTROL, 'T'}));
        EXPECT_EQ(log.live[1].second, (HotKeyCombination{MOD_CONTROL, 'U'}));

        settings.HotKeys[5] = 0;  // the next settings drop kind 5's Ctrl+T, so kind 6 gets it
        const auto second = loader.Reload(settings);
        ASSERT_EQ(second.size(), 1u);
        EXPECT_EQ(second[0].kind, 1);
        EXPECT_EQ(log.unregisteredIds, (std::vector<int>{3, 4}));
        ASSERT_EQ(log.live.size(), 2u);
        EXPECT_EQ(log.live[0].first, 3);
        EXPECT_EQ(log.live[0].second, (HotKeyCombination{MOD_CONTROL, 'T'}));
        EXPECT_EQ(log.live[1].first, 4);
    }
    EXPECT_TRUE(log.live.empty()) << "the loader gives its combinations back when it goes";
}

}  // namespace
}  // namespace kz
