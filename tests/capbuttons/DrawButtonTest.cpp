// The pictures of the host-drawn buttons read back pixel by pixel: the
// classic push button with its glyph, the themed face, and the preview.
#include "tests/capbuttons/CapButtonsWindows.h"
#include "kz/capbuttons/Exbackdrawer.h"

#include "tests/support/PixelCanvas.h"
#include "trelmo/paint/PainterGeometry.h"

#include <gtest/gtest.h>

namespace kz {
namespace {

using test::OriginalGlyph;
using test::PixelCanvas;

constexpr COLORREF kGlyphColor = RGB(200, 30, 90);
constexpr uint32_t kSentinel = 0x123456;
constexpr int kGlyph = 18;
constexpr int kCanvasWidth = 80;
constexpr int kCanvasHeight = 60;

RECT United(const RECT& a, const RECT& b) {
    RECT u;
    ::UnionRect(&u, &a, &b);
    return u;
}

// The normal glyph of a button kind, centred in a button's rectangle: every
// pixel of its ink is in the colour, and it has ink.
void ExpectGlyphCentredIn(HDC dc, int kind, const RECT& r, COLORREF colour) {
    const int gx = r.left + (r.right - r.left - kGlyph) / 2, gy = r.top + (r.bottom - r.top - kGlyph) / 2;
    const OriginalGlyph glyph(kind);
    int ink = 0;
    for (int y = 0; y < kGlyph; ++y)
        for (int x = 0; x < kGlyph; ++x)
            if (glyph.At(kStateNormal, x, y) == RGB(0, 0, 0)) {
                ++ink;
                EXPECT_EQ(::GetPixel(dc, gx + x, gy + y), colour);
            }
    EXPECT_GT(ink, 20) << "kind " << kind;
}

TEST(DrawButtonClassic, PushButtonFaceOfTheStateWithItsGlyphCell) {
    const UniqueWindow main = test::CreateMainWindowStandIn(true);
    TExBackDrawer drawer(main.get(), kGlyphColor);
    ASSERT_FALSE(drawer.Themed());
    const int8_t kinds[] = {5};
    drawer.SetButtons(kinds, 1);
    const CaptionMetrics m = SystemCaptionMetrics();
    const RECT r{20, 10, 20 + m.cxSize, 10 + m.cySize};
    const int gx = r.left + (m.cxSize - kGlyph) / 2, gy = r.top + (m.cySize - kGlyph) / 2;
    const RECT glyphRect{gx, gy, gx + kGlyph, gy + kGlyph};
    const UINT faces[kVisualStateCount] = {DFCS_HOT, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE,
                                           DFCS_HOT, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    const OriginalGlyph glyph(5);
    for (int state = 0; state < kVisualStateCount; ++state) {
        SCOPED_TRACE(state);
        PixelCanvas canvas(kCanvasWidth, kCanvasHeight, kSentinel);
        PixelCanvas face(kCanvasWidth, kCanvasHeight, kSentinel);
        drawer.PaintButton(canvas.Dc(), r, state, 0, nullptr);
        RECT faceRect{r.left, r.top + 2, r.right, r.bottom - 2};
        ::DrawFrameControl(face.Dc(), &faceRect, DFC_BUTTON, DFCS_BUTTONPUSH | faces[state]);

        EXPECT_EQ(canvas.ChangedOutside(United(r, glyphRect)), 0);
        int ink = 0, wrong = 0;
        for (int y = 0; y < kCanvasHeight; ++y)
            for (int x = 0; x < kCanvasWidth; ++x) {
                const bool inGlyph = x >= gx && x < gx + kGlyph && y >= gy && y < gy + kGlyph;
                const COLORREF source = inGlyph ? glyph.At(state, x - gx, y - gy) : RGB(255, 255, 255);
                uint32_t expected = face.At(x, y);  // white glyph pixels are keyed out
                if (source == RGB(0, 0, 0)) {
                    expected = RgbOfColorref(kGlyphColor);
                    ++ink;
                } else if (source != RGB(255, 255, 255)) {
                    expected = RgbOfColorref(source);  // the grey of a disabled glyph keeps its colour
                }
                if (canvas.At(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << canvas.At(x, y)
                                  << " instead of " << expected;
            }
        if (state % 4 != kStateDisabled) {
            EXPECT_GT(ink, 20) << "the glyph cell has its ink";
        }
    }
}

// At 200 % a glyph is the 100 % drawing with every pixel doubled, never a
// blurred stretch, and each scale's strips are made once and kept.
TEST(DrawButtonClassic, GlyphAtTwiceTheScaleIsEveryPixelDoubled) {
    const TButtonGlyphs glyphs(kGlyphColor);
    const HBITMAP atDesign = glyphs.Glyph(5, 96);
    const HBITMAP twice = glyphs.Glyph(5, 192);
    ASSERT_EQ(GlyphCellSize(atDesign), kGlyph);
    ASSERT_EQ(GlyphCellSize(twice), 2 * kGlyph);
    EXPECT_EQ(glyphs.Glyph(5, 192), twice);
    for (const int state : {static_cast<int>(kStateNormal), kStatePressed + kInactiveOffset}) {
        SCOPED_TRACE(state);
        PixelCanvas small(kCanvasWidth, kCanvasHeight, kSentinel);
        PixelCanvas large(kCanvasWidth, kCanvasHeight, kSentinel);
        DrawGlyphCell(small.Dc(), atDesign, state, 0, 0);
        DrawGlyphCell(large.Dc(), twice, state, 0, 0);
        EXPECT_EQ(large.ChangedOutside(RECT{0, 0, 2 * kGlyph, 2 * kGlyph}), 0);
        int ink = 0, wrong = 0;
        for (int y = 0; y < 2 * kGlyph; ++y)
            for (int x = 0; x < 2 * kGlyph; ++x) {
                ink += large.At(x, y) == RgbOfColorref(kGlyphColor);
                if (large.At(x, y) != small.At(x / 2, y / 2) && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y;
            }
        EXPECT_GT(ink, 4 * 20);
    }
}

TEST(DrawButtonClassic, SeparatorsAndIndicesOutsideTheRowDrawNothing) {
    const UniqueWindow main = test::CreateMainWindowStandIn(true);
    TExBackDrawer drawer(main.get(), kGlyphColor);
    const int8_t kinds[] = {0, 5};
    drawer.SetButtons(kinds, 2);
    PixelCanvas canvas(kCanvasWidth, kCanvasHeight, kSentinel);
    const RECT r{20, 10, 40, 30};
    drawer.PaintButton(canvas.Dc(), r, kStateNormal, 0, nullptr);
    drawer.PaintButton(canvas.Dc(), r, kStateNormal, 2, nullptr);
    drawer.PaintButton(canvas.Dc(), r, kStateNormal, -1, nullptr);
    EXPECT_EQ(canvas.ChangedInside(RECT{0, 0, kCanvasWidth, kCanvasHeight}), 0);
}

TEST(DrawButtonThemed, FaceOfTheStyleInTheButtonWithTheGlyph) {
    const UniqueWindow main = test::CreateMainWindowStandIn(false);
    TExBackDrawer drawer(main.get(), kGlyphColor);
    ASSERT_TRUE(drawer.Themed()) << "the visual style's button picture could not be read";
    const int8_t kinds[] = {5};
    drawer.SetButtons(kinds, 1);
    const int cy = ::GetSystemMetrics(SM_CYSIZE);
    const int bw = cy - 4;
    const RECT r{20, 6, 20 + bw, 6 + bw};
    const int offset = (cy - 22) / 2;
    const OriginalGlyph glyph(5);
    PixelCanvas normal(kCanvasWidth, kCanvasHeight, kSentinel);
    PixelCanvas pressed(kCanvasWidth, kCanvasHeight, kSentinel);
    drawer.PaintButton(normal.Dc(), r, kStateNormal, 0, main.get());
    drawer.PaintButton(pressed.Dc(), r, kStatePressed, 0, main.get());
    for (const PixelCanvas* canvas : {&normal, &pressed}) {
        EXPECT_EQ(canvas->ChangedOutside(r), 0);
        EXPECT_GT(canvas->ChangedInside(r), bw * bw / 2) << "the face covers the button";
    }
    EXPECT_GT(normal.DifferingFrom(pressed), 0) << "each state has its own face";
    // The ink of the glyph cell lies on the face in the glyph colour.
    int ink = 0;
    for (int y = 0; y < kGlyph; ++y)
        for (int x = 0; x < kGlyph; ++x) {
            const int px = r.left + offset + x, py = r.top + offset + y;
            if (glyph.At(kStateNormal, x, y) != RGB(0, 0, 0) || px < r.left || px >= r.right || py < r.top ||
                py >= r.bottom || normal.At(px, py) == kSentinel)
                continue;
            ++ink;
            EXPECT_EQ(normal.At(px, py), RgbOfColorref(kGlyphColor)) << px << "," << py;
        }
    EXPECT_GT(ink, 20);
}

TEST(DrawPreview, ClassicCaptionPictureWithPushButtonsInTheGivenColour) {
    const UniqueWindow main = test::CreateMainWindowStandIn(true);
    TExBackDrawer drawer(main.get(), kGlyphColor);
    const int8_t kinds[] = {1, 0, 5};
    drawer.SetButtons(kinds, 3);
    const COLORREF previewColor = RGB(10, 160, 20);
    const int width = 300;
    const UniqueBitmap preview = drawer.DrawPreview(width, previewColor);
    BITMAP info{};
    ASSERT_TRUE(::GetObjectW(preview.get(), sizeof info, &info));
    const CaptionMetrics m = SystemCaptionMetrics();
    EXPECT_EQ(info.bmWidth, width);
    EXPECT_EQ(info.bmHeight, m.cySize + 2 * m.cySizeFrame + 1);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    const SelectGuard select(dc.get(), preview.get());
    // The lower, inactive frame of the classic caption picture, stretched.
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), RGB(192, 192, 192));
    EXPECT_EQ(::GetPixel(dc.get(), 40, info.bmHeight / 2), RGB(128, 128, 128));
    for (int i : {0, 2}) {
        const RECT r = drawer.ButtonRectInWindow(i, width);
        ExpectGlyphCentredIn(dc.get(), kinds[i], r, previewColor);
        // Beside the glyph: the push button's face.
        EXPECT_EQ(::GetPixel(dc.get(), r.left + 3, (r.top + r.bottom) / 2), ::GetSysColor(COLOR_BTNFACE));
    }
}

TEST(DrawPreview, ThemedButtonsShowTheirFaceInTheGivenColour) {
    const UniqueWindow main = test::CreateMainWindowStandIn(false);
    TExBackDrawer drawer(main.get(), kGlyphColor);
    ASSERT_TRUE(drawer.Themed());
    const int8_t kinds[] = {5};
    drawer.SetButtons(kinds, 1);
    const COLORREF previewColor = RGB(10, 160, 20);
    const UniqueBitmap preview = drawer.DrawPreview(200, previewColor);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    const SelectGuard select(dc.get(), preview.get());
    const RECT r = drawer.ButtonRectInWindow(0, 200);
    ExpectGlyphCentredIn(dc.get(), 5, r, previewColor);
}

}  // namespace
}  // namespace kz
