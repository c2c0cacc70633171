// The stored form of the journal of hidden windows, and the program-path
// matching of file names: pure code over bytes and strings.
#include "kz/commands/Hiddenjournalformat.h"
#include "kz/commands/Process.h"

#include <gtest/gtest.h>

#include <random>

namespace kz {
namespace {

std::optional<std::vector<HiddenWindowEntry>> Decode(const std::vector<uint8_t>& bytes) {
    return DecodeHiddenJournal(bytes.data(), bytes.size());
}

const std::vector<HiddenWindowEntry> kTwoEntries = {{0x00000000001A2B3Cull, 4242, L"Notepad"},
                                                    {0xFFFFFFFF80000010ull, 7, std::wstring(256, L'\x263A')}};

TEST(StoredJournal, OneEntryByteForByte) {
    const std::vector<uint8_t> expected = {'K', 'Z', 'H', '1',                      //
                                           0x3C, 0x2B, 0x1A, 0, 0, 0, 0, 0,         // window
                                           0x92, 0x10, 0, 0,                        // process 4242
                                           2, 0,                                    // two units
                                           'A', 0, 0xE9, 0x00};                     // "Aé"
    const std::vector<HiddenWindowEntry> entries = {{0x1A2B3C, 4242, L"A\u00E9"}};
    EXPECT_EQ(EncodeHiddenJournal(entries), expected);
    EXPECT_EQ(Decode(expected), entries);
}

TEST(StoredJournal, EmptyJournalIsAnEmptyValue) {
    EXPECT_TRUE(EncodeHiddenJournal({}).empty());
    ASSERT_TRUE(Decode({}).has_value());
    EXPECT_TRUE(Decode({})->empty());
    // Entries that could not be read back are not written.
    EXPECT_TRUE(EncodeHiddenJournal({{1, 2, L""}, {3, 4, std::wstring(257, L'x')}}).empty());
}

TEST(StoredJournal, RoundTripOfSeveralEntries) {
    EXPECT_EQ(Decode(EncodeHiddenJournal(kTwoEntries)), kTwoEntries);
}

TEST(StoredJournal, EveryCutInsideAnEntryIsRefused) {
    const std::vector<uint8_t> whole = EncodeHiddenJournal(kTwoEntries);
    const std::size_t firstEnd = EncodeHiddenJournal({kTwoEntries[0]}).size();
    for (std::size_t size = 1; size < whole.size(); ++size) {
        const auto entries = DecodeHiddenJournal(whole.data(), size);
        if (size == firstEnd)
            EXPECT_EQ(entries, std::vector<HiddenWindowEntry>{kTwoEntries[0]});
        else
            EXPECT_FALSE(entries.has_value()) << size;
    }
}

TEST(StoredJournal, MalformedValuesAreRefusedAsAWhole) {
    std::vector<uint8_t> bytes = EncodeHiddenJournal(kTwoEntries);
    auto withByte = [&bytes](std::size_t at, uint8_t value) {
        std::vector<uint8_t> changed = bytes;
        changed[at] = value;
        return changed;
    };
    EXPECT_FALSE(Decode(withByte(3, '2')).has_value());      // another format
    EXPECT_FALSE(Decode(withByte(16, 0)).has_value());       // a class name of no units
    EXPECT_FALSE(Decode(withByte(17, 1)).has_value());       // 257 units and more
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(Decode(longer).has_value());                // a byte left over
    std::vector<uint8_t> huge = bytes;
    huge.resize(kMaxHiddenJournalBytes + 1);
    EXPECT_FALSE(Decode(huge).has_value());
    EXPECT_FALSE(DecodeHiddenJournal(nullptr, 12).has_value());
}

TEST(StoredJournal, RandomValuesNeverCrashAndWhatIsReadIsWhatWasWritten) {
    std::mt19937 random(20260107);
    const std::vector<uint8_t> valid = EncodeHiddenJournal(kTwoEntries);
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
        // Anything accepted is in the one canonical form of its entries.
        EXPECT_EQ(EncodeHiddenJournal(*entries), bytes) << round;
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
