#include "trelmo/paint/ClassicButtonFace.h"

#include "common/Dib.h"
#include "trelmo/paint/DibTarget.h"

#include <algorithm>
#include <optional>

namespace kz {

namespace {

// The system colours a push-button face is drawn in.
constexpr int kFaceColours[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT};

// The face drawn over a background of one colour; empty on failure.
std::vector<uint32_t> FaceOver(uint32_t background, int width, int height, UINT face) {
    uint32_t* pixels = nullptr;
    const UniqueBitmap bitmap = CreatePixelBitmap(nullptr, width, height, &pixels);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc)
        return {};
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::fill_n(pixels, count, background);
    {
        const SelectGuard select(dc.get(), bitmap.get());
        RECT rect{0, 0, width, height};
        ::DrawFrameControl(dc.get(), &rect, DFC_BUTTON, face);
        ::GdiFlush();
    }
    return std::vector<uint32_t>(pixels, pixels + count);
}

}  // namespace

bool ClassicButtonFace::Key::operator==(const Key& other) const {
    return width == other.width && height == other.height && face == other.face &&
           std::equal(colours, colours + kColours, other.colours);
}

ClassicButtonFace::Key ClassicButtonFace::KeyOf(const RECT& rect, UINT face) {
    Key key;
    key.width = rect.right - rect.left;
    key.height = rect.bottom - rect.top;
    key.face = face;
    for (int i = 0; i < kColours; ++i)
        key.colours[i] = ::GetSysColor(kFaceColours[i]);
    return key;
}

// A face that leaves any pixel of its rect as it was shows in two unlike
// backgrounds as two unlike images, and is not kept.
const ClassicButtonFace::Face& ClassicButtonFace::FaceOf(const Key& key) {
    for (const Face& face : faces_)
        if (face.key == key)
            return face;
    if (faces_.size() >= kMaxFaces)
        faces_.clear();  // sizes or colours changed: the old faces are of no more use
    std::vector<uint32_t> pixels = FaceOver(0x000000, key.width, key.height, key.face);
    if (pixels != FaceOver(0xFFFFFF, key.width, key.height, key.face))
        pixels.clear();
    faces_.push_back(Face{key, std::move(pixels)});
    return faces_.back();
}

void ClassicButtonFace::Draw(HDC dc, const RECT& rect, UINT face) {
    if (rect.right > rect.left && rect.bottom > rect.top) {
        const Face& drawn = FaceOf(KeyOf(rect, face));
        if (!drawn.pixels.empty())
            if (const std::optional<DibTarget> target = DibTargetOf(dc)) {
                CopyPixels(target->rows, target->clip, PixelBlit{rect, 0, 0},
                           PixelImage{drawn.pixels.data(), drawn.key.width, drawn.key.height});
                return;
            }
    }
    RECT faceRect = rect;
    ::DrawFrameControl(dc, &faceRect, DFC_BUTTON, face);
}

}  // namespace kz
