// The host and the hook library decode the stored settings with their own
// readers; fed the same stored values they must agree on every field.
#include "tests/settings/ExpectFields.h"
#include "tests/support/ScratchRegistry.h"
#include "trelmo/hook/SettingsReader.h"
#include "kz/settings/Usettingsfile.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace kz::test {
namespace {

struct Row {
    const char* name;
    std::optional<std::vector<uint8_t>> value;  // nothing: no value stored
    bool valid;
};

template <typename Change>
std::vector<uint8_t> With(Change change) {
    ValueParts parts = DistinctParts();
    change(parts);
    return parts.Bytes();
}

// A list item stored with count as its count and n entries of value.
template <typename Entry>
void SetList(int32_t& storedCount, std::vector<Entry>& entries, int32_t count, std::size_t n, Entry value) {
    storedCount = count;
    entries.assign(n, value);
}

std::vector<uint8_t> Buttons(int32_t count, std::size_t n) {
    return With([&](ValueParts& p) { SetList<uint8_t>(p.buttonCount, p.buttons, count, n, 2); });
}
std::vector<uint8_t> MenuItems(int32_t count, std::size_t n) {
    return With([&](ValueParts& p) { SetList<uint8_t>(p.menuItemCount, p.menuItems, count, n, 7); });
}
std::vector<uint8_t> HotKeys(int32_t count, std::size_t n) {
    return With([&](ValueParts& p) { SetList<int32_t>(p.hotKeyCount, p.hotKeys, count, n, 0x4041); });
}

std::vector<uint8_t> Resized(std::size_t size) {
    std::vector<uint8_t> bytes = DistinctParts().Bytes();
    bytes.resize(size, 0x5A);
    return bytes;
}

std::vector<Row> Table() {
    return {
        {"no value", std::nullopt, false},
        {"empty value", std::vector<uint8_t>{}, false},
        {"host defaults", ValueParts{}.Bytes(), true},
        {"every item changed", DistinctParts().Bytes(), true},
        {"version 0x00010001", With([](ValueParts& p) { p.version = 0x00010001; }), true},
        {"version 0xFFFF0001", With([](ValueParts& p) { p.version = int32_t(0xFFFF0001); }), true},
        {"version 2", With([](ValueParts& p) { p.version = 2; }), false},
        {"start-up byte 2", With([](ValueParts& p) { p.runOnStartUp = 2; }), true},
        {"flags 2 and 0xFF", With([](ValueParts& p) { p.flags = {2, 0xFF, 0, 0x80, 1, 0}; }), true},
        {"checksum 0xEA", With([](ValueParts& p) { p.checksum = 0xEA; }), true},
        {"glyph colour high half", With([](ValueParts& p) { p.glyphColorHigh = -1; }), true},
        {"32 buttons", Buttons(32, 32), true},
        {"33 buttons", Buttons(33, 33), false},
        {"40 buttons", Buttons(40, 40), false},
        {"negative button count", Buttons(-1, 0), true},
        {"button count INT_MIN", Buttons(INT_MIN, 0), true},
        {"32 menu entries", MenuItems(32, 32), true},
        {"33 menu entries", MenuItems(33, 33), false},
        {"menu count 261 (low byte 5)", MenuItems(261, 40), false},
        {"negative menu count", MenuItems(-3, 0), true},
        {"three hotkeys", HotKeys(3, 3), true},
        {"negative hotkey count", HotKeys(-5, 0), true},
        {"huge hotkey count", HotKeys(INT_MAX, 10), true},
        {"cut at 3", Resized(3), false},
        {"cut at 4", Resized(4), true},
        {"cut inside the colour", Resized(15), true},
        {"cut inside the button count", Resized(33), true},
        {"cut inside the hotkeys", Resized(70), true},
        {"last byte missing", Resized(101), true},
        {"512 bytes", Resized(512), true},
        {"513 bytes", Resized(513), false},
        {"all 0xFF", std::vector<uint8_t>(60, 0xFF), false},
    };
}

TEST(DecoderAgreement, HostAndLibraryReadTheSameStoredValuesAlike) {
    // Where the value is invalid each reader falls back on its own defaults,
    // which differ in these fields; every other field must still agree.
    const std::set<std::string> ownDefaults = {"Checksum", "ReservedFlag", "ShowTips", "GlyphColorAutodetect",
                                               "BoxSize"};
    ScratchRegistry registry;
    for (const Row& row : Table()) {
        SCOPED_TRACE(row.name);
        registry.DeleteValues();
        if (row.value)
            registry.SetSettingsValue(*row.value);

        SettingsRecord host;
        SetDefaultSettings(host);
        const bool valid = LoadSettings(host);
        const LibrarySettings library = ReadSettings();

        EXPECT_EQ(valid, row.valid);
        ExpectSameFields(library, host, valid ? std::set<std::string>{} : ownDefaults);
    }
}

}  // namespace
}  // namespace kz::test
