// Stored settings values put together by hand, item by item, independently
// of the encoder under test; and records flattened into named fields so that
// tests compare them field by field and name the field that differs.
// No test framework here: the native fuzz program uses it too.
#pragma once

#include "common/Settingsformat.h"

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace kz::test {

// The items of a stored "Settings" value; the defaults give the host's
// default record.
struct ValueParts {
    int32_t version = 1;
    uint8_t checksum = 0xFF;
    uint8_t runOnStartUp = 1;
    uint8_t reservedFlag = 1;
    int32_t reservedByte = 0;
    int32_t glyphColor = 0;
    int32_t glyphColorHigh = 0;
    int32_t boxArrangement = 1;
    uint8_t boxSize = 48;
    uint8_t transparencyLevel = 50;
    std::vector<uint8_t> flags = {1, 0, 1, 0, 1, 1};
    int32_t buttonCount = 9;
    std::vector<uint8_t> buttons = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    int32_t hotKeyCount = 10;
    std::vector<int32_t> hotKeys = std::vector<int32_t>(10, 0);
    int32_t menuItemCount = 10;
    std::vector<uint8_t> menuItems = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

    std::vector<uint8_t> Bytes() const;
};

// A value whose every item differs from the defaults, with the default
// list lengths so that every item keeps its default offset.
ValueParts DistinctParts();

// "01 00 ff" -> {0x01, 0x00, 0xFF}
std::vector<uint8_t> HexBytes(const std::string& hex);

// Calls visit(name, index, value) for every field of the record in a fixed
// order; index is the entry of a list, -1 for a single field.
template <typename Visit>
void VisitFields(const SettingsRecord& r, Visit visit) {
    visit("Version", -1, r.Version);
    visit("Checksum", -1, r.Checksum);
    visit("RunOnStartUp", -1, r.RunOnStartUp);
    visit("ReservedFlag", -1, r.ReservedFlag);
    visit("ReservedByte", -1, r.ReservedByte);
    visit("GlyphColor", -1, r.GlyphColor);
    visit("BoxArrangement", -1, r.BoxArrangement);
    visit("BoxSize", -1, r.BoxSize);
    visit("TransparencyLevel", -1, r.TransparencyLevel);
    visit("ShowButtonHints", -1, r.ShowButtonHints);
    visit("AllowOverflowCaptionText", -1, r.AllowOverflowCaptionText);
    visit("TrayMenuSeparate", -1, r.TrayMenuSeparate);
    visit("ShowTips", -1, r.ShowTips);
    visit("GlyphColorAutodetect", -1, r.GlyphColorAutodetect);
    visit("ShowSplash", -1, r.ShowSplash);
    visit("ButtonCount", -1, r.ButtonCount);
    visit("MenuItemCount", -1, r.MenuItemCount);
    for (int i = 0; i < kMaxButtons; ++i)
        visit("Buttons", i, r.Buttons[i]);
    for (int i = 0; i < kHotKeyCount; ++i)
        visit("HotKeys", i, r.HotKeys[i]);
    for (int i = 0; i < kMaxMenuItems; ++i)
        visit("MenuItems", i, r.MenuItems[i]);
}

struct NamedField {
    std::string name;
    int64_t value;
};
// Every field of the record, list entries one by one ("Buttons[3]").
std::vector<NamedField> FieldsOf(const SettingsRecord& record);
// The same fields' values only.
std::vector<int64_t> FieldValuesOf(const SettingsRecord& record);

// The fields that both readers' defaults leave as they are.
std::set<std::string> NotSetByTheDefaults();

// A record with this button row, all else as a record starts.
SettingsRecord RowSettings(std::initializer_list<int> kinds);

}  // namespace kz::test
