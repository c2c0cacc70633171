#include "trelmo/paint/GdiPlus.h"

#include "common/BindFunction.h"

#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace kz {

struct GdiPlusImage;
struct GdiPlusGraphics;
struct GdiPlusAttributes;

namespace {

// GDI+'s own numbers.
constexpr int kStatusOk = 0;
constexpr int kPixelFormat32bppPARGB = 0x000E200B;
constexpr int kUnitPixel = 2;
constexpr int kWrapModeTileFlipXY = 3;
constexpr int kInterpolationBilinear = 3;
constexpr int kInterpolationNearestNeighbor = 5;
constexpr int kPixelOffsetModeHalf = 4;

struct StartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

std::atomic<long> g_liveBitmaps{0};

}  // namespace

struct GdiPlusApi {
    int(WINAPI* Startup)(ULONG_PTR*, const StartupInput*, void*) = nullptr;
    int(WINAPI* CreateBitmapFromStream)(IStream*, GdiPlusImage**) = nullptr;
    int(WINAPI* CreateBitmapFromScan0)(INT, INT, INT, INT, BYTE*, GdiPlusImage**) = nullptr;
    int(WINAPI* DisposeImage)(GdiPlusImage*) = nullptr;
    int(WINAPI* GetImageWidth)(GdiPlusImage*, UINT*) = nullptr;
    int(WINAPI* GetImageHeight)(GdiPlusImage*, UINT*) = nullptr;
    int(WINAPI* GetImageGraphicsContext)(GdiPlusImage*, GdiPlusGraphics**) = nullptr;
    int(WINAPI* DeleteGraphics)(GdiPlusGraphics*) = nullptr;
    int(WINAPI* SetInterpolationMode)(GdiPlusGraphics*, int) = nullptr;
    int(WINAPI* SetPixelOffsetMode)(GdiPlusGraphics*, int) = nullptr;
    int(WINAPI* CreateImageAttributes)(GdiPlusAttributes**) = nullptr;
    int(WINAPI* SetImageAttributesWrapMode)(GdiPlusAttributes*, int, DWORD, BOOL) = nullptr;
    int(WINAPI* DisposeImageAttributes)(GdiPlusAttributes*) = nullptr;
    int(WINAPI* DrawImageRectRectI)(GdiPlusGraphics*, GdiPlusImage*, INT, INT, INT, INT, INT, INT, INT, INT, int,
                                    GdiPlusAttributes*, void*, void*) = nullptr;
    HRESULT(WINAPI* CreateStreamOnHGlobal)(HGLOBAL, BOOL, IStream**) = nullptr;
};

namespace {

BOOL CALLBACK StartGdiPlus(PINIT_ONCE, PVOID parameter, PVOID* context) {
    GdiPlusApi& api = *static_cast<GdiPlusApi*>(parameter);
    *context = nullptr;
    // Both stay loaded for the life of the process, as the bound pointers need.
    const HMODULE gdiplus = ::LoadLibraryW(L"gdiplus.dll");
    const HMODULE ole = ::LoadLibraryW(L"ole32.dll");
    if (!gdiplus || !ole)
        return TRUE;
    const bool bound =
        (api.Startup = BindFunction(gdiplus, "GdiplusStartup")) &&
        (api.CreateBitmapFromStream = BindFunction(gdiplus, "GdipCreateBitmapFromStream")) &&
        (api.CreateBitmapFromScan0 = BindFunction(gdiplus, "GdipCreateBitmapFromScan0")) &&
        (api.DisposeImage = BindFunction(gdiplus, "GdipDisposeImage")) &&
        (api.GetImageWidth = BindFunction(gdiplus, "GdipGetImageWidth")) &&
        (api.GetImageHeight = BindFunction(gdiplus, "GdipGetImageHeight")) &&
        (api.GetImageGraphicsContext = BindFunction(gdiplus, "GdipGetImageGraphicsContext")) &&
        (api.DeleteGraphics = BindFunction(gdiplus, "GdipDeleteGraphics")) &&
        (api.SetInterpolationMode = BindFunction(gdiplus, "GdipSetInterpolationMode")) &&
        (api.SetPixelOffsetMode = BindFunction(gdiplus, "GdipSetPixelOffsetMode")) &&
        (api.CreateImageAttributes = BindFunction(gdiplus, "GdipCreateImageAttributes")) &&
        (api.SetImageAttributesWrapMode = BindFunction(gdiplus, "GdipSetImageAttributesWrapMode")) &&
        (api.DisposeImageAttributes = BindFunction(gdiplus, "GdipDisposeImageAttributes")) &&
        (api.DrawImageRectRectI = BindFunction(gdiplus, "GdipDrawImageRectRectI")) &&
        (api.CreateStreamOnHGlobal = BindFunction(ole, "CreateStreamOnHGlobal"));
    // Never shut down: another thread may be drawing, and at unload the
    // loader lock forbids it anyway.
    ULONG_PTR token = 0;
    const StartupInput input;
    if (bound && api.Startup(&token, &input, nullptr) == kStatusOk)
        *context = &api;
    return TRUE;
}

// Frees GDI+ objects that have no owner of their own in the library.
struct GraphicsOwner {
    const GdiPlusApi& api;
    GdiPlusGraphics* graphics = nullptr;
    ~GraphicsOwner() {
        if (graphics)
            api.DeleteGraphics(graphics);
    }
};
struct AttributesOwner {
    const GdiPlusApi& api;
    GdiPlusAttributes* attributes = nullptr;
    ~AttributesOwner() {
        if (attributes)
            api.DisposeImageAttributes(attributes);
    }
};
struct TargetOwner {
    const GdiPlusApi& api;
    GdiPlusImage* image = nullptr;
    ~TargetOwner() {
        if (image)
            api.DisposeImage(image);
    }
};

}  // namespace

