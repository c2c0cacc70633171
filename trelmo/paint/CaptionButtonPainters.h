// The painters of the classic and XP caption buttons, shared by every
// toolbar of the process and kept until the library unloads.
#pragma once

#include "common/Handles.h"
#include "trelmo/paint/PainterGeometry.h"
#include "trelmo/hook/SystemApi.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kz {

// Glyph strips: bitmap 129 + kind for kinds 1..9, 143 for the overflow button;
// eight frames stacked, 0..3 for an active caption, 4..7 for an inactive one.
constexpr int kFirstGlyphStripId = 130;
constexpr int kOverflowGlyphStripId = 143;
constexpr int kGlyphFramesPerStrip = 8;
constexpr int kGlyphKindSlots = 11;  // index = kind; kind 0 has no strip

// A memory DC that a painter's bitmaps are selected into when GDI has to copy
// them (the target is no DIB section). A bitmap can be selected into one DC
// at a time and painters are shared by the window threads of the process, so
// those copies take turns; copies into a DIB section's memory need no DC.
class BlitSource {
public:
    CriticalSection& Turn() { return turn_; }
    // The DC, created on first use; null when the system gave none.
    HDC Dc();

private:
    CriticalSection turn_;
    UniqueMemoryDC dc_;
};

// Draws the glyph of each button kind from the library's glyph strips,
// recoloured once per pair of colours (0 = no recolouring) and scaled once
// per scale, pixel for pixel (the strips are drawn for 96 DPI).
class CaptionButtonGlyphPainter {
public:
    // The cached painter for these colours (0x00RRGGBB, see RgbOfColorref)
    // and this scale, its count raised.
    static CaptionButtonGlyphPainter* Acquire(COLORREF activeColour, COLORREF inactiveColour,
                                             UINT dpi = USER_DEFAULT_SCREEN_DPI);
    void Release();
    UINT Dpi() const { return dpi_; }
    // One frame of a kind's strip as loaded (recoloured and scaled); no pixels
    // when there is none. The key colour, 0x00RRGGBB, marks what is not glyph.
    struct Frame {
        PixelImage image;
        PixelBlit blit;  // the frame at (0, 0) of its own size
        uint32_t key;
    };
    Frame FrameOf(int kind, int frame, bool activeCaption);
    // state 0 normal, 1 hot, 2 pressed, 3 disabled; inactive captions use frames 4..7.
    virtual void Draw(HWND window, HDC dc, const RECT& rect, int kind, int state, bool activeCaption);
    virtual ~CaptionButtonGlyphPainter();

    int ReferenceCount() const { return references_; }

private:
    // A recoloured strip: a 32-bit DIB section, its pixels left unchanged once loaded.
    struct Strip {
        bool loaded = false;
        UniqueBitmap bitmap;
        const uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
        uint32_t key = 0;  // 0x00RRGGBB, the colour left out
    };

    CaptionButtonGlyphPainter(COLORREF activeColour, COLORREF inactiveColour, UINT dpi);
    bool Matches(COLORREF activeColour, COLORREF inactiveColour, UINT dpi) const;
    const Strip& StripOf(int kind, bool activeCaption);
    void LoadStrip(Strip& strip, int kind, bool activeCaption) const;
    void BlitKeyed(HDC dc, const PixelBlit& blit, const Strip& strip);

    COLORREF activeColour_;
    COLORREF inactiveColour_;
    UINT dpi_;
    int references_ = 1;
    CriticalSection loading_;  // strips load on first use, from any window thread
    Strip strips_[2][kGlyphKindSlots];  // [0] inactive, [1] active
    BlitSource source_;
};

// Draws the face of a themed caption button from the theme's minimise-button
// image, stretched once per button size.
class CaptionButtonXPPainter {
public:
    static CaptionButtonXPPainter* Acquire(HWND window, bool smallCaption, int width, int height,
                                           const wchar_t* colourSchemeName);
    void Release();
    bool HasSize(int width, int height) const;
    virtual void Draw(HWND window, HDC dc, const RECT& rect, int state, bool activeCaption);
    virtual ~CaptionButtonXPPainter();

    int ReferenceCount() const { return references_; }
    int FrameCount() const { return frameCount_; }

private:
    CaptionButtonXPPainter(HWND window, bool smallCaption, int width, int height, const wchar_t* colourSchemeName);
    // A face of the painter's size: a 32-bit DIB section, unchanged once prepared.
    struct Frame {
        UniqueBitmap bitmap;
        const uint32_t* pixels = nullptr;
    };
    // The part of a face that shows, at (0, 0): a region for GDI and one byte
    // per pixel for copies; no region and no mask when all of it shows.
    struct Shape {
        bool made = false;
        UniqueRegion region;
        std::vector<uint8_t> mask;
    };

    bool Matches(bool smallCaption, int width, int height, const wchar_t* colourSchemeName) const;
    void PrepareFrames();
    const Shape& ShapeOf(HWND window, HDC dc, int state);
    UniqueRegion ClipRegion(bool toolWindow, HDC dc, int state) const;
    void BlitThroughShape(HDC dc, const RECT& rect, const Frame& frame, const Shape& shape);

    static constexpr int kMaxFrames = 8;
    static constexpr int kSchemeNameLength = 256;
    static constexpr int kStates = 4;

    ThemeHandle theme_;
    bool small_;
    int width_;
    int height_;
    wchar_t colourScheme_[kSchemeNameLength] = L"";
    bool roundClip_ = false;
    int references_ = 1;
    int frameCount_ = 0;
    Frame frames_[kMaxFrames];
    CriticalSection shaping_;  // shapes are made on first use, from any window thread
    Shape shapes_[2][kStates];  // [tool window][state]
    BlitSource source_;
};

// Frees every painter; at unload only.
void FreePainterCache();

// How many painters the process keeps, and how many toolbars hold them.
struct PainterCacheCounts {
    int glyphPainters = 0;
    int facePainters = 0;
    int pngPainters = 0;  // the faces and glyphs drawn from PNG strips
    int references = 0;
};
PainterCacheCounts CountPainters();

}  // namespace kz
