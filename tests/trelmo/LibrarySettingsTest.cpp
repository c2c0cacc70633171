#include "LibrarySettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

// The value the host stores for its default record.
std::vector<uint8_t> HostDefaultValue() {
    std::vector<uint8_t> v = {0x01, 0, 0, 0, 0xFF, 0x01, 0x01, 0, 0, 0, 0};
    v.insert(v.end(), 8, 0);
    for (uint8_t b : {0x01, 0, 0, 0, 0x30, 0x32, 0x01, 0x00, 0x01, 0x00, 0x01, 0x01, 0x09, 0, 0, 0})
        v.push_back(b);
    for (uint8_t k = 1; k <= 9; ++k)
        v.push_back(k);
    for (uint8_t b : {0x0A, 0, 0, 0})
        v.push_back(b);
    v.insert(v.end(), 40, 0);
    for (uint8_t b : {0x0A, 0, 0, 0})
        v.push_back(b);
    for (uint8_t k = 1; k <= 10; ++k)
        v.push_back(k);
    return v;
}

TEST(LibrarySettings, DefaultsWhenNothingIsStored) {
    const LibrarySettings s = DecodeLibrarySettings(nullptr, 0);
    EXPECT_EQ(s.Version, 1);
    EXPECT_EQ(s.ButtonCount, 9);
    EXPECT_EQ(s.MenuItemCount, 10);
    EXPECT_EQ(s.MenuItems[9], 10);
    EXPECT_TRUE(s.ShowButtonHints);
    EXPECT_FALSE(s.AllowOverflowCaptionText);
    EXPECT_FALSE(s.GlyphColorAutodetect);
    EXPECT_EQ(s.Checksum, 30);
}

TEST(LibrarySettings, DecodesTheHostDefaultRecord) {
    const std::vector<uint8_t> v = HostDefaultValue();
    ASSERT_EQ(v.size(), 102u);
    const LibrarySettings s = DecodeLibrarySettings(v.data(), int32_t(v.size()));
    EXPECT_EQ(s.Checksum, 31);
    EXPECT_EQ(s.BoxSize, 48);
    EXPECT_TRUE(s.GlyphColorAutodetect);
    EXPECT_FALSE(s.ShowTips);
}

}  // namespace
}  // namespace kz
