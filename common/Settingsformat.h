// The settings record and its stored byte format: the data contract between
// the host and the hook library. Both decode the value with this one code so
// that they can never drift apart; each applies its own defaults.
// Pure code over bytes, so that it also builds natively for the fuzz tests.
#pragma once

#include <cstdint>

namespace kz {

constexpr int kMaxButtons = 32;
constexpr int kMaxMenuItems = 32;
constexpr int kHotKeyCount = 10;  // indexed by button kind; entry 0 unused
constexpr int kDefaultSettingsBytes = 102;
constexpr int kLongestSettingsBytes = 147;

struct SettingsRecord {
    int16_t Version = 0;
    uint8_t Checksum = 0;      // 5-bit value, 0..31
    uint8_t RunOnStartUp = 0;  // 2-bit field used as a flag
    uint8_t ReservedFlag = 0;  // 1 bit, carried through
    int8_t ReservedByte = 0;   // carried through
    int32_t ButtonCount = 0;
    uint32_t GlyphColor = 0;  // COLORREF, 0x00BBGGRR
    int8_t BoxArrangement = 0;
    int8_t BoxSize = 0;
    int8_t TransparencyLevel = 0;
    int8_t MenuItemCount = 0;
    bool ShowButtonHints = false;
    bool AllowOverflowCaptionText = false;
    bool TrayMenuSeparate = false;
    bool ShowTips = false;
    bool GlyphColorAutodetect = false;
    bool ShowSplash = false;
    int8_t Buttons[kMaxButtons] = {};
    uint16_t HotKeys[kHotKeyCount] = {};
    int8_t MenuItems[kMaxMenuItems] = {};
};

// Decodes a stored value into record, field by field as the items come; items
// missing from the data read as 0. Negative list counts read as empty lists.
// Returns whether the value is valid: version 1 and neither list count above 32.
// An invalid value leaves the decoded fields in record; the caller applies its
// defaults over them.
bool DecodeSettings(const uint8_t* data, int32_t size, SettingsRecord& record);

// Encodes record into out (at least kLongestSettingsBytes long); returns the
// number of bytes. Counts are clamped to the lists' capacity.
int32_t EncodeSettings(const SettingsRecord& record, uint8_t* out);

// The defaults the host and the library agree on: every field but
// ReservedFlag, ReservedByte, BoxSize, ShowTips, GlyphColorAutodetect, the
// menu entries from the eleventh on, and the checksum, which each sets itself.
void SetSharedDefaults(SettingsRecord& record);

// The 5-bit fold of the defaults' checksum.
uint8_t SettingsChecksum(const SettingsRecord& record);

}  // namespace kz
