#include "CaptionButtonPainters.h"

#include "../common/Dib.h"
#include "GrowableArray.h"
#include "LibraryProcess.h"
#include "Protocol.h"

#include <vssym32.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>

namespace kz {

namespace {

constexpr int kThemeStateNormal = 1;

// Small captions take the theme's smaller minimise button, the MDI child's.
int MinimiseButtonPart(bool smallCaption) { return smallCaption ? WP_MDIMINBUTTON : WP_MINBUTTON; }

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

UniqueBitmap LoadBitmapResource(HMODULE module, const wchar_t* name) {
    return UniqueBitmap(
        static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// Puts the DC's clip region back as it was when the guard was made.
class ClipGuard {
public:
    ClipGuard(HDC dc, HRGN clip) : dc_(dc), saved_(::CreateRectRgn(0, 0, 0, 0)) {
        hadClip_ = saved_ && ::GetClipRgn(dc_, saved_.get()) == 1;
        if (clip)
            ::SelectClipRgn(dc_, clip);
    }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;
    ~ClipGuard() { ::SelectClipRgn(dc_, hadClip_ ? saved_.get() : nullptr); }

private:
    HDC dc_;
    UniqueRegion saved_;
    bool hadClip_ = false;
};

// Every painter of the process. It lives until unload and is then emptied,
// never destroyed: when the process ends, the painters end with it.
struct PainterCache {
    GrowableArray<std::unique_ptr<CaptionButtonGlyphPainter>> glyphs{0};
    GrowableArray<std::unique_ptr<CaptionButtonXPPainter>> faces{0};
};

PainterCache& Cache() {
    static PainterCache* cache = new PainterCache;
    return *cache;
}

// Painters stay cached until unload; the count only says how many toolbars hold one.
void LowerCount(int& references) {
    Lock lock(Process().PainterCacheLock());
    if (references > 0)
        --references;
}

}  // namespace

HDC BlitSource::Dc() {
    if (!dc_)
        dc_.reset(::CreateCompatibleDC(nullptr));
    return dc_.get();
}

// ---- glyph painter -------------------------------------------------------

CaptionButtonGlyphPainter::CaptionButtonGlyphPainter(COLORREF activeColour, COLORREF inactiveColour)
    : activeColour_(activeColour & 0xFFFFFF), inactiveColour_(inactiveColour & 0xFFFFFF) {}

CaptionButtonGlyphPainter::~CaptionButtonGlyphPainter() = default;

CaptionButtonGlyphPainter* CaptionButtonGlyphPainter::Acquire(COLORREF activeColour, COLORREF inactiveColour) {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    for (auto& painter : cache.glyphs) {
        if (painter->HasColours(activeColour, inactiveColour)) {
            ++painter->references_;
            return painter.get();
        }
    }
    cache.glyphs.Append(std::unique_ptr<CaptionButtonGlyphPainter>(
        new CaptionButtonGlyphPainter(activeColour, inactiveColour)));
    return cache.glyphs[cache.glyphs.Count() - 1].get();
}

void CaptionButtonGlyphPainter::Release() { LowerCount(references_); }

bool CaptionButtonGlyphPainter::HasColours(COLORREF activeColour, COLORREF inactiveColour) const {
    return ((activeColour ^ activeColour_) & 0xFFFFFF) == 0 && ((inactiveColour ^ inactiveColour_) & 0xFFFFFF) == 0;
}

CaptionButtonGlyphPainter::Strip& CaptionButtonGlyphPainter::StripOf(int kind, bool activeCaption) {
    Strip& strip = strips_[activeCaption ? 1 : 0][kind];
    if (strip.loaded)
        return strip;
    strip.loaded = true;  // a strip that fails to load is not tried at every paint

    const int id = kind == kOverflow ? kOverflowGlyphStripId : kFirstGlyphStripId + kind - kToTray;
    const UniqueBitmap resource = LoadBitmapResource(Process().Module(), MAKEINTRESOURCEW(id));
    const SIZE size = resource ? BitmapSize(resource.get()) : SIZE{0, 0};
    if (size.cx <= 0 || size.cy <= 0)
        return strip;

    uint32_t* pixels = nullptr;
    UniqueBitmap copy = CreatePixelBitmap(nullptr, size.cx, size.cy, &pixels);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info = TopDownDibInfo(size.cx, size.cy);
    if (!copy || !dc || ::GetDIBits(dc.get(), resource.get(), 0, size.cy, pixels, &info, DIB_RGB_COLORS) == 0)
        return strip;
    ::GdiFlush();

    const std::size_t count = static_cast<std::size_t>(size.cx) * size.cy;
    const uint32_t key = pixels[count - 1] & 0xFFFFFF;  // the bottom-right pixel
    const COLORREF colour = activeCaption ? activeColour_ : inactiveColour_;
    if (colour != 0)
        RecolourBlack(pixels, count, GlyphColourBesideKey(colour, key));

    strip.bitmap = std::move(copy);
    strip.width = size.cx;
    strip.height = size.cy;
    strip.transparent = ColorrefOfRgb(key);
    return strip;
}

void CaptionButtonGlyphPainter::Draw(HWND, HDC dc, const RECT& rect, int kind, int state, bool activeCaption) {
    if (kind < kToTray || kind > kOverflow)
        return;
    Lock turn(source_.Turn());
    const Strip& strip = StripOf(kind, activeCaption);
    const HDC memory = source_.Dc();
    if (!strip.bitmap || !memory)
        return;
    const int frameHeight = strip.height / kGlyphFramesPerStrip;
    const GlyphBlit blit = PlaceGlyph(rect, strip.width, frameHeight);
    const int width = blit.target.right - blit.target.left;
    const int height = blit.target.bottom - blit.target.top;
    if (width <= 0 || height <= 0)
        return;
    const int frame = std::clamp(state, 0, 3) + (activeCaption ? 0 : 4);
    const SelectGuard select(memory, strip.bitmap.get());
    ::GdiTransparentBlt(dc, blit.target.left, blit.target.top, width, height, memory, blit.sourceX,
                        frame * frameHeight + blit.sourceY, width, height, strip.transparent);
}

// ---- XP face painter -----------------------------------------------------

CaptionButtonXPPainter::CaptionButtonXPPainter(HWND window, bool smallCaption, int width, int height,
                                               const wchar_t* colourSchemeName)
    : theme_(window, L"WINDOW"), small_(smallCaption), width_(width), height_(height) {
    if (colourSchemeName)
        std::wcsncpy(colourScheme_, colourSchemeName, kSchemeNameLength - 1);
    // On that scheme the theme's own button region cuts off too much.
    roundClip_ = std::wcscmp(colourScheme_, L"NormalColor") == 0;
    PrepareFrames();
}

CaptionButtonXPPainter::~CaptionButtonXPPainter() = default;

CaptionButtonXPPainter* CaptionButtonXPPainter::Acquire(HWND window, bool smallCaption, int width, int height,
                                                        const wchar_t* colourSchemeName) {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    for (auto& painter : cache.faces) {
        if (painter->Matches(smallCaption, width, height, colourSchemeName)) {
            ++painter->references_;
            return painter.get();
        }
    }
    cache.faces.Append(std::unique_ptr<CaptionButtonXPPainter>(
        new CaptionButtonXPPainter(window, smallCaption, width, height, colourSchemeName)));
    return cache.faces[cache.faces.Count() - 1].get();
}

void CaptionButtonXPPainter::Release() { LowerCount(references_); }

bool CaptionButtonXPPainter::HasSize(int width, int height) const { return width == width_ && height == height_; }

bool CaptionButtonXPPainter::Matches(bool smallCaption, int width, int height,
                                     const wchar_t* colourSchemeName) const {
    return smallCaption == small_ && HasSize(width, height) &&
           std::wcsncmp(colourSchemeName ? colourSchemeName : L"", colourScheme_, kSchemeNameLength - 1) == 0;
}

namespace {

// The minimise button's image: from the theme, or else straight from the
// theme file, where it is kept under a name made from its path.
UniqueBitmap LoadFaceImage(HTHEME theme, int part) {
    const SystemApi& api = Api();
    HBITMAP image = nullptr;
    if (api.GetThemeBitmap &&
        SUCCEEDED(api.GetThemeBitmap(theme, part, kThemeStateNormal, TMT_DIBDATA, GBF_COPY, &image)) && image)
        return UniqueBitmap(image);

    wchar_t imagePath[MAX_PATH] = L"";
    wchar_t themeFile[MAX_PATH] = L"";
    if (!api.GetThemeFilename || !api.GetCurrentThemeName ||
        FAILED(api.GetThemeFilename(theme, part, kThemeStateNormal, TMT_IMAGEFILE, imagePath, MAX_PATH)) ||
        FAILED(api.GetCurrentThemeName(themeFile, MAX_PATH, nullptr, 0, nullptr, 0)))
        return {};
    const UniqueModule file(::LoadLibraryExW(themeFile, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!file)
        return {};
    return LoadBitmapResource(file.get(), ThemeImageResourceName(imagePath).c_str());
}

int ThemeValue(HRESULT(WINAPI* read)(HTHEME, int, int, int, int*), HTHEME theme, int part, int state, int property,
               int fallback) {
    int value = fallback;
    if (!read || FAILED(read(theme, part, state, property, &value)))
        return fallback;
    return value;
}

}  // namespace

void CaptionButtonXPPainter::PrepareFrames() {
    if (!theme_ || width_ <= 0 || height_ <= 0)
        return;
    const SystemApi& api = Api();
    const int part = MinimiseButtonPart(small_);
    const UniqueBitmap image = LoadFaceImage(theme_.get(), part);
    const SIZE imageSize = image ? BitmapSize(image.get()) : SIZE{0, 0};
    if (imageSize.cx <= 0 || imageSize.cy <= 0)
        return;

    int count = ThemeValue(api.GetThemeInt, theme_.get(), part, kThemeStateNormal, TMT_IMAGECOUNT, kMaxFrames);
    if (count <= 0 || count > kMaxFrames)
        count = kMaxFrames;
    const bool sideBySide =
        ThemeValue(api.GetThemeEnumValue, theme_.get(), part, kThemeStateNormal, TMT_IMAGELAYOUT, 0) == 1;

    const UniqueMemoryDC imageDc(::CreateCompatibleDC(nullptr));
    const UniqueMemoryDC faceDc(::CreateCompatibleDC(nullptr));
    if (!imageDc || !faceDc)
        return;
    const SelectGuard selectImage(imageDc.get(), image.get());
    const COLORREF corner = ::GetPixel(imageDc.get(), imageSize.cx - 1, imageSize.cy - 1);
    ::SetStretchBltMode(faceDc.get(), COLORONCOLOR);

    for (int i = 0; i < count; ++i) {
        const int themeState = i < 4 ? i + 1 : i - 3;
        const int sizing = ThemeValue(api.GetThemeEnumValue, theme_.get(), part, themeState, TMT_SIZINGTYPE, 0);
        MARGINS margins{};
        if (!api.GetThemeMargins ||
            FAILED(api.GetThemeMargins(theme_.get(), nullptr, part, themeState, TMT_SIZINGMARGINS, nullptr,
                                       &margins)))
            margins = MARGINS{};
        const RECT source = FaceFrameSource(imageSize.cx, imageSize.cy, count, sideBySide, i);

        uint32_t* pixels = nullptr;
        UniqueBitmap frame = CreatePixelBitmap(nullptr, width_, height_, &pixels);
        if (!frame)
            return;
        {
            const SelectGuard selectFrame(faceDc.get(), frame.get());
            if (sizing == kSizingTrueSize) {
                const UniqueBrush background(::CreateSolidBrush(corner));
                const RECT all{0, 0, width_, height_};
                ::FillRect(faceDc.get(), &all, background.get());
            }
            for (const StretchStep& step : FaceSteps(sizing, source, width_, height_, margins))
                ::StretchBlt(faceDc.get(), step.target.left, step.target.top, step.target.right - step.target.left,
                             step.target.bottom - step.target.top, imageDc.get(), step.source.left, step.source.top,
                             step.source.right - step.source.left, step.source.bottom - step.source.top, SRCCOPY);
        }
        frames_[i] = std::move(frame);
        frameCount_ = i + 1;
    }
}

UniqueRegion CaptionButtonXPPainter::ClipRegion(HWND window, HDC dc, const RECT& rect, int state) const {
    if (roundClip_)
        return UniqueRegion(::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, 2, 2));
    const SystemApi& api = Api();
    const bool toolWindow = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    HRGN region = nullptr;
    if (!theme_ || !api.GetThemeBackgroundRegion ||
        FAILED(api.GetThemeBackgroundRegion(theme_.get(), dc, MinimiseButtonPart(toolWindow),
                                            std::clamp(state, 0, 3) + 1, &rect, &region)))
        return {};
    return UniqueRegion(region);
}

void CaptionButtonXPPainter::Draw(HWND window, HDC dc, const RECT& rect, int state, bool activeCaption) {
    const int index = FaceFrameIndex(state, activeCaption, frameCount_);
    if (index < 0)
        return;
    Lock turn(source_.Turn());
    const HDC memory = source_.Dc();
    if (!memory)
        return;
    const UniqueRegion clip = ClipRegion(window, dc, rect, state);
    const ClipGuard clipGuard(dc, clip.get());
    const SelectGuard select(memory, frames_[index].get());
    ::BitBlt(dc, rect.left, rect.top, width_, height_, memory, 0, 0, SRCCOPY);
}

void FreePainterCache() {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    cache.glyphs.TakeAll();
    cache.faces.TakeAll();
}

}  // namespace kz
