#include "kz/core/Pngpicture.h"

#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

namespace kz {

namespace {

using namespace Gdiplus::DllExports;

void ReleaseStream(IStream* stream) noexcept { stream->Release(); }
void DisposeImage(Gdiplus::GpBitmap* bitmap) noexcept { GdipDisposeImage(bitmap); }
using UniqueStream = UniqueHandle<NullHandleTraits<IStream*, ReleaseStream>>;
using UniqueGdiPlusBitmap = UniqueHandle<NullHandleTraits<Gdiplus::GpBitmap*, DisposeImage>>;

// GDI+ from start-up to shutdown, for one decoding: the picture it leaves
// is a plain GDI bitmap that needs GDI+ no more.
class GdiPlusSession {
public:
    GdiPlusSession() {
        const Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiPlusSession() {
        if (started_)
            Gdiplus::GdiplusShutdown(token_);
    }
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

    bool Started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

// The bytes of an RCDATA resource as a stream of their own.
UniqueStream ResourceStream(HMODULE module, const wchar_t* name) {
    const HRSRC resource = ::FindResourceW(module, name, RT_RCDATA);
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return UniqueStream();
    return UniqueStream(::SHCreateMemStream(static_cast<const BYTE*>(bytes), ::SizeofResource(module, resource)));
}

}  // namespace

UniqueBitmap LoadPngPicture(HMODULE module, const wchar_t* name) {
    const UniqueStream stream = ResourceStream(module, name);
    const GdiPlusSession session;
    if (!stream || !session.Started())
        return UniqueBitmap();
    UniqueGdiPlusBitmap decoded;
    if (GdipCreateBitmapFromStream(stream.get(), decoded.put()) != Gdiplus::Ok)
        return UniqueBitmap();
    UniqueBitmap picture;
    // The pictures are opaque: the background colour never shows.
    if (GdipCreateHBITMAPFromBitmap(decoded.get(), picture.put(), 0xFF000000) != Gdiplus::Ok)
        return UniqueBitmap();
    return picture;
}

}  // namespace kz
