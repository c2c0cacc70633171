#include "tests/settings/ExpectFields.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "kz/settings/Usettingsfile.h"

#include <gtest/gtest.h>

#include <map>

namespace kz::test {
namespace {

// The host's default record as stored, byte for byte.
const std::vector<uint8_t> kDefaultValue = HexBytes(
    "01000000 FF 01 01 00000000"
    "0000000000000000"
    "01000000 30 32"
    "010001000101"
    "09000000 010203040506070809"
    "0A000000 00000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "0A000000 0102030405060708090A");

SettingsRecord Defaults() {
    SettingsRecord record;
    SetDefaultSettings(record);
    return record;
}

// Stores value and loads it the way every host reader does.
bool LoadStored(ScratchRegistry& registry, const std::vector<uint8_t>& value, SettingsRecord& record) {
    registry.SetSettingsValue(value);
    record = Defaults();
    return LoadSettings(record);
}

TEST(SettingsStore, TheHandBuiltValueIsTheDefaultValue) {
    ASSERT_EQ(kDefaultValue.size(), 102u);
    EXPECT_EQ(ValueParts{}.Bytes(), kDefaultValue);
}

TEST(SettingsStore, DefaultsLeaveTheFieldsTheyDoNotOwn) {
    SettingsRecord record;
    record.ReservedByte = -7;
    record.MenuItems[10] = 5;
    record.MenuItems[31] = 6;
    SetDefaultSettings(record);
    EXPECT_EQ(record.ReservedByte, -7);
    EXPECT_EQ(record.MenuItems[10], 5);
    EXPECT_EQ(record.MenuItems[31], 6);
}

TEST(SettingsStore, SavesExactBytes) {
    ScratchRegistry registry;
    SettingsRecord record = Defaults();
    record.Version = 7;
    ASSERT_TRUE(SaveSettings(record));  // also creates the missing key
    EXPECT_EQ(record.Version, 1);
    EXPECT_EQ(registry.ReadValue(kSettingsValueA), kDefaultValue);

    record.GlyphColor = 0xFF8000;
    ASSERT_TRUE(SaveSettings(record));
    const std::vector<uint8_t> stored = registry.ReadValue(kSettingsValueA);
    ASSERT_EQ(stored.size(), 102u);
    EXPECT_EQ(std::vector<uint8_t>(stored.begin() + 11, stored.begin() + 19),
              HexBytes("00 80 FF 00 00 00 00 00"));

    record.ButtonCount = kMaxButtons;
    record.MenuItemCount = kMaxMenuItems;
    ASSERT_TRUE(SaveSettings(record));
    EXPECT_EQ(registry.ReadValue(kSettingsValueA).size(), size_t(kLongestSettingsBytes));
}

TEST(SettingsStore, SavedRecordLoadsBackFieldForField) {
    ScratchRegistry registry;
    SettingsRecord saved = Defaults();
    saved.Checksum = 9;
    saved.RunOnStartUp = 0;
    saved.ReservedByte = -100;
    saved.GlyphColor = 0x123456;
    saved.BoxArrangement = 8;
    saved.BoxSize = 96;
    saved.TransparencyLevel = 0;
    saved.ShowTips = true;
    saved.GlyphColorAutodetect = false;
    saved.ButtonCount = kMaxButtons;
    saved.Buttons[31] = 0;
    saved.HotKeys[9] = 0xE07A;
    saved.MenuItemCount = kMaxMenuItems;
    for (int i = 10; i < kMaxMenuItems; ++i)
        saved.MenuItems[i] = static_cast<int8_t>(i % 11);
    ASSERT_TRUE(SaveSettings(saved));

    SettingsRecord loaded = Defaults();
    EXPECT_TRUE(LoadSettings(loaded));
    ExpectSameFields(loaded, saved);
}

TEST(SettingsStore, NoValueLeavesTheRecordAndAnswersFalse) {
    ScratchRegistry registry;
    SettingsRecord record = Defaults();
    EXPECT_FALSE(LoadSettings(record));
    ExpectSameFields(record, Defaults());

    registry.SetBlacklistValue({0});  // the key exists, the value does not
    record.BoxSize = 20;
    EXPECT_FALSE(LoadSettings(record));
    EXPECT_EQ(record.BoxSize, 20);
}

TEST(SettingsStore, LoadsEveryItemOfAFullValue) {
    ScratchRegistry registry;
    ValueParts parts = DistinctParts();
    parts.version = 0x00010001;  // only the low 16 bits count
    parts.runOnStartUp = 3;
    SettingsRecord r;
    ASSERT_TRUE(LoadStored(registry, parts.Bytes(), r));
    EXPECT_EQ(r.Version, 1);
    EXPECT_EQ(r.Checksum, 0x0B);
    EXPECT_EQ(r.RunOnStartUp, 1);
    EXPECT_EQ(r.ReservedFlag, 0);
    EXPECT_EQ(r.ReservedByte, -5);
    EXPECT_EQ(r.GlyphColor, 0xFF8000u);
    EXPECT_EQ(r.BoxArrangement, 3);
    EXPECT_EQ(r.BoxSize, 64);
    EXPECT_EQ(r.TransparencyLevel, 70);
    EXPECT_FALSE(r.ShowButtonHints);
    EXPECT_TRUE(r.AllowOverflowCaptionText);
    EXPECT_FALSE(r.TrayMenuSeparate);
    EXPECT_TRUE(r.ShowTips);
    EXPECT_FALSE(r.GlyphColorAutodetect);
    EXPECT_FALSE(r.ShowSplash);
    EXPECT_EQ(r.Buttons[0], 9);
    EXPECT_EQ(r.Buttons[2], 0);
    EXPECT_EQ(r.Buttons[9], 10);  // past the count: the value before the load
    EXPECT_EQ(r.HotKeys[1], 0x2041);
    EXPECT_EQ(r.HotKeys[6], 0xA046);
    EXPECT_EQ(r.MenuItems[0], 10);

    parts.runOnStartUp = 2;
    ASSERT_TRUE(LoadStored(registry, parts.Bytes(), r));
    EXPECT_EQ(r.RunOnStartUp, 1);
}

TEST(SettingsStore, InvalidValuesGiveTheDefaults) {
    ScratchRegistry registry;
    ValueParts version2;
    version2.version = 2;
    ValueParts forty = DistinctParts();
    forty.buttonCount = 40;
    forty.buttons.assign(40, 3);
    ValueParts menu33 = DistinctParts();
    menu33.menuItemCount = 33;
    menu33.menuItems.assign(33, 4);
    std::vector<uint8_t> tooLong = DistinctParts().Bytes();
    tooLong.resize(kSettingsValueMaxBytes + 1, 0x11);

    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"version 2", version2.Bytes()},
        {"40 buttons", forty.Bytes()},
        {"33 menu entries", menu33.Bytes()},
        {"513 bytes", tooLong},
    };
    for (const auto& [name, value] : cases) {
        SCOPED_TRACE(name);
        SettingsRecord r;
        EXPECT_FALSE(LoadStored(registry, value, r));
        ExpectSameFields(r, Defaults(), NotSetByTheDefaults());
    }

