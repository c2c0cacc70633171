// The library's decoding of the stored settings and its blacklist match.
#include "common/LibrarySettings.h"
#include "tests/support/StoredValues.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kz {
namespace {

using test::ValueParts;

// A stored value whose lists differ from the defaults entry by entry; each
// list holds exactly as many entries as its count says.
ValueParts Stored() {
    ValueParts parts;
    parts.buttons = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    parts.hotKeys.clear();
    for (int32_t i = 0; i < 10; ++i)
        parts.hotKeys.push_back(0x4100 + i);
    parts.menuItems = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1};
    return parts;
}

LibrarySettings Decode(const std::vector<uint8_t>& v) {
    return DecodeLibrarySettings(v.data(), static_cast<int32_t>(v.size()));
}

void ExpectLibraryDefaults(const LibrarySettings& s) {
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.ButtonCount, 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(s.Buttons[i], i + 1);
    EXPECT_EQ(s.MenuItemCount, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(s.MenuItems[i], i + 1);
    EXPECT_TRUE(s.ShowButtonHints);
    EXPECT_FALSE(s.AllowOverflowCaptionText);
    EXPECT_EQ(s.GlyphColor, 0u);
}

TEST(LibrarySettingsDecode, DefaultsWhenNothingIsStored) {
    const LibrarySettings s = DecodeLibrarySettings(nullptr, 0);
    ExpectLibraryDefaults(s);
    EXPECT_FALSE(s.GlyphColorAutodetect);  // not set by the library's defaults
    EXPECT_EQ(s.Buttons[31], 32);
    // 1 + 0 + 9 + (1..32) + 1 + 0 + 0 + 50 + 1 = 590, folded to 30.
    EXPECT_EQ(s.Checksum, 30);
}

TEST(LibrarySettingsDecode, ReadsEveryItemOfAStoredValue) {
    ValueParts stored = Stored();
    stored.glyphColor = 0x00FF8000;
    stored.flags[1] = 1;
    stored.flags[4] = 0;
    const LibrarySettings s = Decode(stored.Bytes());
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.Checksum, 31);
    EXPECT_EQ(s.GlyphColor, 0x00FF8000u);
    EXPECT_EQ(s.BoxSize, 48);
    EXPECT_EQ(s.TransparencyLevel, 50);
    EXPECT_TRUE(s.AllowOverflowCaptionText);
    EXPECT_FALSE(s.GlyphColorAutodetect);
    EXPECT_EQ(s.ButtonCount, 9);
    EXPECT_EQ(s.Buttons[0], 9);
    EXPECT_EQ(s.Buttons[8], 1);
    EXPECT_EQ(s.Buttons[9], 10);  // past the count the defaults stay
    EXPECT_EQ(s.HotKeys[3], 0x4103);
    EXPECT_EQ(s.MenuItemCount, 10);
    EXPECT_EQ(s.MenuItems[9], 1);
}

TEST(LibrarySettingsDecode, InvalidValuesGiveTheDefaults) {
    ValueParts version2 = Stored();
    version2.version = 2;
    ExpectLibraryDefaults(Decode(version2.Bytes()));

    ValueParts tooManyButtons = Stored();
    tooManyButtons.buttonCount = 33;
    tooManyButtons.buttons.resize(33, 1);
    ExpectLibraryDefaults(Decode(tooManyButtons.Bytes()));

    ValueParts tooManyMenuItems = Stored();
    tooManyMenuItems.menuItemCount = 33;
    tooManyMenuItems.menuItems.resize(33, 1);
    ExpectLibraryDefaults(Decode(tooManyMenuItems.Bytes()));

    // Only the count's low byte would read 5: the whole count decides.
    ValueParts hugeMenuCount = Stored();
    hugeMenuCount.menuItemCount = 0x105;
    hugeMenuCount.menuItems.resize(40, 1);
    ExpectLibraryDefaults(Decode(hugeMenuCount.Bytes()));
}

TEST(LibrarySettingsDecode, OnlyTheLowSixteenBitsOfTheVersionCount) {
    ValueParts stored = Stored();
    stored.version = 0x00010001;
    stored.buttonCount = 2;
    stored.buttons.resize(2);
    const LibrarySettings s = Decode(stored.Bytes());
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.ButtonCount, 2);
}

TEST(LibrarySettingsDecode, NegativeButtonCountIsAnEmptyRow) {
    ValueParts stored = Stored();
    stored.buttonCount = -1;
    stored.buttons.clear();
    const LibrarySettings s = Decode(stored.Bytes());
    EXPECT_EQ(s.ButtonCount, 0);
    EXPECT_EQ(s.MenuItemCount, 10);
    EXPECT_EQ(s.HotKeys[1], 0x4101);  // the items after it are still read in place
}

TEST(LibrarySettingsDecode, HotKeyCountOfThreeFillsThreeEntries) {
    ValueParts stored = Stored();
    stored.hotKeyCount = 3;
    stored.hotKeys.resize(3);
    const LibrarySettings s = Decode(stored.Bytes());
    EXPECT_EQ(s.HotKeys[0], 0x4100);
    EXPECT_EQ(s.HotKeys[2], 0x4102);
    EXPECT_EQ(s.HotKeys[3], 0);
    EXPECT_EQ(s.MenuItemCount, 10);
    EXPECT_EQ(s.MenuItems[0], 1);
}

