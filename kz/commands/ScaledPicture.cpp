#include "kz/commands/ScaledPicture.h"

#include "common/Dpi.h"

namespace kz {

HBITMAP PictureForDpi(HBITMAP normal, HBITMAP large, UINT dpi) {
    return dpi > kDesignDpi && large ? large : normal;
}

void DrawPicture(HDC dc, HBITMAP picture, const RECT& rect) {
    BITMAP bitmap{};
    if (!picture || !::GetObjectW(picture, sizeof bitmap, &bitmap))
        return;
    const UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    const SelectGuard select(memory.get(), picture);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (bitmap.bmWidth == width && bitmap.bmHeight == height) {
        ::BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
        return;
    }
    const int formerMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    ::SetStretchBltMode(dc, formerMode);
}

UniqueBitmap PictureAtDpi(HBITMAP normal, HBITMAP large, int side, UINT dpi) {
    const int scaled = ScaleToDpi(side, dpi);
    const WindowDC screen = WindowDC::OfClient(nullptr);
    UniqueBitmap picture(::CreateCompatibleBitmap(screen.get(), scaled, scaled));
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    const SelectGuard select(memory.get(), picture.get());
    DrawPicture(memory.get(), PictureForDpi(normal, large, dpi), RECT{0, 0, scaled, scaled});
    return picture;
}

}  // namespace kz
