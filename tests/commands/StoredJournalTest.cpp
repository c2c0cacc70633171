// The stored form of the crash journal, and the program-path
// matching of file names: pure code over bytes and strings.
#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Process.h"

#include <gtest/gtest.h>

#include <random>

namespace kz {
namespace {

std::optional<std::vector<JournalEntry>> Decode(const std::vector<uint8_t>& bytes) {
    return DecodeJournal(bytes.data(), bytes.size());
}

JournalEntry Hidden(uint64_t window, uint32_t processId, const std::wstring& className) {
    JournalEntry entry;
    entry.identity = {window, processId, className};
    entry.changes = kJournalHidden;
    return entry;
}

JournalEntry EveryChange() {
    JournalEntry entry = Hidden(0xFFFFFFFF80000010ull, 7, std::wstring(256, L'\x263A'));
    entry.changes = kAllJournalChanges;
    entry.heightBeforeRoll = 480;
    entry.wasTopmost = true;
    entry.layering = {true, 0x00FF00FF, 200, 3};
    return entry;
}

const std::vector<JournalEntry> kTwoEntries = {Hidden(0x00000000001A2B3Cull, 4242, L"Notepad"), EveryChange()};

TEST(StoredJournal, OneEntryByteForByte) {
    const std::vector<uint8_t> expected = {'K', 'Z', 'H', '2',                      //
                                           0x3C, 0x2B, 0x1A, 0, 0, 0, 0, 0,         // window
                                           0x92, 0x10, 0, 0,                        // process 4242
                                           2, 0,                                    // two units
                                           'A', 0, 0xE9, 0x00,                      // "Aé"
                                           0x0E, 0,                                 // rolled, topmost, layering
                                           0x2C, 0x01, 0, 0,                        // 300 high before the roll
                                           0,                                       // not topmost before
                                           1,                                       // layered before
                                           0x00, 0xFF, 0x00, 0x00,                  // colour key RGB(0, 255, 0)
                                           200,                                     // alpha
                                           0x03, 0, 0, 0};                          // colour key and alpha
    JournalEntry entry;
    entry.identity = {0x1A2B3C, 4242, L"A\u00E9"};
    entry.changes = kJournalRolled | kJournalTopmost | kJournalLayering;
    entry.heightBeforeRoll = 300;
    entry.layering = {true, 0x0000FF00, 200, 3};
    EXPECT_EQ(EncodeJournal({entry}), expected);
    EXPECT_EQ(Decode(expected), std::vector<JournalEntry>{entry});
}

TEST(StoredJournal, TheFirstFormatIsStillReadAsHiddenWindows) {
    const std::vector<uint8_t> first = {'K', 'Z', 'H', '1',                      //
                                        0x3C, 0x2B, 0x1A, 0, 0, 0, 0, 0,         // window
                                        0x92, 0x10, 0, 0,                        // process 4242
                                        2, 0,                                    // two units
                                        'A', 0, 0xE9, 0x00};                     // "Aé"
    EXPECT_EQ(Decode(first), std::vector<JournalEntry>{Hidden(0x1A2B3C, 4242, L"A\u00E9")});
    EXPECT_FALSE(Decode(std::vector<uint8_t>(first.begin(), first.end() - 1)).has_value());
}

TEST(StoredJournal, EmptyJournalIsAnEmptyValue) {
    EXPECT_TRUE(EncodeJournal({}).empty());
    ASSERT_TRUE(Decode({}).has_value());
    EXPECT_TRUE(Decode({})->empty());
    // Entries that could not be read back, or that undo nothing, are not written.
    JournalEntry nothing = Hidden(5, 6, L"x");
    nothing.changes = 0;
    EXPECT_TRUE(EncodeJournal({Hidden(1, 2, L""), Hidden(3, 4, std::wstring(257, L'x')), nothing}).empty());
}

TEST(StoredJournal, RoundTripOfSeveralEntriesWithTheFieldsOfOtherChangesAsZeros) {
    EXPECT_EQ(Decode(EncodeJournal(kTwoEntries)), kTwoEntries);
    JournalEntry onlyHidden = EveryChange();
    onlyHidden.changes = kJournalHidden;
    EXPECT_EQ(Decode(EncodeJournal({onlyHidden})),
              std::vector<JournalEntry>{Hidden(onlyHidden.identity.window, 7, onlyHidden.identity.className)});
}

TEST(StoredJournal, EveryCutInsideAnEntryIsRefused) {
    const std::vector<uint8_t> whole = EncodeJournal(kTwoEntries);
    const std::size_t firstEnd = EncodeJournal({kTwoEntries[0]}).size();
    for (std::size_t size = 1; size < whole.size(); ++size) {
        const auto entries = DecodeJournal(whole.data(), size);
        if (size == firstEnd)
            EXPECT_EQ(entries, std::vector<JournalEntry>{kTwoEntries[0]});
        else
            EXPECT_FALSE(entries.has_value()) << size;
    }
}

TEST(StoredJournal, MalformedValuesAreRefusedAsAWhole) {
    std::vector<uint8_t> bytes = EncodeJournal(kTwoEntries);
    auto withByte = [&bytes](std::size_t at, uint8_t value) {
        std::vector<uint8_t> changed = bytes;
        changed[at] = value;
        return changed;
    };
    const std::size_t undo = 4 + 14 + 2 * 7;  // the first entry's changes
    EXPECT_FALSE(Decode(withByte(3, '3')).has_value());         // another format
    EXPECT_FALSE(Decode(withByte(16, 0)).has_value());          // a class name of no units
    EXPECT_FALSE(Decode(withByte(17, 1)).has_value());          // 257 units and more
    EXPECT_FALSE(Decode(withByte(undo, 0)).has_value());        // no change
    EXPECT_FALSE(Decode(withByte(undo, 0x10)).has_value());     // a change unknown
    EXPECT_FALSE(Decode(withByte(undo + 2, 1)).has_value());    // a height without a roll
    EXPECT_FALSE(Decode(withByte(undo + 6, 1)).has_value());    // topmost without its change
    EXPECT_FALSE(Decode(withByte(undo + 7, 1)).has_value());    // layering without its change
    EXPECT_FALSE(Decode(withByte(bytes.size() - 10, 2)).has_value());  // layered neither 0 nor 1
    EXPECT_FALSE(Decode(withByte(bytes.size() - 4, 4)).has_value());   // layering flags unknown
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(Decode(longer).has_value());                // a byte left over
    std::vector<uint8_t> huge = bytes;
    huge.resize(kMaxHiddenJournalBytes + 1);
    EXPECT_FALSE(Decode(huge).has_value());
    EXPECT_FALSE(DecodeJournal(nullptr, 12).has_value());
}

TEST(StoredJournal, RandomValuesNeverCrashAndWhatIsReadIsWhatWasWritten) {
    std::mt19937 random(20260107);
    const std::vector<uint8_t> valid = EncodeJournal(kTwoEntries);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 2) {
            // A valid value with a few bytes changed, cut or extended.
            bytes = valid;
            for (int flips = 1 + static_cast<int>(random() % 3); flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            bytes.resize(random() % (valid.size() + 8));
        } else {
            bytes.resize(random() % 64);
            for (uint8_t& byte : bytes)
                byte = static_cast<uint8_t>(random());
            if (bytes.size() >= 4 && round % 4 == 0)
                std::copy(valid.begin(), valid.begin() + 4, bytes.begin());
        }
        const auto entries = Decode(bytes);
        if (!entries)
            continue;
        // Anything accepted in this format is in the one canonical form of its entries.
        if (bytes.size() > 3 && bytes[3] == '2') {
            EXPECT_EQ(EncodeJournal(*entries), bytes) << round;
        }
        accepted += !entries->empty();
    }
    EXPECT_GT(accepted, 0);
}

TEST(ProgramPath, FileNamesAreComparedWithoutLetterCase) {
    EXPECT_EQ(FileNamePart(L"C:\\Program Files\\Editor\\EDIT.EXE"), L"EDIT.EXE");
    EXPECT_EQ(FileNamePart(L"D:edit.exe"), L"edit.exe");
    EXPECT_EQ(FileNamePart(L"/usr/bin/edit.exe"), L"edit.exe");
    EXPECT_EQ(FileNamePart(L"edit.exe"), L"edit.exe");
    EXPECT_TRUE(SameFileName(L"C:\\Program Files\\Editor\\EDIT.EXE", L"edit.exe"));
    EXPECT_FALSE(SameFileName(L"C:\\x\\edit.exe.bak", L"edit.exe"));
    EXPECT_FALSE(SameFileName(L"C:\\edit\\", L"edit"));
}

}  // namespace
}  // namespace kz
