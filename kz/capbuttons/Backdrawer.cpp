#include "kz/capbuttons/Backdrawer.h"

#include "kz/capbuttons/Kz_lib.h"
#include "kz/capbuttons/Myuxtheme.h"

#include <vssym32.h>

#include <algorithm>
#include <string>

namespace kz {

namespace {

constexpr int kCaptionPart = WP_CAPTION;      // 1
constexpr int kButtonPart = WP_MINBUTTON;     // 15
constexpr int kImageCellsOfButton = kVisualStateCount;

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// The theme's file, loaded to read its bitmaps as resources.
UniqueModule LoadThemeModule() {
    wchar_t fileName[MAX_PATH] = {};
    if (FAILED(uxtheme::GetCurrentThemeName(fileName, MAX_PATH, nullptr, 0, nullptr, 0)) || !fileName[0])
        return {};
    return UniqueModule(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// The image of a part: from the theme itself, else the bitmap resource of the
// theme file that its image file property names ("\" and "." become "_").
UniqueBitmap LoadPartImage(HTHEME theme, HMODULE themeModule, int part) {
    UniqueBitmap image;
    if (SUCCEEDED(uxtheme::GetThemeBitmap(theme, part, 1, TMT_DIBDATA, GBF_COPY, image.put())) && image)
        return image;
    wchar_t name[101] = {};
    if (!themeModule || FAILED(uxtheme::GetThemeFilename(theme, part, 1, TMT_IMAGEFILE, name, 100)) || !name[0])
        return {};
    std::replace_if(std::begin(name), std::end(name), [](wchar_t c) { return c == L'\\' || c == L'.'; }, L'_');
    return UniqueBitmap(static_cast<HBITMAP>(
        ::LoadImageW(themeModule, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SizingGrid GridOfPart(HTHEME theme, int part, int typeOnFailure) {
    SizingGrid grid;
    if (FAILED(uxtheme::GetThemeEnumValue(theme, part, 1, TMT_SIZINGTYPE, &grid.type)))
        grid.type = typeOnFailure;
    if (FAILED(uxtheme::GetThemeMargins(theme, nullptr, part, 1, TMT_SIZINGMARGINS, nullptr, &grid.margins)))
        grid.margins = MARGINS{};
    return grid;
}

// Copies a piece of the source into a rectangle: stretched, or repeated at its
// own size when tiling.
void DrawPiece(HDC target, const RECT& to, HDC source, const RECT& from, bool tile) {
    const int toWidth = to.right - to.left, toHeight = to.bottom - to.top;
    const int fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
    if (toWidth <= 0 || toHeight <= 0 || fromWidth <= 0 || fromHeight <= 0)
        return;
    if (!tile) {
        ::StretchBlt(target, to.left, to.top, toWidth, toHeight, source, from.left, from.top, fromWidth, fromHeight,
                     SRCCOPY);
        return;
    }
    for (int y = to.top; y < to.bottom; y += fromHeight)
        for (int x = to.left; x < to.right; x += fromWidth)
            ::BitBlt(target, x, y, std::min<int>(fromWidth, to.right - x), std::min<int>(fromHeight, to.bottom - y),
                     source, from.left, from.top, SRCCOPY);
}

}  // namespace

void DrawNineGrid(HDC target, const RECT& to, HDC source, const RECT& from, const SizingGrid& grid) {
    if (grid.type == 0) {
        const int width = to.right - to.left, height = to.bottom - to.top;
        const int x = from.left + ((from.right - from.left) - width) / 2;
        const int y = from.top + ((from.bottom - from.top) - height) / 2;
        ::BitBlt(target, to.left, to.top, width, height, source, x, y, SRCCOPY);
        return;
    }
    const bool tile = grid.type == 2;
    const MARGINS& m = grid.margins;
    // Column and row edges of the three by three pieces, in source and target.
    const int fromX[4] = {from.left, from.left + m.cxLeftWidth, from.right - m.cxRightWidth, from.right};
    const int fromY[4] = {from.top, from.top + m.cyTopHeight, from.bottom - m.cyBottomHeight, from.bottom};
    const int toX[4] = {to.left, to.left + m.cxLeftWidth, to.right - m.cxRightWidth, to.right};
    const int toY[4] = {to.top, to.top + m.cyTopHeight, to.bottom - m.cyBottomHeight, to.bottom};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const bool corner = row != 1 && column != 1;
            DrawPiece(target, RECT{toX[column], toY[row], toX[column + 1], toY[row + 1]}, source,
                      RECT{fromX[column], fromY[row], fromX[column + 1], fromY[row + 1]}, tile && !corner);
        }
}

TBackDrawer::TBackDrawer(HWND window) : window_(window) { LoadStyleImages(); }

void TBackDrawer::LoadStyleImages() {
    buttonImage_.reset();
    captionImage_.reset();
    for (auto& region : regions_)
        region.reset();
    const UniqueTheme theme(uxtheme::OpenThemeData(window_, L"WINDOW"));
    themed_ = theme && LoadThemedImages(theme.get());
    if (!themed_)
        LoadClassicImages();
}

bool TBackDrawer::LoadThemedImages(HTHEME theme) {
    const UniqueModule themeModule = LoadThemeModule();
    buttonImage_ = LoadPartImage(theme, themeModule.get(), kButtonPart);
    if (!buttonImage_)
        return false;
    captionImage_ = LoadPartImage(theme, themeModule.get(), kCaptionPart);
    buttonGrid_ = GridOfPart(theme, kButtonPart, 0);
    captionGrid_ = GridOfPart(theme, kCaptionPart, 1);
    // A caption image whose margins fill it leaves no middle to stretch.
    const int halfHeight = SizeOf(captionImage_.get()).cy / 2;
    MARGINS& m = captionGrid_.margins;
    if (halfHeight == m.cyTopHeight + m.cyBottomHeight) {
        --m.cyTopHeight;
        --m.cyBottomHeight;
    }
    if (halfHeight == m.cxLeftWidth + m.cxRightWidth) {
        --m.cxLeftWidth;
        --m.cxRightWidth;
    }
    const SIZE image = SizeOf(buttonImage_.get());
    const int bw = CapButtonLayout::ThemedButtonWidth(SystemCaptionMetrics());
    const RECT shape = buttonGrid_.type != 0 ? RECT{0, 0, bw, bw}
                                             : RECT{0, 0, image.cx, image.cy / kImageCellsOfButton};
    for (int state = 0; state < kStyleStates; ++state)
        if (FAILED(uxtheme::GetThemeBackgroundRegion(theme, nullptr, kButtonPart, state + 1, &shape,
                                                     regions_[state].put())))
            regions_[state].reset();
    partlyTransparent_ = uxtheme::IsThemeBackgroundPartiallyTransparent(theme, kButtonPart, 1) != FALSE;
    return true;
}

void TBackDrawer::LoadClassicImages() {
    buttonImage_.reset();
    captionImage_.reset(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"CAP121", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    captionGrid_ = SizingGrid{1, MARGINS{4, 4, 4, 5}};
    buttonGrid_ = SizingGrid{};
    partlyTransparent_ = false;
}

HRGN TBackDrawer::ButtonRegion(int visualState) const {
    return regions_[visualState % kStyleStates].get();
}

}  // namespace kz
