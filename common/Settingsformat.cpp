#include "common/Settingsformat.h"

#include "common/Memorystream.h"

#include <algorithm>
#include <cstring>

namespace kz {

namespace {

// A list count as stored: negative counts mean an empty list.
int32_t ListLength(int32_t count) { return std::max<int32_t>(count, 0); }

int8_t SignExtendFiveBits(uint8_t value) {
    return static_cast<int8_t>((value & 0x10) ? (value | 0xE0) : (value & 0x1F));
}

}  // namespace

bool DecodeSettings(const uint8_t* data, int32_t size, SettingsRecord& r) {
    ByteStream in = ByteStream::Reader(data, size);
    r.Version = static_cast<int16_t>(in.ReadInt());
    r.Checksum = in.ReadByte() & 0x1F;
    r.RunOnStartUp = in.ReadByte() != 0;
    r.ReservedFlag = in.ReadByte() != 0;
    r.ReservedByte = static_cast<int8_t>(in.ReadInt());
    r.GlyphColor = static_cast<uint32_t>(in.ReadInt64());
    r.BoxArrangement = static_cast<int8_t>(in.ReadInt());
    r.BoxSize = static_cast<int8_t>(in.ReadByte());
    r.TransparencyLevel = static_cast<int8_t>(in.ReadByte());
    r.ShowButtonHints = in.ReadByte() != 0;
    r.AllowOverflowCaptionText = in.ReadByte() != 0;
    r.TrayMenuSeparate = in.ReadByte() != 0;
    r.ShowTips = in.ReadByte() != 0;
    r.GlyphColorAutodetect = in.ReadByte() != 0;
    r.ShowSplash = in.ReadByte() != 0;

    const int32_t buttonCount =
        in.ReadByteList(reinterpret_cast<uint8_t*>(r.Buttons), kMaxButtons);
    r.ButtonCount = ListLength(buttonCount);
    in.ReadWordList(r.HotKeys, kHotKeyCount);
    // The count as read decides validity: its low byte alone could pass for a
    // small count while the list stored many more entries.
    const int32_t menuItemCount =
        in.ReadByteList(reinterpret_cast<uint8_t*>(r.MenuItems), kMaxMenuItems);
    r.MenuItemCount = static_cast<int8_t>(std::min(ListLength(menuItemCount), kMaxMenuItems));

    return r.Version == 1 && buttonCount <= kMaxButtons && menuItemCount <= kMaxMenuItems;
}

int32_t EncodeSettings(const SettingsRecord& r, uint8_t* out) {
    ByteStream s = ByteStream::Writer();
    s.WriteInt(r.Version);
    s.WriteByte(static_cast<uint8_t>(SignExtendFiveBits(r.Checksum)));
    s.WriteByte(r.RunOnStartUp & 3);
    s.WriteByte(r.ReservedFlag & 1);
    s.WriteInt(r.ReservedByte);
    s.WriteInt64(static_cast<int32_t>(r.GlyphColor));
    s.WriteInt(r.BoxArrangement);
    s.WriteByte(static_cast<uint8_t>(r.BoxSize));
    s.WriteByte(static_cast<uint8_t>(r.TransparencyLevel));
    for (bool flag : {r.ShowButtonHints, r.AllowOverflowCaptionText, r.TrayMenuSeparate, r.ShowTips,
                      r.GlyphColorAutodetect, r.ShowSplash})
        s.WriteByte(flag ? 1 : 0);
    s.WriteByteList(reinterpret_cast<const uint8_t*>(r.Buttons),
                    std::clamp<int32_t>(r.ButtonCount, 0, kMaxButtons));
    s.WriteWordList(r.HotKeys, kHotKeyCount);
    s.WriteByteList(reinterpret_cast<const uint8_t*>(r.MenuItems),
                    std::clamp<int32_t>(r.MenuItemCount, 0, kMaxMenuItems));
    std::memcpy(out, s.Data(), s.Position());
    return s.Position();
}

void SetSharedDefaults(SettingsRecord& s) {
    s.Version = 1;
    s.RunOnStartUp = 1;
    s.ButtonCount = 9;
    s.GlyphColor = 0;
    s.BoxArrangement = 1;
    s.TransparencyLevel = 50;
    s.MenuItemCount = 10;
    s.ShowButtonHints = true;
    s.AllowOverflowCaptionText = false;
    s.TrayMenuSeparate = true;
    s.ShowSplash = true;
    for (int i = 0; i < kMaxButtons; ++i)
        s.Buttons[i] = static_cast<int8_t>(i + 1);
    for (uint16_t& key : s.HotKeys)
        key = 0;
    for (int i = 0; i < 10; ++i)
        s.MenuItems[i] = static_cast<int8_t>(i + 1);
}

uint8_t SettingsChecksum(const SettingsRecord& r) {
    // Summed with 32-bit wrap-around; the fold then shifts arithmetically.
    uint32_t total = r.RunOnStartUp + r.ReservedFlag + static_cast<uint32_t>(r.ButtonCount);
    for (int8_t b : r.Buttons)
        total += static_cast<uint32_t>(int32_t(b));
    total += r.GlyphColor + static_cast<uint32_t>(int32_t(r.BoxArrangement));
    for (uint16_t k : r.HotKeys)
        total += k;
    total += r.TrayMenuSeparate + static_cast<uint32_t>(int32_t(r.TransparencyLevel));
    const int32_t sum = static_cast<int32_t>(total);
    return static_cast<uint8_t>((sum | sum >> 5 | sum >> 10 | sum >> 15 | sum >> 20) & 0x1F);
}

}  // namespace kz
