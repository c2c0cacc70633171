#include "trelmo/toolbar/CaptionToolBarSkype.h"

#include "trelmo/paint/DibTarget.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/paint/PngButtonPainters.h"

namespace kz {

GlyphColours SkypeGlyphColours(const LibrarySettings& settings) {
    const COLORREF colour = settings.GlyphColorAutodetect ? 0 : 0x616161;
    return {colour, colour};
}

CaptionToolBarSkype::CaptionToolBarSkype(HookedWindow& record)
    : CaptionToolBarXP(record, SkypeGlyphColours(record.Settings())) {
    Start();
}

CaptionToolBarSkype::~CaptionToolBarSkype() {
    if (faces_)
        faces_->Release();
}

RowGeometry CaptionToolBarSkype::Metrics() {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const int width = window.right - window.left;
    const int right = width - 120;
    return RowGeometry{{LeftOfCaptionText(50, right, width - 170), 0, right, 18}, 24, 12, 0};
}

void CaptionToolBarSkype::DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked,
                                     bool activeCaption) {
    FitFaces(faces_, rect, CaptionButtonSkypePainter::Acquire);
    // The toolbar composes its buttons in a bitmap of its own, which the faces blend into.
    if (const std::optional<DibTarget> target = DibTargetOf(dc))
        faces_->Draw(target->rows, target->clip, rect, state, activeCaption);
    DrawGlyph(dc, kind, rect, state, checked, activeCaption);
}

}  // namespace kz
