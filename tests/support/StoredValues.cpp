#include "tests/support/StoredValues.h"

namespace kz::test {

namespace {

void PutInt(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace

std::vector<uint8_t> ValueParts::Bytes() const {
    std::vector<uint8_t> out;
    PutInt(out, version);
    out.push_back(checksum);
    out.push_back(runOnStartUp);
    out.push_back(reservedFlag);
    PutInt(out, reservedByte);
    PutInt(out, glyphColor);
    PutInt(out, glyphColorHigh);
    PutInt(out, boxArrangement);
    out.push_back(boxSize);
    out.push_back(transparencyLevel);
    out.insert(out.end(), flags.begin(), flags.end());
    PutInt(out, buttonCount);
    out.insert(out.end(), buttons.begin(), buttons.end());
    PutInt(out, hotKeyCount);
    for (int32_t key : hotKeys)
        PutInt(out, key);
    PutInt(out, menuItemCount);
    out.insert(out.end(), menuItems.begin(), menuItems.end());
    return out;
}

ValueParts DistinctParts() {
    ValueParts p;
    p.checksum = 0x0B;
    p.reservedFlag = 0;
    p.reservedByte = -5;
    p.glyphColor = 0x00FF8000;
    p.boxArrangement = 3;
    p.boxSize = 64;
    p.transparencyLevel = 70;
    p.flags = {0, 1, 0, 1, 0, 0};
    p.buttons = {9, 8, 0, 7, 6, 5, 4, 3, 2};
    p.hotKeys = {0, 0x2041, 0x4042, 0x8043, 0x6044, 0x45, 0xA046, 0xC047, 0xE048, 0x49};
    p.menuItems = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    return p;
}

std::vector<uint8_t> HexBytes(const std::string& hex) {
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : hex) {
        if (c == ' ')
            continue;
        digits += c;
        if (digits.size() == 2) {
            bytes.push_back(static_cast<uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return bytes;
}

std::vector<NamedField> FieldsOf(const SettingsRecord& record) {
    std::vector<NamedField> fields;
    VisitFields(record, [&fields](const char* name, int index, int64_t value) {
        fields.push_back({index < 0 ? name : name + ("[" + std::to_string(index) + "]"), value});
    });
    return fields;
}

std::vector<int64_t> FieldValuesOf(const SettingsRecord& record) {
    std::vector<int64_t> values;
    VisitFields(record, [&values](const char*, int, int64_t value) { values.push_back(value); });
    return values;
}

std::set<std::string> NotSetByTheDefaults() {
    std::set<std::string> names = {"ReservedByte"};
    for (int i = 10; i < kMaxMenuItems; ++i)
        names.insert("MenuItems[" + std::to_string(i) + "]");
    return names;
}

SettingsRecord RowSettings(std::initializer_list<int> kinds) {
    SettingsRecord settings;
    settings.ButtonCount = static_cast<int32_t>(kinds.size());
    int i = 0;
    for (int kind : kinds)
        settings.Buttons[i++] = static_cast<int8_t>(kind);
    return settings;
}

}  // namespace kz::test
