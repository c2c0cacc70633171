#include "common/Dib.h"
#include "trelmo/paint/ClassicButtonFace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kz::test {
namespace {

constexpr int kSide = 40;
constexpr uint32_t kBackground = 0x0AC81E;

// A memory DC over a top-down DIB of the background colour.
struct Canvas {
    Canvas() : dc(::CreateCompatibleDC(nullptr)) {
        bitmap = CreatePixelBitmap(nullptr, kSide, kSide, &pixels);
        previous = ::SelectObject(dc.get(), bitmap.get());
        std::fill_n(pixels, kSide * kSide, kBackground);
    }
    ~Canvas() { ::SelectObject(dc.get(), previous); }
    std::vector<uint32_t> Pixels() const {
        ::GdiFlush();
        std::vector<uint32_t> copy(pixels, pixels + kSide * kSide);
        for (uint32_t& p : copy)
            p &= 0xFFFFFF;
        return copy;
    }
    UniqueMemoryDC dc;
    UniqueBitmap bitmap;
    uint32_t* pixels = nullptr;
    HGDIOBJ previous = nullptr;
};

std::vector<uint32_t> AsTheSystemDraws(const RECT& rect, UINT face) {
    Canvas canvas;
    RECT drawn = rect;
    ::DrawFrameControl(canvas.dc.get(), &drawn, DFC_BUTTON, face);
    return canvas.Pixels();
}

const UINT kFaces[] = {DFCS_BUTTONPUSH | DFCS_HOT, DFCS_BUTTONPUSH | DFCS_PUSHED, DFCS_BUTTONPUSH | DFCS_INACTIVE};

TEST(ClassicButtonFace, CopiesArePixelForPixelWhatTheSystemDraws) {
    ClassicButtonFace faces;
    for (const RECT& rect : {RECT{5, 7, 21, 21}, RECT{20, 3, 36, 17}, RECT{4, 10, 24, 28}})
        for (UINT face : kFaces)
            for (int time = 0; time < 2; ++time) {  // drawn the first time, copied the second
                Canvas canvas;
                faces.Draw(canvas.dc.get(), rect, face);
                EXPECT_EQ(canvas.Pixels(), AsTheSystemDraws(rect, face))
                    << "face " << face << " at " << rect.left << "," << rect.top << " time " << time;
            }
}

TEST(ClassicButtonFace, FacesOverTheEdgeOrOutsideTheClipAreCut) {
    ClassicButtonFace faces;
    for (const RECT& rect : {RECT{-6, -4, 10, 10}, RECT{30, 32, 46, 46}}) {
        Canvas canvas;
        faces.Draw(canvas.dc.get(), rect, kFaces[1]);
        EXPECT_EQ(canvas.Pixels(), AsTheSystemDraws(rect, kFaces[1])) << rect.left << "," << rect.top;
    }
    const RECT rect{5, 5, 21, 19};
    Canvas clipped;
    Canvas expected;
    for (Canvas* canvas : {&clipped, &expected})
        ::IntersectClipRect(canvas->dc.get(), 8, 0, 14, kSide);
    faces.Draw(clipped.dc.get(), rect, kFaces[0]);
    RECT drawn = rect;
    ::DrawFrameControl(expected.dc.get(), &drawn, DFC_BUTTON, kFaces[0]);
    EXPECT_EQ(clipped.Pixels(), expected.Pixels());
}

}  // namespace
}  // namespace kz::test