TEST(LibrarySettingsDecode, ValuesCutShortNeverReadPastTheirEnd) {
    const std::vector<uint8_t> full = Stored().Bytes();
    for (std::size_t length = 0; length < full.size(); ++length) {
        // An exactly sized heap copy: reading past it would be caught by the
        // native sanitizer run of the same code.
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        const LibrarySettings s = Decode(cut);
        EXPECT_EQ(s.Version, 1) << length;
        if (length < 4)
            ExpectLibraryDefaults(s);
    }
    // A value cut inside the button list keeps what was read and zeroes the rest.
    std::vector<uint8_t> cut(full.begin(), full.begin() + 37);  // 31 bytes of items, the count, two buttons
    const LibrarySettings s = Decode(cut);
    EXPECT_EQ(s.ButtonCount, 9);
    EXPECT_EQ(s.Buttons[0], 9);
    EXPECT_EQ(s.Buttons[1], 8);
    EXPECT_EQ(s.Buttons[2], 0);
    EXPECT_EQ(s.MenuItemCount, 0);
}

TEST(LibrarySettingsDecode, OddLengthsAndGarbageStayInsideTheData) {
    uint32_t seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> v(seed % 600);
        for (uint8_t& b : v) {
            seed = seed * 1103515245u + 12345u;
            b = static_cast<uint8_t>(seed >> 16);
        }
        if (v.size() >= 4 && round % 2)
            std::memcpy(v.data(), "\x01\x00\x00\x00", 4);
        const LibrarySettings s = Decode(v);
        const bool valid = s.Version == 1 && s.ButtonCount >= 0 && s.ButtonCount <= 32 &&
                           s.MenuItemCount >= 0 && s.MenuItemCount <= 32;
        EXPECT_TRUE(valid) << "round " << round;
    }
}

std::vector<wchar_t> MultiString(std::initializer_list<const wchar_t*> entries, bool terminated = true) {
    std::vector<wchar_t> v;
    for (const wchar_t* e : entries) {
        v.insert(v.end(), e, e + std::wcslen(e));
        v.push_back(L'\0');
    }
    if (terminated)
        v.push_back(L'\0');
    else if (!v.empty())
        v.pop_back();
    return v;
}

bool Matches(const wchar_t* lowerPath, const std::vector<wchar_t>& list) {
    return IsPathInBlacklist(lowerPath, list.data(), list.size());
}

TEST(Blacklist, MatchesTheWholePathInAnyLetterCase) {
    const auto list = MultiString({L"C:\\Program Files\\Other\\x.exe", L"C:\\Tools\\Target.EXE"});
    EXPECT_TRUE(Matches(L"c:\\tools\\target.exe", list));
    EXPECT_TRUE(Matches(L"c:\\program files\\other\\x.exe", list));
    EXPECT_FALSE(Matches(L"c:\\tools\\target.exe.bak", list));
    EXPECT_FALSE(Matches(L"c:\\tools\\target.ex", list));
    EXPECT_FALSE(Matches(L"d:\\tools\\target.exe", list));
}

TEST(Blacklist, ABareFileNameNeverMatches) {
    EXPECT_FALSE(Matches(L"c:\\tools\\target.exe", MultiString({L"target.exe"})));
    EXPECT_FALSE(Matches(L"c:\\tools\\target.exe", MultiString({L"TARGET.EXE"})));
}

TEST(Blacklist, TheListEndsAtItsEmptyEntry) {
    std::vector<wchar_t> list = MultiString({L"c:\\a.exe"});
    const std::vector<wchar_t> after = MultiString({L"c:\\b.exe"});
    list.insert(list.end(), after.begin(), after.end());
    EXPECT_TRUE(Matches(L"c:\\a.exe", list));
    EXPECT_FALSE(Matches(L"c:\\b.exe", list));
    EXPECT_FALSE(Matches(L"c:\\a.exe", MultiString({})));
    EXPECT_FALSE(Matches(L"c:\\a.exe", {}));
}

TEST(Blacklist, AValueWithoutTerminatorsIsReadOnlyUpToItsEnd) {
    // Exactly sized heap buffers: a walk past them is an overread.
    const auto unterminated = MultiString({L"c:\\a.exe", L"c:\\bb.exe"}, false);
    EXPECT_TRUE(Matches(L"c:\\a.exe", unterminated));
    EXPECT_TRUE(Matches(L"c:\\bb.exe", unterminated));
    EXPECT_FALSE(Matches(L"c:\\bb.exe2", unterminated));
    // A path that is longer than the data left never compares past the data.
    const std::vector<wchar_t> partial(unterminated.begin(), unterminated.end() - 3);
    EXPECT_FALSE(Matches(L"c:\\bb.exe", partial));
}

}  // namespace
}  // namespace kz
