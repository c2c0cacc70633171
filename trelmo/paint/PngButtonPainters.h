// The painters of the styles drawn with alpha from PNG strips: the glass
// faces, the Office and Skype faces and the glyphs they share. GDI+ decodes
// and scales a strip once per button size; a paint only blends pixels.
#pragma once

#include "common/Handles.h"
#include "trelmo/paint/PixelCopy.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace kz {

// PNG resources (RCDATA) of the library.
constexpr int kAeroFaceImageId = 142;
constexpr int kAeroGlyphImageId = 147;
constexpr int kOfficeBlueFaceImageId = 148;
constexpr int kOfficeBlackFaceImageId = 149;
constexpr int kOfficeSilverFaceImageId = 150;
constexpr int kSkypeFaceImageId = 152;
constexpr int kFaceFramesPerImage = 8;
constexpr int kAeroGlyphCount = 14;

// Button faces: eight frames stacked in one PNG (normal, hot, pressed,
// disabled for an active caption, then for an inactive one), scaled once to
// a button size. Shared per image and size, reference counted, kept until unload.
class PngFacePainter {
public:
    PngFacePainter(const PngFacePainter&) = delete;
    PngFacePainter& operator=(const PngFacePainter&) = delete;

    void Release();
    bool HasSize(int width, int height) const { return width == width_ && height == height_; }
    int ImageId() const { return imageId_; }
    int ReferenceCount() const { return references_; }
    bool Loaded() const { return !frames_.empty(); }

    // Blends the face of a state (0 normal .. 3 disabled) into rect of the
    // target, cut to clip.
    void Draw(const PixelRows& target, const RECT& clip, const RECT& rect, int state, bool activeCaption) const;

private:
    friend struct PngPainterCache;
    // inset: pixels of each frame's border left out when scaling.
    PngFacePainter(int imageId, int inset, int width, int height);

    int imageId_;
    int width_;
    int height_;
    int references_ = 1;
    std::vector<uint32_t> frames_;  // premultiplied, the eight frames stacked at the button size
};

// The glass faces (resource 142): each frame's one-pixel border is left out.
struct CaptionButtonAeroPainter {
    static PngFacePainter* Acquire(int width, int height);
};

// The Office faces of a colour scheme (resources 148 to 150).
struct CaptionButtonOffice2007Painter {
    static PngFacePainter* Acquire(int width, int height, DWORD scheme);
};

// The Skype faces (resource 152).
struct CaptionButtonSkypePainter {
    static PngFacePainter* Acquire(int width, int height);
};

// The face image of an Office colour scheme as Office stores it: 2 silver,
// 3 black, anything else blue.
int OfficeFaceImageId(DWORD scheme);

// Office's colour scheme, read afresh; 1 (blue) when it cannot be read.
DWORD ReadOfficeColourScheme();

// The glyphs of the alpha styles (resource 147): fourteen of 18 x 17 side by
// side at 100 %, scaled pixel for pixel to the scale asked for. One per
// process and scale, shared; the image is loaded at the first draw and tried
// again at the next one if that failed.
class CaptionButtonGlyphPainterAero {
public:
    static CaptionButtonGlyphPainterAero* Acquire(UINT dpi = USER_DEFAULT_SCREEN_DPI);
    void Release();
    int ReferenceCount() const { return references_; }
    UINT Dpi() const { return dpi_; }

    // The glyph of a kind in a state; -1 for none. Pressed (2) roll-up,
    // on-top and transparency buttons and the open transparency menu have
    // glyphs of their own.
    static int GlyphIndex(int kind, int state);

    // Blends the glyph centred in rect, cut to rect and to clip.
    void Draw(const PixelRows& target, const RECT& clip, const RECT& rect, int kind, int state);

private:
    friend struct PngPainterCache;
    explicit CaptionButtonGlyphPainterAero(UINT dpi) : dpi_(dpi) {}
    bool Load();

    UINT dpi_;
    int references_ = 1;
    CriticalSection loading_;
    std::atomic<bool> loaded_{false};
    int glyphWidth_ = 0;
    PixelImage image_{};
    std::vector<uint32_t> pixels_;
};

// Frees the painters of this header; at unload only.
void FreePngPainters();
// Painters kept and references held.
int CountPngPainters(int* references);

}  // namespace kz
