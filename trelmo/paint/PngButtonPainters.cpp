#include "trelmo/paint/PngButtonPainters.h"

#include "trelmo/paint/GdiPlus.h"
#include "trelmo/hook/GrowableArray.h"
#include "trelmo/hook/LibraryProcess.h"
#include "trelmo/paint/PainterGeometry.h"
#include "common/PixelScaling.h"
#include "common/Protocol.h"

#include <algorithm>
#include <memory>

namespace kz {

// Every PNG painter of the process; emptied at unload, never destroyed.
struct PngPainterCache {
    GrowableArray<std::unique_ptr<PngFacePainter>> faces{0};
    GrowableArray<std::unique_ptr<CaptionButtonGlyphPainterAero>> glyphs{0};

    static PngPainterCache& Get() {
        static PngPainterCache* cache = new PngPainterCache;
        return *cache;
    }

    static PngFacePainter* AcquireFace(int imageId, int inset, int width, int height) {
        Lock lock(Process().PainterCacheLock());
        PngPainterCache& cache = Get();
        for (auto& painter : cache.faces) {
            if (painter->imageId_ == imageId && painter->HasSize(width, height)) {
                ++painter->references_;
                return painter.get();
            }
        }
        cache.faces.Append(std::unique_ptr<PngFacePainter>(new PngFacePainter(imageId, inset, width, height)));
        return cache.faces[cache.faces.Count() - 1].get();
    }

    static CaptionButtonGlyphPainterAero* AcquireGlyphs(UINT dpi) {
        Lock lock(Process().PainterCacheLock());
        PngPainterCache& cache = Get();
        for (auto& painter : cache.glyphs) {
            if (painter->dpi_ == dpi) {
                ++painter->references_;
                return painter.get();
            }
        }
        cache.glyphs.Append(std::unique_ptr<CaptionButtonGlyphPainterAero>(new CaptionButtonGlyphPainterAero(dpi)));
        return cache.glyphs[cache.glyphs.Count() - 1].get();
    }
};

namespace {

void LowerCount(int& references) {
    Lock lock(Process().PainterCacheLock());
    if (references > 0)
        --references;
}

}  // namespace

PngFacePainter::PngFacePainter(int imageId, int inset, int width, int height)
    : imageId_(imageId), width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        return;
    const CGdiPlusBitmapResource image(Process().Module(), imageId);
    const int frameHeight = image.Height() / kFaceFramesPerImage;
    if (!image || frameHeight <= 2 * inset || image.Width() <= 2 * inset)
        return;
    const std::size_t frameSize = static_cast<std::size_t>(width) * height;
    std::vector<uint32_t> frames(frameSize * kFaceFramesPerImage);
    for (int frame = 0; frame < kFaceFramesPerImage; ++frame) {
        const RECT source{inset, frame * frameHeight + inset, image.Width() - inset,
                          (frame + 1) * frameHeight - inset};
        if (!image.RenderPremultiplied(source, width, height, frames.data() + frame * frameSize))
            return;
    }
    frames_ = std::move(frames);
}

void PngFacePainter::Release() { LowerCount(references_); }

void PngFacePainter::Draw(const PixelRows& target, const RECT& clip, const RECT& rect, int state,
                          bool activeCaption) const {
    const int frame = FaceFrameIndex(std::clamp(state, 0, 3), activeCaption, kFaceFramesPerImage);
    if (frames_.empty() || frame < 0)
        return;
    RECT cut{};
    ::IntersectRect(&cut, &rect, &clip);
    const PixelBlit blit{RECT{rect.left, rect.top, rect.left + width_, rect.top + height_}, 0, frame * height_};
    BlendPixelsOver(target, cut, blit, PixelImage{frames_.data(), width_, height_ * kFaceFramesPerImage});
}

PngFacePainter* CaptionButtonAeroPainter::Acquire(int width, int height) {
    return PngPainterCache::AcquireFace(kAeroFaceImageId, 1, width, height);
}

PngFacePainter* CaptionButtonOffice2007Painter::Acquire(int width, int height, DWORD scheme) {
    return PngPainterCache::AcquireFace(OfficeFaceImageId(scheme), 0, width, height);
}

