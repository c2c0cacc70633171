// The host's pictures at every scale: each is drawn at 100 % and at 200 %,
// and a scale between takes the larger one, averaged down, never a smaller
// one stretched up.
#pragma once

#include "common/Handles.h"

#include <windows.h>

namespace kz {

// The picture for a scale: large above 100 % when there is one, else normal.
HBITMAP PictureForDpi(HBITMAP normal, HBITMAP large, UINT dpi);
// Draws picture over rect: pixel for pixel where the sizes agree, averaged
// where the picture is larger.
void DrawPicture(HDC dc, HBITMAP picture, const RECT& rect);
// A picture designed at side x side pixels, made at a scale from the one of
// the two drawn for it (PictureForDpi).
UniqueBitmap PictureAtDpi(HBITMAP normal, HBITMAP large, int side, UINT dpi);

}  // namespace kz