    std::vector<uint8_t> longest = DistinctParts().Bytes();
    longest.resize(kSettingsValueMaxBytes, 0x11);  // trailing bytes are never read
    SettingsRecord r;
    EXPECT_TRUE(LoadStored(registry, longest, r));
    EXPECT_EQ(r.BoxSize, 64);
}

TEST(SettingsStore, ListCounts) {
    ScratchRegistry registry;
    SettingsRecord r;

    ValueParts negative = DistinctParts();
    negative.buttonCount = -1;
    negative.buttons.clear();
    EXPECT_TRUE(LoadStored(registry, negative.Bytes(), r));
    EXPECT_EQ(r.ButtonCount, 0);
    EXPECT_EQ(r.HotKeys[1], 0x2041);  // the items after the empty list are in step
    EXPECT_EQ(r.MenuItems[0], 10);

    ValueParts threeKeys = DistinctParts();
    threeKeys.hotKeyCount = 3;
    threeKeys.hotKeys.resize(3);
    registry.SetSettingsValue(threeKeys.Bytes());
    r = Defaults();
    r.HotKeys[3] = 0x1234;
    r.HotKeys[9] = 0x4321;
    EXPECT_TRUE(LoadSettings(r));
    EXPECT_EQ(r.HotKeys[1], 0x2041);
    EXPECT_EQ(r.HotKeys[2], 0x4042);
    EXPECT_EQ(r.HotKeys[3], 0x1234);
    EXPECT_EQ(r.HotKeys[9], 0x4321);
    EXPECT_EQ(r.MenuItems[0], 10);

    ValueParts twelveKeys = DistinctParts();
    twelveKeys.hotKeyCount = 12;
    twelveKeys.hotKeys.resize(12, 0);
    EXPECT_TRUE(LoadStored(registry, twelveKeys.Bytes(), r));
    EXPECT_EQ(r.HotKeys[9], 0x49);
    EXPECT_EQ(r.MenuItemCount, 0);  // the eleventh key read as the count: out of step, as stored

    ValueParts highBits = DistinctParts();
    highBits.hotKeys[4] = 0x00FF6044;
    EXPECT_TRUE(LoadStored(registry, highBits.Bytes(), r));
    EXPECT_EQ(r.HotKeys[4], 0x6044);
}

// Where each item of a value with the default list lengths lies, and for a
// list entry the offset of the count that decides whether it is read at all.
struct ItemPlace {
    int offset;
    int width;
    int countOffset = -1;
};

std::map<std::string, ItemPlace> PlacesOfDefaultLayout() {
    std::map<std::string, ItemPlace> places = {
        {"Version", {0, 4}},           {"Checksum", {4, 1}},          {"RunOnStartUp", {5, 1}},
        {"ReservedFlag", {6, 1}},      {"ReservedByte", {7, 4}},      {"GlyphColor", {11, 8}},
        {"BoxArrangement", {19, 4}},   {"BoxSize", {23, 1}},          {"TransparencyLevel", {24, 1}},
        {"ShowButtonHints", {25, 1}},  {"AllowOverflowCaptionText", {26, 1}},
        {"TrayMenuSeparate", {27, 1}}, {"ShowTips", {28, 1}},         {"GlyphColorAutodetect", {29, 1}},
        {"ShowSplash", {30, 1}},       {"ButtonCount", {31, 4}},      {"MenuItemCount", {88, 4}},
    };
    for (int i = 0; i < 9; ++i)
        places["Buttons[" + std::to_string(i) + "]"] = {35 + i, 1, 31};
    for (int i = 0; i < kHotKeyCount; ++i)
        places["HotKeys[" + std::to_string(i) + "]"] = {48 + 4 * i, 4, 44};
    for (int i = 0; i < 10; ++i)
        places["MenuItems[" + std::to_string(i) + "]"] = {92 + i, 1, 88};
    return places;
}

// A value cut at n bytes: items wholly inside keep their value, items that
// start at or run past the end read as 0, list entries whose count is missing
// are not read at all. Without its version the value is invalid: defaults.
TEST(SettingsStore, ValuesCutShortAtEveryLength) {
    ScratchRegistry registry;
    const std::vector<uint8_t> full = DistinctParts().Bytes();
    ASSERT_EQ(full.size(), 102u);
    SettingsRecord whole;
    ASSERT_TRUE(LoadStored(registry, full, whole));
    const std::map<std::string, ItemPlace> places = PlacesOfDefaultLayout();
    const std::vector<NamedField> wholeFields = FieldsOf(whole);
    const std::vector<NamedField> startFields = FieldsOf(Defaults());

    for (int n = 0; n < 102; ++n) {
        SCOPED_TRACE("cut at " + std::to_string(n));
        SettingsRecord r;
        const bool valid = LoadStored(registry, std::vector<uint8_t>(full.begin(), full.begin() + n), r);
        if (n < 4) {
            EXPECT_FALSE(valid);
            ExpectSameFields(r, Defaults());
            continue;
        }
        EXPECT_TRUE(valid);
        const std::vector<NamedField> got = FieldsOf(r);
        for (std::size_t f = 0; f < got.size(); ++f) {
            const auto place = places.find(got[f].name);
            int64_t expected = startFields[f].value;
            if (place != places.end()) {
                const ItemPlace& p = place->second;
                const bool listed = p.countOffset < 0 || p.countOffset + 4 <= n;
                if (listed)
                    expected = p.offset + p.width <= n ? wholeFields[f].value : 0;
            }
            EXPECT_EQ(got[f].value, expected) << got[f].name;
        }
    }
}

TEST(GlyphColor, ColorSchemeNames) {
    EXPECT_EQ(GlyphColorOfColorScheme(L"HomeStead"), 0xFFFFFFu);
    EXPECT_EQ(GlyphColorOfColorScheme(L"NormalColor"), 0xFFFFFFu);
    EXPECT_EQ(GlyphColorOfColorScheme(L"Ergonomic"), 0xF9F9F9u);
    EXPECT_EQ(GlyphColorOfColorScheme(L"Olive"), 0xFFFFFFu);
    EXPECT_EQ(GlyphColorOfColorScheme(L"Silver"), 0u);
    EXPECT_EQ(GlyphColorOfColorScheme(L"Metallic"), 0u);
    EXPECT_EQ(GlyphColorOfColorScheme(L"normalcolor"), 0u);  // the comparison is exact
    EXPECT_EQ(GlyphColorOfColorScheme(L"NormalColor2"), 0u);
    EXPECT_EQ(GlyphColorOfColorScheme(L""), 0u);
}

TEST(GlyphColor, EffectiveColorFollowsTheAutodetectFlag) {
    SettingsRecord record = Defaults();
    record.GlyphColor = 0x00C0FFEE;
    EXPECT_EQ(EffectiveGlyphColor(record), DetectThemeGlyphColor());
    record.GlyphColorAutodetect = false;
    EXPECT_EQ(EffectiveGlyphColor(record), 0x00C0FFEEu);
}

}  // namespace
}  // namespace kz::test
