// GDI+ through its flat interface, bound by name on first use: the library
// is loaded into every process and may import nothing but the core system
// libraries. GDI+ decodes the PNG faces and scales them to a button's size
// once; painting then only blends the prepared pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kz {

struct GdiPlusImage;  // GDI+'s GpImage and GpBitmap

// The flat functions the painters use; GDI+ is started by the first call
// that finds them and stays started while the library is loaded.
struct GdiPlusApi;
const GdiPlusApi* GdiPlus();

// Owns one GDI+ bitmap.
class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;
    virtual ~CGdiPlusBitmap();

    explicit operator bool() const { return image_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws source (a rect of this image) scaled to width x height into
    // premultiplied 0xAARRGGBB pixels, transparent where the image leaves
    // them; false when GDI+ could not draw.
    bool RenderPremultiplied(const RECT& source, int width, int height, uint32_t* pixels) const;

protected:
    // Takes a decoded image; one whose size cannot be read is disposed of.
    void Adopt(GdiPlusImage* image);
    void Dispose();

private:
    GdiPlusImage* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A bitmap decoded from a PNG kept as an RCDATA resource of a module. The
// bytes are copied into a movable memory block that lives as long as the
// bitmap: GDI+ may read the stream again whenever it draws.
class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource(HMODULE module, int resourceId);
    ~CGdiPlusBitmapResource() override;

private:
    HGLOBAL memory_ = nullptr;
};

// How many GDI+ bitmaps are alive in the process: none is to be left behind.
long LiveGdiPlusBitmaps();

}  // namespace kz
