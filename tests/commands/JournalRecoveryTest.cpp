// Recovery of the windows a host changed before it ended without restoring
// them: only a journalled window that is still the same window is touched.
#include "kz/commands/Hiddenjournal.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

class JournalRecovery : public ::testing::Test {
protected:
    // A target of this process, hidden, with its journal entry as written now.
    JournalEntry HiddenTarget(UniqueWindow& window) {
        window = MakeCommandTarget();
        ::ShowWindow(window.get(), SW_HIDE);
        return HiddenEntryOf(window.get());
    }
    static JournalEntry HiddenEntryOf(HWND w) {
        JournalEntry entry;
        entry.identity = IdentityOf(w);
        entry.changes = kJournalHidden;
        return entry;
    }

    ScratchRegistry registry;
};

TEST_F(JournalRecovery, ShowsOnlyTheWindowsThatAreStillTheJournalledOnes) {
    UniqueWindow same, otherClass, otherProcess, visible;
    const JournalEntry sameEntry = HiddenTarget(same);
    JournalEntry classEntry = HiddenTarget(otherClass);
    classEntry.identity.className = L"SomeoneElsesClass";
    JournalEntry processEntry = HiddenTarget(otherProcess);
    processEntry.identity.processId ^= 0x4;
    const JournalEntry visibleEntry = HiddenEntryOf((visible = MakeCommandTarget()).get());
    UniqueWindow gone = MakeCommandTarget();
    const JournalEntry goneEntry = HiddenEntryOf(gone.get());
    gone.reset();
    ASSERT_TRUE(WriteChangeJournal({classEntry, processEntry, visibleEntry, goneEntry, sameEntry}));

    EXPECT_EQ(RecoverJournalledWindows(), 1);
    EXPECT_TRUE(::IsWindowVisible(same.get()));
    EXPECT_FALSE(::IsWindowVisible(otherClass.get()));
    EXPECT_FALSE(::IsWindowVisible(otherProcess.get()));
    EXPECT_TRUE(::IsWindowVisible(visible.get()));
    ASSERT_TRUE(ReadChangeJournal().has_value());
    EXPECT_TRUE(ReadChangeJournal()->empty());
}

TEST_F(JournalRecovery, HostileValuesShowNothingAndAreEmptied) {
    UniqueWindow hidden;
    const JournalEntry entry = HiddenTarget(hidden);
    std::vector<uint8_t> valid = EncodeJournal({entry});
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
        EXPECT_EQ(RecoverJournalledWindows(), 0) << value.size();
        EXPECT_FALSE(::IsWindowVisible(hidden.get()));
        EXPECT_EQ(registry.ReadValue("Hidden").size(), 0u);
    }
}

TEST_F(JournalRecovery, TheJournalFollowsPutsAndDrops) {
    RegistryChangeJournal journal;
    UniqueWindow first = MakeCommandTarget(), second = MakeCommandTarget();
    journal.Put(HiddenEntryOf(first.get()));
    journal.Put(HiddenEntryOf(second.get()));
    journal.Put(HiddenEntryOf(first.get()));
    const std::vector<JournalEntry> both = {HiddenEntryOf(second.get()), HiddenEntryOf(first.get())};
    EXPECT_EQ(ReadChangeJournal(), both);
    journal.Drop(second.get());
    EXPECT_EQ(ReadChangeJournal(), std::vector<JournalEntry>{HiddenEntryOf(first.get())});
    journal.Drop(first.get());
    EXPECT_EQ(registry.ReadValue("Hidden").size(), 0u);
    EXPECT_TRUE(journal.Entries().empty());
}

}  // namespace
}  // namespace kz::test
