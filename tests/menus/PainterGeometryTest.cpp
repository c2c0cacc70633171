#include "trelmo/paint/PainterGeometry.h"
#include "common/PixelScaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace kz {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult IsRect(const RECT& r, int l, int t, int ri, int b) {
    if (SameRect(r, RECT{l, t, ri, b}))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                         << ") instead of (" << l << "," << t << "," << ri << "," << b << ")";
}

TEST(GlyphPlacement, CentredInTheButtonAndCutToIt) {
    const PixelBlit exact = PlaceGlyph(RECT{10, 4, 28, 22}, 18, 18);
    EXPECT_TRUE(IsRect(exact.target, 10, 4, 28, 22));
    EXPECT_EQ(exact.sourceX, 0);
    EXPECT_EQ(exact.sourceY, 0);

    const PixelBlit roomy = PlaceGlyph(RECT{0, 0, 30, 24}, 18, 18);
    EXPECT_TRUE(IsRect(roomy.target, 6, 3, 24, 21));

    // A classic button lower and narrower than the frame: the middle of the
    // frame shows, nothing lands outside the button.
    const PixelBlit low = PlaceGlyph(RECT{100, 5, 112, 19}, 18, 18);
    EXPECT_TRUE(IsRect(low.target, 100, 5, 112, 19));
    EXPECT_EQ(low.sourceX, 3);
    EXPECT_EQ(low.sourceY, 2);

    const PixelBlit none = PlaceGlyph(RECT{5, 5, 5, 20}, 18, 18);
    EXPECT_TRUE(IsRect(none.target, 0, 0, 0, 0));
}

TEST(GlyphColours, OnlyExactBlackIsRecolouredAndNeverIntoTheKey) {
    std::vector<uint32_t> pixels = {0x000000, 0xFF000000, 0x000001, 0xFF00FF, 0x808080};
    RecolourBlack(pixels.data(), pixels.size(), 0x123456);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x123456, 0x123456, 0x000001, 0xFF00FF, 0x808080}));

    EXPECT_EQ(GlyphColourBesideKey(0x123456, 0xFF00FF), 0x123456u);
    EXPECT_NE(GlyphColourBesideKey(0xFF00FF, 0xFF00FF), 0xFF00FFu);
    EXPECT_EQ(RgbOfColorref(RGB(0x12, 0x34, 0x56)), 0x123456u);
    EXPECT_EQ(ColorrefOfRgb(0x123456), RGB(0x12, 0x34, 0x56));
}

TEST(FaceFrames, StateAndCaptionPickAFrameWithFallbacks) {
    EXPECT_EQ(FaceFrameIndex(2, true, 8), 2);
    EXPECT_EQ(FaceFrameIndex(2, false, 8), 6);
    // Images with only the four active frames serve inactive captions too.
    EXPECT_EQ(FaceFrameIndex(1, false, 4), 1);
    // Fewer frames than states: the normal one.
    EXPECT_EQ(FaceFrameIndex(3, true, 2), 0);
    EXPECT_EQ(FaceFrameIndex(0, false, 0), -1);
    // Out-of-range states never reach past the frames.
    EXPECT_EQ(FaceFrameIndex(9, true, 8), 3);
    EXPECT_EQ(FaceFrameIndex(-4, false, 8), 4);
}

TEST(FaceFrames, EqualPartsOfTheImage) {
    EXPECT_TRUE(IsRect(FaceFrameSource(13, 84, 4, false, 2), 0, 42, 13, 63));
    EXPECT_TRUE(IsRect(FaceFrameSource(80, 20, 8, true, 7), 70, 0, 80, 20));
    EXPECT_TRUE(IsRect(FaceFrameSource(80, 20, 0, true, 0), 0, 0, 0, 0));
}

TEST(FaceSteps, TrueSizeIsCentredOnce) {
    const auto steps = FaceSteps(kSizingTrueSize, RECT{0, 21, 13, 42}, 21, 25, MARGINS{});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_TRUE(IsRect(steps[0].target, 4, 2, 17, 23));
    EXPECT_TRUE(IsRect(steps[0].source, 0, 21, 13, 42));
}