PngFacePainter* CaptionButtonSkypePainter::Acquire(int width, int height) {
    return PngPainterCache::AcquireFace(kSkypeFaceImageId, 0, width, height);
}

int OfficeFaceImageId(DWORD scheme) {
    switch (scheme) {
    case 2: return kOfficeSilverFaceImageId;
    case 3: return kOfficeBlackFaceImageId;
    default: return kOfficeBlueFaceImageId;
    }
}

DWORD ReadOfficeColourScheme() {
    // RegGetValueW would restrict the type itself, but it does not exist
    // before Vista and the library must load on every system.
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\12.0\\Common", 0, KEY_QUERY_VALUE,
                        key.put()) != ERROR_SUCCESS)
        return 1;
    DWORD type = 0;
    DWORD scheme = 0;
    DWORD size = sizeof scheme;
    if (::RegQueryValueExW(key.get(), L"Theme", nullptr, &type, reinterpret_cast<BYTE*>(&scheme), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof scheme)
        return 1;
    return scheme;
}

CaptionButtonGlyphPainterAero* CaptionButtonGlyphPainterAero::Acquire(UINT dpi) {
    return PngPainterCache::AcquireGlyphs(dpi);
}

void CaptionButtonGlyphPainterAero::Release() { LowerCount(references_); }

int CaptionButtonGlyphPainterAero::GlyphIndex(int kind, int state) {
    if (kind == kOverflow)
        return 13;
    if (state == 2) {
        switch (kind) {
        case kRollUp: return 9;
        case kOnTop: return 10;
        case kTransparencyToggle: return 11;
        case kTransparencyMenu: return 12;
        default: break;
        }
    }
    return kind >= kToTray && kind <= kRunCopy ? kind - 1 : -1;
}

bool CaptionButtonGlyphPainterAero::Load() {
    Lock lock(loading_);
    if (loaded_.load(std::memory_order_acquire))
        return true;
    const CGdiPlusBitmapResource image(Process().Module(), kAeroGlyphImageId);
    if (!image || image.Width() < kAeroGlyphCount)
        return false;
    const int width = image.Width();
    const int height = image.Height();
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    if (!image.RenderPremultiplied(RECT{0, 0, width, height}, width, height, pixels.data()))
        return false;
    glyphWidth_ = ScaledLength(width / kAeroGlyphCount, dpi_);
    const int scaledHeight = ScaledLength(height, dpi_);
    if (glyphWidth_ * kAeroGlyphCount != width || scaledHeight != height)
        pixels = ScaleCellsNearest(PixelImage{pixels.data(), width, height}, kAeroGlyphCount, 1, glyphWidth_,
                                   scaledHeight);
    if (pixels.empty())
        return false;
    pixels_ = std::move(pixels);
    image_ = PixelImage{pixels_.data(), glyphWidth_ * kAeroGlyphCount, scaledHeight};
    loaded_.store(true, std::memory_order_release);
    return true;
}

void CaptionButtonGlyphPainterAero::Draw(const PixelRows& target, const RECT& clip, const RECT& rect, int kind,
                                         int state) {
    const int index = GlyphIndex(kind, state);
    if (index < 0 || (!loaded_.load(std::memory_order_acquire) && !Load()))
        return;
    RECT cut{};
    ::IntersectRect(&cut, &rect, &clip);
    const int left = rect.left + (rect.right - rect.left - glyphWidth_) / 2;
    const int top = rect.top + (rect.bottom - rect.top - image_.height) / 2;
    const PixelBlit blit{RECT{left, top, left + glyphWidth_, top + image_.height}, index * glyphWidth_, 0};
    BlendPixelsOver(target, cut, blit, image_);
}

void FreePngPainters() {
    Lock lock(Process().PainterCacheLock());
    PngPainterCache& cache = PngPainterCache::Get();
    cache.faces.TakeAll();
    cache.glyphs.TakeAll();
}

int CountPngPainters(int* references) {
    Lock lock(Process().PainterCacheLock());
    PngPainterCache& cache = PngPainterCache::Get();
    int count = 0;
    for (const auto& painter : cache.faces) {
        ++count;
        *references += painter->ReferenceCount();
    }
    for (const auto& painter : cache.glyphs) {
        ++count;
        *references += painter->ReferenceCount();
    }
    return count;
}

}  // namespace kz
