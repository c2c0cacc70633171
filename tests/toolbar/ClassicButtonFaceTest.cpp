#include "trelmo/paint/ClassicButtonFace.h"
#include "tests/support/PixelCanvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kz::test {
namespace {

constexpr int kSide = 40;
constexpr uint32_t kBackground = 0x0AC81E;

std::vector<uint32_t> AsTheSystemDraws(const RECT& rect, UINT face) {
    PixelCanvas canvas(kSide, kSide, kBackground);
    RECT drawn = rect;
    ::DrawFrameControl(canvas.Dc(), &drawn, DFC_BUTTON, face);
    return canvas.Pixels();
}

const UINT kFaces[] = {DFCS_BUTTONPUSH | DFCS_HOT, DFCS_BUTTONPUSH | DFCS_PUSHED, DFCS_BUTTONPUSH | DFCS_INACTIVE};

TEST(ClassicButtonFace, CopiesArePixelForPixelWhatTheSystemDraws) {
    ClassicButtonFace faces;
    for (const RECT& rect : {RECT{5, 7, 21, 21}, RECT{20, 3, 36, 17}, RECT{4, 10, 24, 28}})
        for (UINT face : kFaces)
            for (int time = 0; time < 2; ++time) {  // drawn the first time, copied the second
                PixelCanvas canvas(kSide, kSide, kBackground);
                faces.Draw(canvas.Dc(), rect, face);
                EXPECT_EQ(canvas.Pixels(), AsTheSystemDraws(rect, face))
                    << "face " << face << " at " << rect.left << "," << rect.top << " time " << time;
            }
}

TEST(ClassicButtonFace, FacesOverTheEdgeOrOutsideTheClipAreCut) {
    ClassicButtonFace faces;
    for (const RECT& rect : {RECT{-6, -4, 10, 10}, RECT{30, 32, 46, 46}}) {
        PixelCanvas canvas(kSide, kSide, kBackground);
        faces.Draw(canvas.Dc(), rect, kFaces[1]);
        EXPECT_EQ(canvas.Pixels(), AsTheSystemDraws(rect, kFaces[1])) << rect.left << "," << rect.top;
    }
    const RECT rect{5, 5, 21, 19};
    PixelCanvas clipped(kSide, kSide, kBackground);
    PixelCanvas expected(kSide, kSide, kBackground);
    for (PixelCanvas* canvas : {&clipped, &expected})
        ::IntersectClipRect(canvas->Dc(), 8, 0, 14, kSide);
    faces.Draw(clipped.Dc(), rect, kFaces[0]);
    RECT drawn = rect;
    ::DrawFrameControl(expected.Dc(), &drawn, DFC_BUTTON, kFaces[0]);
    EXPECT_EQ(clipped.Pixels(), expected.Pixels());
}

}  // namespace
}  // namespace kz::test
