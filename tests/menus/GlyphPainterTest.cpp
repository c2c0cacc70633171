#include "common/Dib.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/PixelCanvas.h"
#include "common/Protocol.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kz::test {
namespace {

constexpr int kGlyph = 18;
constexpr uint32_t kBackground = 0x0AC81E;
constexpr uint32_t kBlack = 0x000000;

// The strip as stored in the resources, top row first, 0x00RRGGBB.
struct StoredStrip {
    explicit StoredStrip(int kind) {
        const int id = kind == kOverflow ? kOverflowGlyphStripId : kFirstGlyphStripId + kind - 1;
        const UniqueBitmap bitmap(static_cast<HBITMAP>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        BITMAPINFO info = TopDownDibInfo(kGlyph, kGlyph * kGlyphFramesPerStrip);
        pixels.resize(kGlyph * kGlyph * kGlyphFramesPerStrip);
        const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        EXPECT_EQ(::GetDIBits(dc.get(), bitmap.get(), 0, kGlyph * kGlyphFramesPerStrip, pixels.data(), &info,
                              DIB_RGB_COLORS),
                  kGlyph * kGlyphFramesPerStrip);
        for (uint32_t& p : pixels)
            p &= 0xFFFFFF;
    }
    uint32_t Key() const { return pixels.back(); }
    uint32_t At(int frame, int x, int y) const { return pixels[(frame * kGlyph + y) * kGlyph + x]; }
    bool FramesDiffer(int a, int b) const {
        for (int y = 0; y < kGlyph; ++y)
            for (int x = 0; x < kGlyph; ++x)
                if (At(a, x, y) != At(b, x, y))
                    return true;
        return false;
    }
    std::vector<uint32_t> pixels;
};

// The frame drawn at (left, top): key pixels leave the background, black
// ones take the glyph colour unless it is 0, the rest stay as stored.
::testing::AssertionResult DrewFrame(const PixelCanvas& canvas, int left, int top, const StoredStrip& strip,
                                     int frame, uint32_t colour) {
    int wrong = 0;
    int glyphPixels = 0;
    for (int y = 0; y < kGlyph; ++y)
        for (int x = 0; x < kGlyph; ++x) {
            const uint32_t stored = strip.At(frame, x, y);
            uint32_t expected = stored == strip.Key() ? kBackground : stored;
            if (stored == kBlack && colour != 0)
                expected = colour;
            glyphPixels += stored != strip.Key();
            wrong += canvas.At(left + x, top + y) != expected;
        }
    if (glyphPixels == 0)
        return ::testing::AssertionFailure() << "frame " << frame << " is empty";
    if (wrong != 0)
        return ::testing::AssertionFailure() << wrong << " pixels differ from frame " << frame;
    return ::testing::AssertionSuccess();
}

// The strips are stored with a palette: loaded as 32-bit pixels they must
// hold the drawing colours and nothing else, the key at the bottom right.
TEST(GlyphStrips, LoadWithTheirOwnColoursAndTheKeyBottomRight) {
    for (int kind = kToTray; kind <= kOverflow; ++kind) {
        const StoredStrip strip(kind);
        EXPECT_EQ(strip.Key(), 0xFF00FFu) << "kind " << kind;
        int black = 0;
        for (uint32_t p : strip.pixels) {
            EXPECT_TRUE(p == 0xFF00FF || p == kBlack || p == 0x808080 || p == 0xFFFFFF)
                << "kind " << kind << " colour " << std::hex << p;
            black += p == kBlack;
        }
        EXPECT_GT(black, 0) << "kind " << kind;
    }
}

class GlyphPainter : public ::testing::Test {
protected:
    LibraryInProcess library;  // the resources and the painter cache of this process
    PixelCanvas canvas{40, 40, kBackground};
    const RECT button{11, 11, 11 + kGlyph, 11 + kGlyph};
};

TEST_F(GlyphPainter, ColourZeroDrawsEveryGlyphAsStored) {
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(0, 0);
    for (int kind = kToTray; kind <= kOverflow; ++kind) {
        const StoredStrip strip(kind);
        for (int state = 0; state < 4; ++state) {
            canvas.Clear();
            painter->Draw(nullptr, canvas.Dc(), button, kind, state, true);
            EXPECT_TRUE(DrewFrame(canvas, 11, 11, strip, state, 0)) << "kind " << kind << " state " << state;
        }
    }
}

TEST_F(GlyphPainter, ACustomColourTakesEveryBlackPixel) {
    constexpr uint32_t kColour = 0x2060A0;
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(kColour, kColour);
    for (int kind = kToTray; kind <= kOverflow; ++kind) {
        const StoredStrip strip(kind);
        for (int state : {0, 2, 3}) {
            canvas.Clear();
            painter->Draw(nullptr, canvas.Dc(), button, kind, state, true);
            EXPECT_TRUE(DrewFrame(canvas, 11, 11, strip, state, kColour)) << "kind " << kind << " state " << state;
        }
    }
}

TEST_F(GlyphPainter, InactiveCaptionsUseTheSecondFourFramesInTheirOwnColour) {
    constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(kRed, kBlue);
    const StoredStrip strip(kToTray);
    ASSERT_TRUE(strip.FramesDiffer(3, 7)) << "the strips must tell active and inactive apart";

    for (int state = 0; state < 4; ++state) {
        canvas.Clear();
        painter->Draw(nullptr, canvas.Dc(), button, kToTray, state, false);
        EXPECT_TRUE(DrewFrame(canvas, 11, 11, strip, state + 4, kBlue)) << "state " << state;
        canvas.Clear();
        painter->Draw(nullptr, canvas.Dc(), button, kToTray, state, true);
        EXPECT_TRUE(DrewFrame(canvas, 11, 11, strip, state, kRed)) << "state " << state;
    }
}

TEST_F(GlyphPainter, DrawsOnlyInsideTheButtonAndOnlyKindsWithAGlyph) {
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(0, 0);
    // A classic button, lower and narrower than the frames.
    const RECT small{11, 11, 23, 25};
    painter->Draw(nullptr, canvas.Dc(), small, kToTray, 0, true);
    EXPECT_GT(canvas.ChangedInside(small), 0);
    EXPECT_EQ(canvas.ChangedOutside(small), 0);

    canvas.Clear();
    for (int kind : {int(kSeparator), 11, 127, -1})
        painter->Draw(nullptr, canvas.Dc(), button, kind, 0, true);
    EXPECT_EQ(canvas.ChangedInside(RECT{0, 0, 40, 40}), 0);
}

TEST_F(GlyphPainter, AColourEqualToTheTransparentOneStaysVisible) {
    const uint32_t key = StoredStrip(kToTray).Key();
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(key, key);
    painter->Draw(nullptr, canvas.Dc(), button, kToTray, 0, true);
    EXPECT_GT(canvas.ChangedInside(button), 20);
}

// Memory DIBs of either orientation are written directly, device bitmaps by
// GDI: the pixels must not tell them apart.
TEST_F(GlyphPainter, EveryKindOfTargetGetsTheSamePixels) {
    constexpr uint32_t kColour = 0x2060A0;
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(kColour, kColour);
    for (CanvasBitmap kind : {CanvasBitmap::BottomUpDib, CanvasBitmap::DeviceBitmap}) {
        PixelCanvas other(40, 40, kBackground, kind);
        for (int glyph : {int(kToTray), int(kOverflow)}) {
            const StoredStrip strip(glyph);
            for (int state = 0; state < 4; ++state) {
                other.Clear();
                painter->Draw(nullptr, other.Dc(), button, glyph, state, true);
                EXPECT_TRUE(DrewFrame(other, 11, 11, strip, state, kColour))
                    << "canvas " << int(kind) << " kind " << glyph << " state " << state;
            }
        }
    }
}

TEST_F(GlyphPainter, ButtonsOverTheTargetsEdgesDrawWhatFallsInside) {
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(0, 0);
    PixelCanvas byGdi(40, 40, kBackground, CanvasBitmap::DeviceBitmap);
    for (const RECT& over : {RECT{-9, -9, 9, 9}, RECT{31, 30, 49, 48}, RECT{-9, 30, 9, 48}}) {
        canvas.Clear();
        byGdi.Clear();
        painter->Draw(nullptr, canvas.Dc(), over, kToTray, 0, true);
        painter->Draw(nullptr, byGdi.Dc(), over, kToTray, 0, true);
        EXPECT_GT(canvas.ChangedInside(over), 0) << over.left << "," << over.top;
        EXPECT_EQ(canvas.ChangedOutside(over), 0) << over.left << "," << over.top;
        EXPECT_EQ(canvas.DifferingFrom(byGdi), 0) << over.left << "," << over.top;
    }
}

TEST_F(GlyphPainter, TheClipOfTheTargetHoldsTheGlyphIn) {
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(0, 0);
    const RECT clip{11, 11, 20, 29};
    ::IntersectClipRect(canvas.Dc(), clip.left, clip.top, clip.right, clip.bottom);
    painter->Draw(nullptr, canvas.Dc(), button, kToTray, 0, true);
    EXPECT_GT(canvas.ChangedInside(clip), 0);
    EXPECT_EQ(canvas.ChangedOutside(clip), 0);
}

TEST_F(GlyphPainter, AMovedOriginMovesTheGlyph) {
    CaptionButtonGlyphPainter* painter = CaptionButtonGlyphPainter::Acquire(0, 0);
    ::SetViewportOrgEx(canvas.Dc(), 5, 3, nullptr);
    painter->Draw(nullptr, canvas.Dc(), button, kToTray, 1, true);
    EXPECT_TRUE(DrewFrame(canvas, 16, 14, StoredStrip(kToTray), 1, 0));
}

TEST_F(GlyphPainter, OnePainterPerColourPair) {
    CaptionButtonGlyphPainter* first = CaptionButtonGlyphPainter::Acquire(0x102030, 0x405060);
    // Only the three colour bytes count.
    CaptionButtonGlyphPainter* second = CaptionButtonGlyphPainter::Acquire(0xFF102030, 0x405060);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->ReferenceCount(), 2);
    EXPECT_NE(CaptionButtonGlyphPainter::Acquire(0x405060, 0x102030), first);
    EXPECT_NE(CaptionButtonGlyphPainter::Acquire(0x102030, 0x405061), first);

    second->Release();
    EXPECT_EQ(first->ReferenceCount(), 1);
    // Released painters stay cached until unload.
    EXPECT_EQ(CaptionButtonGlyphPainter::Acquire(0x102030, 0x405060), first);

    FreePainterCache();
    EXPECT_EQ(CaptionButtonGlyphPainter::Acquire(0x102030, 0x405060)->ReferenceCount(), 1);
}

}  // namespace
}  // namespace kz::test
