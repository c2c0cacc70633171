#include "trelmo/paint/PainterGeometry.h"

#include <algorithm>
#include <cwctype>

namespace kz {

namespace {

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

void AddStep(std::vector<StretchStep>& steps, const RECT& target, const RECT& source) {
    if (HasArea(target) && HasArea(source))
        steps.push_back({target, source});
}

// Repeats a source strip along one axis in steps of its own length; the last
// piece is cut, never squeezed.
void AddTiles(std::vector<StretchStep>& steps, const RECT& target, const RECT& source, bool downwards) {
    const int step = downwards ? source.bottom - source.top : source.right - source.left;
    if (step <= 0)
        return;
    const int end = downwards ? target.bottom : target.right;
    for (int at = downwards ? target.top : target.left; at < end; at += step) {
        const int length = std::min(step, end - at);
        if (downwards)
            AddStep(steps, Rect(target.left, at, target.right, at + length),
                    Rect(source.left, source.top, source.right, source.top + length));
        else
            AddStep(steps, Rect(at, target.top, at + length, target.bottom),
                    Rect(source.left, source.top, source.left + length, source.bottom));
    }
}

// The nine parts of a rect cut by margins, in drawing order: top-left, left
// edge, top edge, centre, top-right, bottom-left, right edge, bottom edge,
// bottom-right.
struct NineParts {
    RECT part[9];
};

NineParts Cut(const RECT& r, const MARGINS& m) {
    const int l = r.left, t = r.top, ri = r.right, b = r.bottom;
    const int il = l + m.cxLeftWidth, ir = ri - m.cxRightWidth;
    const int it = t + m.cyTopHeight, ib = b - m.cyBottomHeight;
    return {{Rect(l, t, il, it), Rect(l, it, il, ib), Rect(il, t, ir, it), Rect(il, it, ir, ib), Rect(ir, t, ri, it),
             Rect(l, ib, il, b), Rect(ir, it, ri, ib), Rect(il, ib, ir, b), Rect(ir, ib, ri, b)}};
}

enum Part { kTopLeft, kLeft, kTop, kCentre, kTopRight, kBottomLeft, kRight, kBottom, kBottomRight };

}  // namespace

void RecolourBlack(uint32_t* pixels, std::size_t count, uint32_t colour) {
    for (std::size_t i = 0; i < count; ++i)
        if ((pixels[i] & 0xFFFFFF) == 0)
            pixels[i] = colour & 0xFFFFFF;
}

uint32_t GlyphColourBesideKey(uint32_t colour, uint32_t key) {
    colour &= 0xFFFFFF;
    return colour == (key & 0xFFFFFF) ? colour ^ 1 : colour;
}

PixelBlit PlaceGlyph(const RECT& button, int frameWidth, int frameHeight) {
    const int x = button.left + (button.right - button.left - frameWidth) / 2;
    const int y = button.top + (button.bottom - button.top - frameHeight) / 2;
    PixelBlit blit{};
    blit.target = Rect(std::max<int>(x, button.left), std::max<int>(y, button.top),
                       std::min<int>(x + frameWidth, button.right), std::min<int>(y + frameHeight, button.bottom));
    if (!HasArea(blit.target))
        blit.target = Rect(0, 0, 0, 0);
    blit.sourceX = blit.target.left - x;
    blit.sourceY = blit.target.top - y;
    return blit;
}

int FaceFrameIndex(int state, bool activeCaption, int frameCount) {
    const int wanted = std::clamp(state, 0, 3) + (activeCaption ? 0 : 4);
    if (wanted < frameCount)
        return wanted;
    if (wanted - 4 >= 0 && wanted - 4 < frameCount)
        return wanted - 4;
    return frameCount > 0 ? 0 : -1;
}

RECT FaceFrameSource(int imageWidth, int imageHeight, int count, bool sideBySide, int index) {
    if (count <= 0)
        return Rect(0, 0, 0, 0);
    if (sideBySide) {
        const int w = imageWidth / count;
        return Rect(index * w, 0, index * w + w, imageHeight);
    }
    const int h = imageHeight / count;
    return Rect(0, index * h, imageWidth, index * h + h);
}

std::vector<StretchStep> FaceSteps(int sizingType, const RECT& source, int width, int height,
                                   const MARGINS& margins) {
    std::vector<StretchStep> steps;
    if (sizingType == kSizingTrueSize) {
        const int w = source.right - source.left, h = source.bottom - source.top;
        const int x = (width - w) / 2, y = (height - h) / 2;
        AddStep(steps, Rect(x, y, x + w, y + h), source);
        return steps;
    }
    const NineParts from = Cut(source, margins);
    const NineParts to = Cut(Rect(0, 0, width, height), margins);
    if (sizingType == kSizingTile) {
        for (Part corner : {kTopLeft, kTopRight, kBottomLeft, kBottomRight})
            AddStep(steps, to.part[corner], from.part[corner]);
        AddTiles(steps, to.part[kLeft], from.part[kLeft], true);
        AddTiles(steps, to.part[kRight], from.part[kRight], true);
        AddTiles(steps, to.part[kTop], from.part[kTop], false);
        AddTiles(steps, to.part[kBottom], from.part[kBottom], false);
        AddStep(steps, to.part[kCentre], from.part[kCentre]);
        return steps;
    }
    for (int part = kTopLeft; part <= kBottomRight; ++part)
        AddStep(steps, to.part[part], from.part[part]);
    return steps;
}

std::wstring ThemeImageResourceName(const wchar_t* imagePath) {
    std::wstring name(imagePath ? imagePath : L"");
    for (wchar_t& c : name)
        c = (c == L'.' || c == L'\\') ? L'_' : static_cast<wchar_t>(std::towupper(c));
    return name;
}

}  // namespace kz