TEST(FaceSteps, StretchDrawsTheNinePartsInOrder) {
    const MARGINS m{3, 4, 2, 5};  // left, right, top, bottom
    const auto steps = FaceSteps(1, RECT{0, 20, 20, 40}, 30, 21, m);
    ASSERT_EQ(steps.size(), 9u);
    // top-left, left edge, top edge, centre, top-right, bottom-left, right edge, bottom edge, bottom-right
    EXPECT_TRUE(IsRect(steps[0].target, 0, 0, 3, 2));
    EXPECT_TRUE(IsRect(steps[0].source, 0, 20, 3, 22));
    EXPECT_TRUE(IsRect(steps[1].target, 0, 2, 3, 16));
    EXPECT_TRUE(IsRect(steps[2].target, 3, 0, 26, 2));
    EXPECT_TRUE(IsRect(steps[3].target, 3, 2, 26, 16));
    EXPECT_TRUE(IsRect(steps[3].source, 3, 22, 16, 35));
    EXPECT_TRUE(IsRect(steps[4].target, 26, 0, 30, 2));
    EXPECT_TRUE(IsRect(steps[5].target, 0, 16, 3, 21));
    EXPECT_TRUE(IsRect(steps[6].target, 26, 2, 30, 16));
    EXPECT_TRUE(IsRect(steps[7].target, 3, 16, 26, 21));
    EXPECT_TRUE(IsRect(steps[8].target, 26, 16, 30, 21));
    EXPECT_TRUE(IsRect(steps[8].source, 16, 35, 20, 40));
}

TEST(FaceSteps, TileRepeatsEdgesAtTheirOwnLengthAndCutsTheLast) {
    const MARGINS m{2, 2, 2, 2};
    const auto steps = FaceSteps(kSizingTile, RECT{0, 0, 8, 8}, 12, 8, m);
    // The top edge is 4 long in the source and 8 in the target: two copies.
    std::vector<StretchStep> top;
    for (const StretchStep& s : steps)
        if (s.target.top == 0 && s.target.left >= 2 && s.target.right <= 10)
            top.push_back(s);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_TRUE(IsRect(top[0].target, 2, 0, 6, 2));
    EXPECT_TRUE(IsRect(top[1].target, 6, 0, 10, 2));
    for (const StretchStep& s : top)
        EXPECT_TRUE(IsRect(s.source, 2, 0, 6, 2));

    // A 5-long edge in a 6-long room: one whole copy and one cut to 1.
    const auto cut = FaceSteps(kSizingTile, RECT{0, 0, 9, 9}, 10, 9, m);
    bool foundCutPiece = false;
    for (const StretchStep& s : cut)
        if (s.target.top == 0 && s.target.left == 7)
            foundCutPiece = IsRect(s.target, 7, 0, 8, 2) && IsRect(s.source, 2, 0, 3, 2);
    EXPECT_TRUE(foundCutPiece);
}

TEST(FaceSteps, DegenerateMarginsNeverGiveEmptyOrEndlessSteps) {
    // Margins that eat the whole source edge: nothing to repeat, and no endless loop.
    const auto tiled = FaceSteps(kSizingTile, RECT{0, 0, 4, 4}, 40, 40, MARGINS{2, 2, 2, 2});
    const auto stretched = FaceSteps(1, RECT{0, 0, 10, 10}, 6, 6, MARGINS{5, 5, 5, 5});
    for (const auto* steps : {&tiled, &stretched})
        for (const StretchStep& s : *steps) {
            EXPECT_GT(s.target.right, s.target.left);
            EXPECT_GT(s.target.bottom, s.target.top);
            EXPECT_GT(s.source.right, s.source.left);
            EXPECT_GT(s.source.bottom, s.source.top);
        }
    EXPECT_EQ(tiled.size(), 4u);  // the corners
}

TEST(GlyphScaling, CellsScaleOnTheirOwnPixelForPixel) {
    // Two cells of 2 x 2 stacked: 1 2 / 3 4 and 5 6 / 7 8.
    const std::vector<uint32_t> image{1, 2, 3, 4, 5, 6, 7, 8};
    const PixelImage source{image.data(), 2, 4};
    EXPECT_EQ(ScaleCellsNearest(source, 1, 2, 4, 4),
              (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4,  //
                                     5, 5, 6, 6, 5, 5, 6, 6, 7, 7, 8, 8, 7, 7, 8, 8}));
    // At 150 % every pixel of the cell takes one of its own: nothing mixed, no
    // pixel of the next cell.
    EXPECT_EQ(ScaleCellsNearest(source, 1, 2, 3, 3),
              (std::vector<uint32_t>{1, 1, 2, 1, 1, 2, 3, 3, 4, 5, 5, 6, 5, 5, 6, 7, 7, 8}));
    EXPECT_EQ(ScaleCellsNearest(source, 1, 2, 2, 2), image);
    EXPECT_TRUE(ScaleCellsNearest(source, 1, 2, 0, 3).empty());
    EXPECT_EQ(ScaledLength(18, 96), 18);
    EXPECT_EQ(ScaledLength(18, 144), 27);
    EXPECT_EQ(ScaledLength(18, 192), 36);
}

TEST(ThemeFile, ImageResourceNameFromItsPath) {
    EXPECT_EQ(ThemeImageResourceName(L"Blue\\CaptionButton.bmp"), L"BLUE_CAPTIONBUTTON_BMP");
    EXPECT_EQ(ThemeImageResourceName(L""), L"");
}

}  // namespace
}  // namespace kz