const GdiPlusApi* GdiPlus() {
    static GdiPlusApi api;
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    void* started = nullptr;
    ::InitOnceExecuteOnce(&once, StartGdiPlus, &api, &started);
    return static_cast<const GdiPlusApi*>(started);
}

CGdiPlusBitmap::~CGdiPlusBitmap() { Dispose(); }

void CGdiPlusBitmap::Dispose() {
    if (!image_)
        return;
    GdiPlus()->DisposeImage(image_);
    image_ = nullptr;
    --g_liveBitmaps;
}

void CGdiPlusBitmap::Adopt(GdiPlusImage* image) {
    const GdiPlusApi* api = GdiPlus();
    UINT width = 0;
    UINT height = 0;
    if (!image || api->GetImageWidth(image, &width) != kStatusOk ||
        api->GetImageHeight(image, &height) != kStatusOk) {
        if (image)
            api->DisposeImage(image);
        return;
    }
    image_ = image;
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    ++g_liveBitmaps;
}

bool CGdiPlusBitmap::RenderPremultiplied(const RECT& source, int width, int height, uint32_t* pixels) const {
    const GdiPlusApi* api = GdiPlus();
    if (!image_ || !api || width <= 0 || height <= 0)
        return false;
    std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, 0u);
    TargetOwner target{*api};
    GraphicsOwner graphics{*api};
    AttributesOwner attributes{*api};
    if (api->CreateBitmapFromScan0(width, height, width * 4, kPixelFormat32bppPARGB,
                                   reinterpret_cast<BYTE*>(pixels), &target.image) != kStatusOk ||
        api->GetImageGraphicsContext(target.image, &graphics.graphics) != kStatusOk ||
        api->CreateImageAttributes(&attributes.attributes) != kStatusOk)
        return false;
    // Mirrored at the source's edges: scaling reads the frame's own border,
    // never the neighbouring frame of the strip.
    api->SetImageAttributesWrapMode(attributes.attributes, kWrapModeTileFlipXY, 0, FALSE);
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    const bool trueSize = sourceWidth == width && sourceHeight == height;
    api->SetInterpolationMode(graphics.graphics, trueSize ? kInterpolationNearestNeighbor : kInterpolationBilinear);
    api->SetPixelOffsetMode(graphics.graphics, kPixelOffsetModeHalf);
    return api->DrawImageRectRectI(graphics.graphics, image_, 0, 0, width, height, source.left, source.top,
                                   sourceWidth, sourceHeight, kUnitPixel, attributes.attributes, nullptr,
                                   nullptr) == kStatusOk;
}

CGdiPlusBitmapResource::CGdiPlusBitmapResource(HMODULE module, int resourceId) {
    const GdiPlusApi* api = GdiPlus();
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!api || !bytes || size == 0)
        return;
    memory_ = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* copy = memory_ ? ::GlobalLock(memory_) : nullptr;
    if (!copy)
        return;
    std::memcpy(copy, bytes, size);
    ::GlobalUnlock(memory_);
    IStream* stream = nullptr;
    if (FAILED(api->CreateStreamOnHGlobal(memory_, FALSE, &stream)) || !stream)
        return;
    GdiPlusImage* image = nullptr;
    if (api->CreateBitmapFromStream(stream, &image) != kStatusOk && image) {
        api->DisposeImage(image);  // a bitmap whose status is not Ok is no bitmap
        image = nullptr;
    }
    stream->Release();
    Adopt(image);
}

CGdiPlusBitmapResource::~CGdiPlusBitmapResource() {
    // The bitmap reads the block until it is disposed of.
    Dispose();
    if (memory_)
        ::GlobalFree(memory_);
}

long LiveGdiPlusBitmaps() { return g_liveBitmaps.load(); }

}  // namespace kz
