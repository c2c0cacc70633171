#include "trelmo/paint/CaptionButtonPainters.h"
#include "tests/support/LibraryInProcess.h"
#include "tests/support/TestWindows.h"
#include "tests/support/PixelCanvas.h"

#include <gtest/gtest.h>

namespace kz::test {
namespace {

constexpr uint32_t kBackground = 0x0AC81E;

class XPPainter : public ::testing::Test {
protected:
    ~XPPainter() override { ::DestroyWindow(window); }

    LibraryInProcess library;
    HWND window = CreateTestWindow();
};

TEST_F(XPPainter, OnePainterPerSizeCaptionAndScheme) {
    CaptionButtonXPPainter* first = CaptionButtonXPPainter::Acquire(window, false, 21, 19, L"NormalColor");
    EXPECT_EQ(CaptionButtonXPPainter::Acquire(window, false, 21, 19, L"NormalColor"), first);
    EXPECT_EQ(first->ReferenceCount(), 2);
    EXPECT_TRUE(first->HasSize(21, 19));
    EXPECT_FALSE(first->HasSize(19, 21));

    EXPECT_NE(CaptionButtonXPPainter::Acquire(window, false, 22, 19, L"NormalColor"), first);
    EXPECT_NE(CaptionButtonXPPainter::Acquire(window, false, 21, 18, L"NormalColor"), first);
    EXPECT_NE(CaptionButtonXPPainter::Acquire(window, true, 21, 19, L"NormalColor"), first);
    EXPECT_NE(CaptionButtonXPPainter::Acquire(window, false, 21, 19, L"Metallic"), first);

    first->Release();
    EXPECT_EQ(first->ReferenceCount(), 1);
}

TEST_F(XPPainter, DrawsTheFaceInsideTheButtonOnly) {
    const RECT button{10, 10, 31, 29};
    for (const wchar_t* scheme : {L"", L"NormalColor"}) {
        CaptionButtonXPPainter* painter = CaptionButtonXPPainter::Acquire(window, false, 21, 19, scheme);
        ASSERT_GT(painter->FrameCount(), 0) << "the theme's minimise button image was not found";
        PixelCanvas canvas(40, 40, kBackground);
        for (int state = 0; state < 4; ++state)
            for (bool active : {true, false})
                painter->Draw(window, canvas.Dc(), button, state, active);
        EXPECT_GT(canvas.ChangedInside(button), 21 * 19 / 2) << scheme;
        EXPECT_EQ(canvas.ChangedOutside(button), 0) << scheme;
    }
}

// The face is copied through its shape into memory DIBs and drawn by GDI
// through a clip region elsewhere: both must give the same pixels.
TEST_F(XPPainter, EveryKindOfTargetGetsTheSamePixels) {
    const RECT button{10, 10, 31, 29};
    for (const wchar_t* scheme : {L"", L"NormalColor"}) {
        CaptionButtonXPPainter* painter = CaptionButtonXPPainter::Acquire(window, false, 21, 19, scheme);
        ASSERT_GT(painter->FrameCount(), 0);
        PixelCanvas canvas(40, 40, kBackground);
        PixelCanvas bottomUp(40, 40, kBackground, CanvasBitmap::BottomUpDib);
        PixelCanvas byGdi(40, 40, kBackground, CanvasBitmap::DeviceBitmap);
        for (int state = 0; state < 4; ++state)
            for (bool active : {true, false}) {
                for (PixelCanvas* target : {&canvas, &bottomUp, &byGdi}) {
                    target->Clear();
                    painter->Draw(window, target->Dc(), button, state, active);
                }
                EXPECT_GT(canvas.ChangedInside(button), 21 * 19 / 2);
                EXPECT_EQ(canvas.DifferingFrom(bottomUp), 0) << "state " << state;
                EXPECT_EQ(canvas.DifferingFrom(byGdi), 0) << "state " << state;
            }
    }
}

}  // namespace
}  // namespace kz::test
