// The painters of the alpha styles on plain pixels: which glyph a button
// shows, how a premultiplied pixel blends, the PNG strips as GDI+ decodes
// them, and Office's stored colour scheme.
#include "trelmo/paint/GdiPlus.h"
#include "trelmo/paint/PixelCopy.h"
#include "trelmo/paint/PngButtonPainters.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

TEST(AeroGlyphIndex, KindsMapToTheirGlyphsAndPressedCommandsToTheirSecondOnes) {
    for (int kind = kToTray; kind <= kRunCopy; ++kind) {
        EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kind, 0), kind - 1);
        EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kind, 1), kind - 1);
    }
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kRollUp, 2), 9);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kOnTop, 2), 10);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kTransparencyToggle, 2), 11);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kTransparencyMenu, 2), 12);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kToTray, 2), 0);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kOverflow, 0), 13);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kOverflow, 2), 13);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(kSeparator, 0), -1);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(11, 0), -1);
    EXPECT_EQ(CaptionButtonGlyphPainterAero::GlyphIndex(-3, 2), -1);
}

TEST(PremultipliedBlend, SourceOverKeepsOpaqueAndTransparentAndMixesTheRest) {
    EXPECT_EQ(PixelOver(0xFF102030, 0xFFA0B0C0), 0xFFA0B0C0u);
    EXPECT_EQ(PixelOver(0xFF102030, 0x00000000), 0xFF102030u);
    // Half-transparent white (premultiplied 0x80) over opaque black.
    EXPECT_EQ(PixelOver(0xFF000000, 0x80808080), 0xFF808080u);
    // Half-transparent red over opaque blue: a little of each.
    const uint32_t mixed = PixelOver(0xFF0000FF, 0x80800000);
    EXPECT_EQ(mixed >> 24, 0xFFu);
    EXPECT_EQ((mixed >> 16) & 0xFF, 0x80u);
    EXPECT_EQ(mixed & 0xFF, 0x7Fu);
    // Over nothing, the source stays as it is.
    EXPECT_EQ(PixelOver(0, 0x40102030), 0x40102030u);

    std::vector<uint32_t> target(4, 0xFF000000);
    const uint32_t source[2] = {0xFFFFFFFF, 0x00000000};
    const PixelRows rows{target.data(), 2, 2, 2};
    BlendPixelsOver(rows, RECT{0, 0, 2, 1}, PixelBlit{RECT{0, 0, 2, 2}, 0, 0}, PixelImage{source, 2, 1});
    EXPECT_EQ(target, (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000}));
}

TEST(PngStrips, EveryImageDecodesAtTheSizeItsFramesNeedAndNoBitmapIsLeft) {
    const HMODULE module = ::GetModuleHandleW(nullptr);  // the library's resources are linked in
    struct Expected {
        int id, width, height;
    };
    for (const Expected& image : {Expected{142, 31, 176}, Expected{147, 252, 17}, Expected{148, 35, 168},
                                  Expected{149, 35, 168}, Expected{150, 35, 168}, Expected{152, 24, 144}}) {
        SCOPED_TRACE(image.id);
        const CGdiPlusBitmapResource bitmap(module, image.id);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap.Width(), image.width);
        EXPECT_EQ(bitmap.Height(), image.height);
        EXPECT_EQ(LiveGdiPlusBitmaps(), 1);
    }
    EXPECT_FALSE(CGdiPlusBitmapResource(module, 999));
    EXPECT_EQ(LiveGdiPlusBitmaps(), 0);
}

// The eight frames of a face painter, drawn one by one into a row of pixels.
std::vector<std::vector<uint32_t>> DrawnFrames(PngFacePainter& painter, int width, int height) {
    std::vector<std::vector<uint32_t>> frames;
    for (bool active : {true, false})
        for (int state = 0; state < 4; ++state) {
            std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
            const RECT all{0, 0, width, height};
            painter.Draw(PixelRows{pixels.data(), width, height, width}, all, all, state, active);
            frames.push_back(std::move(pixels));
        }
    return frames;
}

TEST(PngFacePainters, FacesAreScaledOncePerSizeSharedAndDifferByState) {
    PngFacePainter* painter = CaptionButtonAeroPainter::Acquire(26, 19);
    ASSERT_TRUE(painter->Loaded());
    EXPECT_EQ(CaptionButtonAeroPainter::Acquire(26, 19), painter);
    EXPECT_EQ(painter->ReferenceCount(), 2);
    EXPECT_NE(CaptionButtonAeroPainter::Acquire(24, 19), painter);
    const auto frames = DrawnFrames(*painter, 26, 19);
    for (std::size_t a = 0; a < frames.size(); ++a)
        for (std::size_t b = a + 1; b < frames.size(); ++b)
            EXPECT_NE(frames[a], frames[b]) << "frames " << a << " and " << b;
    // The glass face is partly see-through.
    const uint32_t middle = frames[0][9 * 26 + 13];
    EXPECT_GT(middle >> 24, 0u);
    EXPECT_LT(middle >> 24, 255u);
    painter->Release();
    painter->Release();
    EXPECT_EQ(painter->ReferenceCount(), 0);
    EXPECT_EQ(LiveGdiPlusBitmaps(), 0) << "the strip is freed once the frames are scaled";
}

TEST(PngFacePainters, OfficeSchemesChooseTheirImages) {
    EXPECT_EQ(OfficeFaceImageId(1), 148);
    EXPECT_EQ(OfficeFaceImageId(2), 150);
    EXPECT_EQ(OfficeFaceImageId(3), 149);
    EXPECT_EQ(OfficeFaceImageId(0), 148);
    EXPECT_EQ(OfficeFaceImageId(77), 148);
    PngFacePainter* black = CaptionButtonOffice2007Painter::Acquire(35, 21, 3);
    PngFacePainter* blue = CaptionButtonOffice2007Painter::Acquire(35, 21, 1);
    EXPECT_EQ(black->ImageId(), 149);
    EXPECT_EQ(blue->ImageId(), 148);
    EXPECT_NE(DrawnFrames(*black, 35, 21)[0], DrawnFrames(*blue, 35, 21)[0]);
    black->Release();
    blue->Release();
}

TEST(OfficeColourScheme, IsReadAfreshAndOnlyAsADword) {
    test::ScratchRegistry registry;
    EXPECT_EQ(ReadOfficeColourScheme(), 1u) << "no value";
    UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\12.0\\Common", 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD silver = 2;
    ::RegSetValueExW(key.get(), L"Theme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&silver), sizeof silver);
    EXPECT_EQ(ReadOfficeColourScheme(), 2u);
    ::RegSetValueExW(key.get(), L"Theme", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"3"), 4);
    EXPECT_EQ(ReadOfficeColourScheme(), 1u) << "a string is no scheme";
}

}  // namespace
}  // namespace kz
