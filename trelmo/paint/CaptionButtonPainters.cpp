#include "trelmo/paint/CaptionButtonPainters.h"

#include "common/Dib.h"
#include "common/PixelScaling.h"
#include "trelmo/paint/DibTarget.h"
#include "trelmo/hook/GrowableArray.h"
#include "trelmo/hook/LibraryProcess.h"
#include "trelmo/paint/PngButtonPainters.h"
#include "common/Protocol.h"

#include <vssym32.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <optional>

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

CaptionButtonGlyphPainter::CaptionButtonGlyphPainter(COLORREF activeColour, COLORREF inactiveColour, UINT dpi)
    : activeColour_(activeColour & 0xFFFFFF), inactiveColour_(inactiveColour & 0xFFFFFF), dpi_(dpi) {}

CaptionButtonGlyphPainter::~CaptionButtonGlyphPainter() = default;

CaptionButtonGlyphPainter* CaptionButtonGlyphPainter::Acquire(COLORREF activeColour, COLORREF inactiveColour,
                                                              UINT dpi) {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    for (auto& painter : cache.glyphs) {
        if (painter->Matches(activeColour, inactiveColour, dpi)) {
            ++painter->references_;
            return painter.get();
        }
    }
    cache.glyphs.Append(std::unique_ptr<CaptionButtonGlyphPainter>(
        new CaptionButtonGlyphPainter(activeColour, inactiveColour, dpi)));
    return cache.glyphs[cache.glyphs.Count() - 1].get();
}

void CaptionButtonGlyphPainter::Release() { LowerCount(references_); }

bool CaptionButtonGlyphPainter::Matches(COLORREF activeColour, COLORREF inactiveColour, UINT dpi) const {
    return ((activeColour ^ activeColour_) & 0xFFFFFF) == 0 && ((inactiveColour ^ inactiveColour_) & 0xFFFFFF) == 0 &&
           dpi == dpi_;
}

const CaptionButtonGlyphPainter::Strip& CaptionButtonGlyphPainter::StripOf(int kind, bool activeCaption) {
    Lock lock(loading_);
    Strip& strip = strips_[activeCaption ? 1 : 0][kind];
    if (!strip.loaded) {
        strip.loaded = true;  // a strip that fails to load is not tried at every paint
        LoadStrip(strip, kind, activeCaption);
    }
    return strip;
}

void CaptionButtonGlyphPainter::LoadStrip(Strip& strip, int kind, bool activeCaption) const {
    const int id = kind == kOverflow ? kOverflowGlyphStripId : kFirstGlyphStripId + kind - kToTray;
    const UniqueBitmap resource = LoadBitmapResource(Process().Module(), MAKEINTRESOURCEW(id));
    const SIZE size = resource ? BitmapSize(resource.get()) : SIZE{0, 0};
    if (size.cx <= 0 || size.cy <= 0)
        return;

    uint32_t* pixels = nullptr;
    UniqueBitmap copy = CreatePixelBitmap(nullptr, size.cx, size.cy, &pixels);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info = TopDownDibInfo(size.cx, size.cy);
    if (!copy || !dc || ::GetDIBits(dc.get(), resource.get(), 0, size.cy, pixels, &info, DIB_RGB_COLORS) == 0)
        return;
    ::GdiFlush();

    const std::size_t count = static_cast<std::size_t>(size.cx) * size.cy;
    const uint32_t key = pixels[count - 1] & 0xFFFFFF;  // the bottom-right pixel
    const COLORREF colour = activeCaption ? activeColour_ : inactiveColour_;
    if (colour != 0)
        RecolourBlack(pixels, count, GlyphColourBesideKey(colour, key));

    strip.key = key;
    const int frameHeight = size.cy / kGlyphFramesPerStrip;
    const int width = ScaledLength(size.cx, dpi_);
    const int scaledFrameHeight = ScaledLength(frameHeight, dpi_);
    if (width == size.cx && scaledFrameHeight == frameHeight) {
        strip.bitmap = std::move(copy);
        strip.pixels = pixels;
        strip.width = size.cx;
        strip.height = size.cy;
        return;
    }
    const std::vector<uint32_t> scaled = ScaleCellsNearest(PixelImage{pixels, size.cx, size.cy}, 1,
                                                           kGlyphFramesPerStrip, width, scaledFrameHeight);
    uint32_t* scaledPixels = nullptr;
    UniqueBitmap scaledCopy = CreatePixelBitmap(nullptr, width, scaledFrameHeight * kGlyphFramesPerStrip, &scaledPixels);
    if (!scaledCopy || scaled.empty())
        return;
    std::copy(scaled.begin(), scaled.end(), scaledPixels);
    strip.bitmap = std::move(scaledCopy);
    strip.pixels = scaledPixels;
    strip.width = width;
    strip.height = scaledFrameHeight * kGlyphFramesPerStrip;
}

CaptionButtonGlyphPainter::Frame CaptionButtonGlyphPainter::FrameOf(int kind, int frame, bool activeCaption) {
    Frame result{PixelImage{nullptr, 0, 0}, PixelBlit{}, 0};
    if (kind < kToTray || kind > kOverflow)
        return result;
    const Strip& strip = StripOf(kind, activeCaption);
    if (!strip.pixels)
        return result;
    const int frameHeight = strip.height / kGlyphFramesPerStrip;
    result.image = PixelImage{strip.pixels, strip.width, strip.height};
    result.blit = PixelBlit{RECT{0, 0, strip.width, frameHeight}, 0, std::clamp(frame, 0, 7) * frameHeight};
    result.key = strip.key;
    return result;
}

