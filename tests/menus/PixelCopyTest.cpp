#include "trelmo/paint/PixelCopy.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kz {
namespace {

constexpr uint32_t kBack = 0x0AC81E;
constexpr uint32_t kKey = 0xFF00FF;
const RECT kEverywhere{-1000, -1000, 1000, 1000};

// A target of width x height pixels in memory laid out top-down or bottom-up.
struct Target {
    Target(int width, int height, bool bottomUp)
        : memory(static_cast<std::size_t>(width) * height, kBack),
          rows(RowsOfDib(memory.data(), width, bottomUp ? height : -height, width * 4)) {}
    uint32_t At(int x, int y) const { return rows.top[y * rows.stride + x]; }
    int Changed() const {
        int changed = 0;
        for (uint32_t p : memory)
            changed += p != kBack;
        return changed;
    }
    std::vector<uint32_t> memory;
    PixelRows rows;
};

// A source whose pixel (x, y) is 0x10000 * (y + 1) + x + 1, unlike every
// other pixel and never the key.
struct Source {
    Source(int width, int height) : pixels(static_cast<std::size_t>(width) * height), image{nullptr, width, height} {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = Numbered(x, y);
        image.pixels = pixels.data();
    }
    static uint32_t Numbered(int x, int y) { return 0x10000u * (y + 1) + x + 1; }
    void Set(int x, int y, uint32_t colour) { pixels[static_cast<std::size_t>(y) * image.width + x] = colour; }
    std::vector<uint32_t> pixels;
    PixelImage image;
};

::testing::AssertionResult IsRect(const RECT& r, int l, int t, int ri, int b) {
    if (r.left == l && r.top == t && r.right == ri && r.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                         << ") instead of (" << l << "," << t << "," << ri << "," << b << ")";
}

TEST(DibRows, TopDownMemoryStartsWithTheTopRowAndBottomUpWithTheBottomOne) {
    std::vector<uint32_t> memory(4 * 3);
    const PixelRows topDown = RowsOfDib(memory.data(), 4, -3, 16);
    EXPECT_EQ(topDown.top, memory.data());
    EXPECT_EQ(topDown.stride, 4);
    EXPECT_EQ(topDown.height, 3);

    const PixelRows bottomUp = RowsOfDib(memory.data(), 4, 3, 16);
    EXPECT_EQ(bottomUp.top, memory.data() + 8);
    EXPECT_EQ(bottomUp.stride, -4);
    EXPECT_EQ(bottomUp.height, 3);
    EXPECT_EQ(bottomUp.top + 2 * bottomUp.stride, memory.data());
}

TEST(BlitCutting, CutToBoundsTargetAndSourceWithTheSourceFollowing) {
    const Target target(10, 8, false);
    const Source source(6, 5);
    // Hanging over the target's top-left corner.
    PixelBlit cut = CutBlit({{-2, -3, 4, 2}, 0, 0}, kEverywhere, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 0, 0, 4, 2));
    EXPECT_EQ(cut.sourceX, 2);
    EXPECT_EQ(cut.sourceY, 3);
    // Over the bottom-right corner, and over the bounds.
    cut = CutBlit({{7, 6, 13, 11}, 0, 0}, kEverywhere, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 7, 6, 10, 8));
    cut = CutBlit({{1, 1, 7, 6}, 0, 0}, RECT{3, 2, 5, 100}, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 3, 2, 5, 6));
    EXPECT_EQ(cut.sourceX, 2);
    EXPECT_EQ(cut.sourceY, 1);
    // Asking for more than the source holds.
    cut = CutBlit({{0, 0, 10, 8}, 4, 3}, kEverywhere, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 0, 0, 2, 2));
    EXPECT_EQ(cut.sourceX, 4);
    // Nothing left.
    cut = CutBlit({{12, 0, 15, 3}, 0, 0}, kEverywhere, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 0, 0, 0, 0));
    cut = CutBlit({{1, 1, 4, 4}, 0, 0}, RECT{0, 0, 0, 0}, target.rows, source.image);
    EXPECT_TRUE(IsRect(cut.target, 0, 0, 0, 0));
}

class PixelCopying : public ::testing::TestWithParam<bool> {
protected:
    bool BottomUp() const { return GetParam(); }
};

