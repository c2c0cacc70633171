// Recovery of the windows a host hid before it ended without showing them:
// only a journalled window that is still the same window is shown again.
#include "kz/commands/Hiddenjournal.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

class JournalRecovery : public ::testing::Test {
protected:
    // A target of this process, hidden, with its journal entry as written now.
    HiddenWindowEntry HiddenTarget(UniqueWindow& window) {
        window = MakeCommandTarget();
        ::ShowWindow(window.get(), SW_HIDE);
        return EntryOfWindow(window.get());
    }

    ScratchRegistry registry;
};

TEST_F(JournalRecovery, ShowsOnlyTheWindowsThatAreStillTheJournalledOnes) {
    UniqueWindow same, otherClass, otherProcess, visible;
    const HiddenWindowEntry sameEntry = HiddenTarget(same);
    HiddenWindowEntry classEntry = HiddenTarget(otherClass);
    classEntry.className = L"SomeoneElsesClass";
    HiddenWindowEntry processEntry = HiddenTarget(otherProcess);
    processEntry.processId ^= 0x4;
    const HiddenWindowEntry visibleEntry = EntryOfWindow((visible = MakeCommandTarget()).get());
    UniqueWindow gone = MakeCommandTarget();
    const HiddenWindowEntry goneEntry = EntryOfWindow(gone.get());
    gone.reset();
    ASSERT_TRUE(WriteHiddenJournal({classEntry, processEntry, visibleEntry, goneEntry, sameEntry}));

    EXPECT_EQ(RecoverHiddenWindows(), 1);
    EXPECT_TRUE(::IsWindowVisible(same.get()));
    EXPECT_FALSE(::IsWindowVisible(otherClass.get()));
    EXPECT_FALSE(::IsWindowVisible(otherProcess.get()));
    EXPECT_TRUE(::IsWindowVisible(visible.get()));
    ASSERT_TRUE(ReadHiddenJournal().has_value());
    EXPECT_TRUE(ReadHiddenJournal()->empty());
}

TEST_F(JournalRecovery, HostileValuesShowNothingAndAreEmptied) {
    UniqueWindow hidden;
    const HiddenWindowEntry entry = HiddenTarget(hidden);
    std::vector<uint8_t> valid = EncodeHiddenJournal({entry});
    const std::vector<std::vector<uint8_t>> values = {
        std::vector<uint8_t>(valid.begin(), valid.end() - 1),  // cut short
        std::vector<uint8_t>(kMaxHiddenJournalBytes + 100, 0x41),
        {'K', 'Z', 'H', '1'},
        {0xFF, 0xFE, 0x00},
    };
    for (const std::vector<uint8_t>& value : values) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quorvane\\Barquill", 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, kHiddenJournalValueW, 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
        ::RegCloseKey(key);
        EXPECT_EQ(RecoverHiddenWindows(), 0) << value.size();
        EXPECT_FALSE(::IsWindowVisible(hidden.get()));
        EXPECT_EQ(registry.ReadValue("Hidden").size(), 0u);
    }
}

TEST_F(JournalRecovery, TheJournalFollowsHidingAndShowing) {
    RegistryHiddenJournal journal;
    UniqueWindow first = MakeCommandTarget(), second = MakeCommandTarget();
    journal.Hidden(first.get());
    journal.Hidden(second.get());
    journal.Hidden(first.get());
    const std::vector<HiddenWindowEntry> both = {EntryOfWindow(second.get()), EntryOfWindow(first.get())};
    EXPECT_EQ(ReadHiddenJournal(), both);
    journal.Shown(second.get());
    EXPECT_EQ(ReadHiddenJournal(), std::vector<HiddenWindowEntry>{EntryOfWindow(first.get())});
    journal.Shown(first.get());
    EXPECT_EQ(registry.ReadValue("Hidden").size(), 0u);
    EXPECT_TRUE(journal.Entries().empty());
}

}  // namespace
}  // namespace kz::test