void CaptionButtonGlyphPainter::Draw(HWND, HDC dc, const RECT& rect, int kind, int state, bool activeCaption) {
    if (kind < kToTray || kind > kOverflow)
        return;
    const Strip& strip = StripOf(kind, activeCaption);
    if (!strip.pixels)
        return;
    const int frameHeight = strip.height / kGlyphFramesPerStrip;
    PixelBlit blit = PlaceGlyph(rect, strip.width, frameHeight);
    if (::IsRectEmpty(&blit.target))
        return;
    const int frame = std::clamp(state, 0, 3) + (activeCaption ? 0 : 4);
    blit.sourceY += frame * frameHeight;
    if (const std::optional<DibTarget> target = DibTargetOf(dc))
        CopyPixelsKeyed(target->rows, target->clip, blit, PixelImage{strip.pixels, strip.width, strip.height},
                        strip.key);
    else
        BlitKeyed(dc, blit, strip);
}

void CaptionButtonGlyphPainter::BlitKeyed(HDC dc, const PixelBlit& blit, const Strip& strip) {
    Lock turn(source_.Turn());
    const HDC memory = source_.Dc();
    if (!memory)
        return;
    const int width = blit.target.right - blit.target.left;
    const int height = blit.target.bottom - blit.target.top;
    const SelectGuard select(memory, strip.bitmap.get());
    ::GdiTransparentBlt(dc, blit.target.left, blit.target.top, width, height, memory, blit.sourceX, blit.sourceY,
                        width, height, ColorrefOfRgb(strip.key));
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
        frames_[i] = Frame{std::move(frame), pixels};
        frameCount_ = i + 1;
    }
    ::GdiFlush();  // the frames are read as pixels from now on
}

namespace {

// One byte per pixel of a width x height block at (0, 0): 1 inside region.
std::vector<uint8_t> MaskOfRegion(HRGN region, int width, int height) {
    std::vector<uint8_t> mask(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[static_cast<std::size_t>(y) * width + x] = ::PtInRegion(region, x, y) ? 1 : 0;
    return mask;
}

}  // namespace

// The clip follows the window's tool-window style at each draw; the
// painter's own small-caption flag was read once, when it was made.
const CaptionButtonXPPainter::Shape& CaptionButtonXPPainter::ShapeOf(HWND window, HDC dc, int state) {
    const bool toolWindow = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    state = std::clamp(state, 0, kStates - 1);
    Lock lock(shaping_);
    Shape& shape = shapes_[toolWindow ? 1 : 0][state];
    if (!shape.made) {
        UniqueRegion region = ClipRegion(toolWindow, dc, state);
        shape.mask = region ? MaskOfRegion(region.get(), width_, height_) : std::vector<uint8_t>{};
        shape.region = std::move(region);
        shape.made = true;
    }
    return shape;
}

UniqueRegion CaptionButtonXPPainter::ClipRegion(bool toolWindow, HDC dc, int state) const {
    if (roundClip_)
        return UniqueRegion(::CreateRoundRectRgn(0, 0, width_ + 1, height_ + 1, 2, 2));
    const SystemApi& api = Api();
    const RECT face{0, 0, width_, height_};
    HRGN region = nullptr;
    if (!theme_ || !api.GetThemeBackgroundRegion ||
        FAILED(api.GetThemeBackgroundRegion(theme_.get(), dc, MinimiseButtonPart(toolWindow), state + 1, &face,
                                            &region)))
        return {};
    return UniqueRegion(region);
}

void CaptionButtonXPPainter::Draw(HWND window, HDC dc, const RECT& rect, int state, bool activeCaption) {
    const int index = FaceFrameIndex(state, activeCaption, frameCount_);
    if (index < 0)
        return;
    const Shape& shape = ShapeOf(window, dc, state);
    const Frame& frame = frames_[index];
    const std::optional<DibTarget> target = DibTargetOf(dc);
    if (!target) {
        BlitThroughShape(dc, rect, frame, shape);
        return;
    }
    const PixelBlit blit{RECT{rect.left, rect.top, rect.left + width_, rect.top + height_}, 0, 0};
    const PixelImage face{frame.pixels, width_, height_};
    if (shape.mask.empty())
        CopyPixels(target->rows, target->clip, blit, face);
    else
        CopyPixelsMasked(target->rows, target->clip, blit, face, shape.mask.data());
}

void CaptionButtonXPPainter::BlitThroughShape(HDC dc, const RECT& rect, const Frame& frame, const Shape& shape) {
    Lock turn(source_.Turn());
    const HDC memory = source_.Dc();
    if (!memory)
        return;
    const ClipGuard clipGuard(dc, shape.region.get());
    if (shape.region)
        ::OffsetClipRgn(dc, rect.left, rect.top);
    const SelectGuard select(memory, frame.bitmap.get());
    ::BitBlt(dc, rect.left, rect.top, width_, height_, memory, 0, 0, SRCCOPY);
}

PainterCacheCounts CountPainters() {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    PainterCacheCounts counts;
    counts.glyphPainters = static_cast<int>(cache.glyphs.Count());
    counts.facePainters = static_cast<int>(cache.faces.Count());
    for (const auto& painter : cache.glyphs)
        counts.references += painter->ReferenceCount();
    for (const auto& painter : cache.faces)
        counts.references += painter->ReferenceCount();
    counts.pngPainters = CountPngPainters(&counts.references);
    return counts;
}

void FreePainterCache() {
    Lock lock(Process().PainterCacheLock());
    PainterCache& cache = Cache();
    cache.glyphs.TakeAll();
    cache.faces.TakeAll();
    FreePngPainters();
}

}  // namespace kz