TEST_P(PixelCopying, CopiesTheSourceBlockToItsPlace) {
    Target target(10, 8, BottomUp());
    const Source source(6, 5);
    CopyPixels(target.rows, kEverywhere, {{3, 2, 7, 5}, 1, 2}, source.image);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
            EXPECT_EQ(target.At(x, y), inside ? Source::Numbered(x - 2, y) : kBack) << x << "," << y;
        }
    // The memory order follows the rows' orientation.
    const std::size_t topRowOfCopy = BottomUp() ? 8 - 1 - 2 : 2;
    EXPECT_EQ(target.memory[topRowOfCopy * 10 + 3], Source::Numbered(1, 2));
}

TEST_P(PixelCopying, BlocksOverTheTargetsEdgesLoseOnlyWhatLiesOutside) {
    Target target(5, 4, BottomUp());
    const Source source(3, 3);
    for (const POINT at : {POINT{-1, -1}, POINT{3, 2}, POINT{-2, 2}, POINT{4, -2}}) {
        target.memory.assign(target.memory.size(), kBack);
        CopyPixels(target.rows, kEverywhere, {{at.x, at.y, at.x + 3, at.y + 3}, 0, 0}, source.image);
        int expectedChanged = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const int sx = x - at.x, sy = y - at.y;
                const bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 3;
                expectedChanged += inside;
                EXPECT_EQ(target.At(x, y), inside ? Source::Numbered(sx, sy) : kBack)
                    << "at " << at.x << "," << at.y << " pixel " << x << "," << y;
            }
        EXPECT_EQ(target.Changed(), expectedChanged) << "at " << at.x << "," << at.y;
    }
}

TEST_P(PixelCopying, TheClipBoundsHoldTheCopyIn) {
    Target target(10, 8, BottomUp());
    const Source source(6, 5);
    CopyPixels(target.rows, RECT{4, 3, 6, 5}, {{2, 1, 8, 6}, 0, 0}, source.image);
    EXPECT_EQ(target.Changed(), 4);
    EXPECT_EQ(target.At(4, 3), Source::Numbered(2, 2));
    EXPECT_EQ(target.At(5, 4), Source::Numbered(3, 3));
}

TEST_P(PixelCopying, TheKeyColourIsLeftOutWhateverItsHighByte) {
    Target target(6, 4, BottomUp());
    Source source(3, 2);
    source.Set(0, 0, kKey);
    source.Set(2, 1, 0xFF000000 | kKey);
    source.Set(1, 0, kKey ^ 1);  // one step from the key: copied
    CopyPixelsKeyed(target.rows, kEverywhere, {{1, 1, 4, 3}, 0, 0}, source.image, 0xAA000000 | kKey);
    EXPECT_EQ(target.At(1, 1), kBack);
    EXPECT_EQ(target.At(2, 1), kKey ^ 1);
    EXPECT_EQ(target.At(3, 1), Source::Numbered(2, 0));
    EXPECT_EQ(target.At(1, 2), Source::Numbered(0, 1));
    EXPECT_EQ(target.At(3, 2), kBack);
    EXPECT_EQ(target.Changed(), 4);
}

TEST_P(PixelCopying, TheMaskIsReadAtTheSourcePixelNotTheTargetOne) {
    Target target(8, 6, BottomUp());
    const Source source(4, 4);
    // Only the source's pixel (2, 3) and (3, 1) are let through.
    std::vector<uint8_t> mask(16, 0);
    mask[3 * 4 + 2] = 1;
    mask[1 * 4 + 3] = 0xFF;
    // The block starts at source (2, 1), lands at (0, 0) cut by the target's left and top edge.
    CopyPixelsMasked(target.rows, kEverywhere, {{-1, -1, 2, 3}, 1, 0}, source.image, mask.data());
    EXPECT_EQ(target.At(1, 0), Source::Numbered(3, 1));
    EXPECT_EQ(target.At(0, 2), Source::Numbered(2, 3));
    EXPECT_EQ(target.Changed(), 2);
}

INSTANTIATE_TEST_SUITE_P(TopDownAndBottomUp, PixelCopying, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "BottomUp" : "TopDown";
                         });

}  // namespace
}  // namespace kz
