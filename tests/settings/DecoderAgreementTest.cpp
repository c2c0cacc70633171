// The host and the hook library decode the stored settings with their own
// readers; fed the same stored values they must agree on every field.
#include "ExpectFields.h"
#include "ScratchRegistry.h"
#include "SettingsReader.h"
#include "Usettingsfile.h"

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

ValueParts With(void (*change)(ValueParts&)) {
    ValueParts parts = DistinctParts();
    change(parts);
    return parts;
}

std::vector<uint8_t> Cut(std::size_t size) {
    std::vector<uint8_t> bytes = DistinctParts().Bytes();
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> Padded(std::size_t size) {
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
        {"version 0x00010001", With([](ValueParts& p) { p.version = 0x00010001; }).Bytes(), true},
        {"version 0xFFFF0001", With([](ValueParts& p) { p.version = int32_t(0xFFFF0001); }).Bytes(), true},
        {"version 2", With([](ValueParts& p) { p.version = 2; }).Bytes(), false},
        {"version 0", With([](ValueParts& p) { p.version = 0; }).Bytes(), false},
        {"start-up byte 2", With([](ValueParts& p) { p.runOnStartUp = 2; }).Bytes(), true},
        {"flags 2 and 0xFF", With([](ValueParts& p) { p.flags = {2, 0xFF, 0, 0x80, 1, 0}; }).Bytes(), true},
        {"checksum 0xEA", With([](ValueParts& p) { p.checksum = 0xEA; }).Bytes(), true},
        {"glyph colour high half", With([](ValueParts& p) { p.glyphColorHigh = -1; }).Bytes(), true},
        {"both lists full",
         With([](ValueParts& p) {
             p.buttonCount = 32;
             p.buttons.assign(32, 0);
             p.menuItemCount = 32;
             p.menuItems.assign(32, 7);
         }).Bytes(),
         true},
        {"33 buttons",
         With([](ValueParts& p) {
             p.buttonCount = 33;
             p.buttons.assign(33, 1);
         }).Bytes(),
         false},
        {"40 buttons",
         With([](ValueParts& p) {
             p.buttonCount = 40;
             p.buttons.assign(40, 2);
         }).Bytes(),
         false},
        {"negative button count",
         With([](ValueParts& p) {
             p.buttonCount = -1;
             p.buttons.clear();
         }).Bytes(),
         true},
        {"button count INT_MIN",
         With([](ValueParts& p) {
             p.buttonCount = INT_MIN;
             p.buttons.clear();
         }).Bytes(),
         true},
        {"33 menu entries",
         With([](ValueParts& p) {
             p.menuItemCount = 33;
             p.menuItems.assign(33, 3);
         }).Bytes(),
         false},
        {"menu count 261 (low byte 5)",
         With([](ValueParts& p) {
             p.menuItemCount = 261;
             p.menuItems.resize(40, 6);
         }).Bytes(),
         false},
        {"negative menu count",
         With([](ValueParts& p) {
             p.menuItemCount = -3;
             p.menuItems.clear();
         }).Bytes(),
         true},
        {"three hotkeys",
         With([](ValueParts& p) {
             p.hotKeyCount = 3;
             p.hotKeys.resize(3);
         }).Bytes(),
         true},
        {"no hotkeys",
         With([](ValueParts& p) {
             p.hotKeyCount = 0;
             p.hotKeys.clear();
         }).Bytes(),
         true},
        {"negative hotkey count",
         With([](ValueParts& p) {
             p.hotKeyCount = -5;
             p.hotKeys.clear();
         }).Bytes(),
         true},
        {"huge hotkey count", With([](ValueParts& p) { p.hotKeyCount = INT_MAX; }).Bytes(), true},
        {"cut at 3", Cut(3), false},
        {"cut at 4", Cut(4), true},
        {"cut inside the colour", Cut(15), true},
        {"cut inside the button count", Cut(33), true},
        {"cut inside the buttons", Cut(40), true},
        {"cut inside the hotkeys", Cut(70), true},
        {"cut inside the menu count", Cut(90), true},
        {"last byte missing", Cut(101), true},
        {"512 bytes", Padded(512), true},
        {"513 bytes", Padded(513), false},
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
