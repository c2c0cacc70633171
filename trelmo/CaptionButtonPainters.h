// The painters of the classic and XP caption buttons, shared by every
// toolbar of the process and kept until the library unloads.
#pragma once

#include "../common/Handles.h"
#include "PainterGeometry.h"
#include "SystemApi.h"

#include <windows.h>

namespace kz {

// Glyph strips: bitmap 129 + kind for kinds 1..9, 143 for the overflow button;
// eight frames stacked, 0..3 for an active caption, 4..7 for an inactive one.
constexpr int kFirstGlyphStripId = 130;
constexpr int kOverflowGlyphStripId = 143;
constexpr int kGlyphFramesPerStrip = 8;
constexpr int kGlyphKindSlots = 11;  // index = kind; kind 0 has no strip

// A memory DC that a painter's bitmaps are selected into for copying. A
// bitmap can be selected into one DC at a time and painters are shared by
// the window threads of the process, so the copies take turns.
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
// recoloured once per pair of colours (0 = no recolouring).
class CaptionButtonGlyphPainter {
public:
    // The cached painter for these colours (0x00RRGGBB, see RgbOfColorref),
    // its count raised.
    static CaptionButtonGlyphPainter* Acquire(COLORREF activeColour, COLORREF inactiveColour);
    void Release();
    // state 0 normal, 1 hot, 2 pressed, 3 disabled; inactive captions use frames 4..7.
    virtual void Draw(HWND window, HDC dc, const RECT& rect, int kind, int state, bool activeCaption);
    virtual ~CaptionButtonGlyphPainter();

    int ReferenceCount() const { return references_; }

private:
    struct Strip {
        bool loaded = false;
        UniqueBitmap bitmap;
        int width = 0;
        int height = 0;
        COLORREF transparent = RGB(0xCC, 0xCC, 0xCC);
    };

    CaptionButtonGlyphPainter(COLORREF activeColour, COLORREF inactiveColour);
    bool HasColours(COLORREF activeColour, COLORREF inactiveColour) const;
    Strip& StripOf(int kind, bool activeCaption);

    COLORREF activeColour_;
    COLORREF inactiveColour_;
    int references_ = 1;
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
    bool Matches(bool smallCaption, int width, int height, const wchar_t* colourSchemeName) const;
    void PrepareFrames();
    UniqueRegion ClipRegion(HWND window, HDC dc, const RECT& rect, int state) const;

    static constexpr int kMaxFrames = 8;
    static constexpr int kSchemeNameLength = 256;

    ThemeHandle theme_;
    bool small_;
    int width_;
    int height_;
    wchar_t colourScheme_[kSchemeNameLength] = L"";
    bool roundClip_ = false;
    int references_ = 1;
    int frameCount_ = 0;
    UniqueBitmap frames_[kMaxFrames];
    BlitSource source_;
};

// Frees every painter; at unload only.
void FreePainterCache();

}  // namespace kz
