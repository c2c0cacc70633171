#include "trelmo/toolbar/CaptionToolBarWin10.h"

#include "common/Handles.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/paint/PainterGeometry.h"
#include "trelmo/toolbar/CaptionToolBarXP.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/SystemApi.h"

#include <algorithm>

namespace kz {

namespace {

// The window manager's attribute of a window drawn with a dark caption
// (Windows 10 20H1 and later).
constexpr DWORD kUseImmersiveDarkMode = 20;

constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr wchar_t kWindowManagerKey[] = L"Software\\Microsoft\\Windows\\DWM";

constexpr uint32_t kActiveGlyphAlpha = 0xFF;
constexpr uint32_t kInactiveGlyphAlpha = 0x66;  // black over white gives the system's inactive #999999
constexpr uint32_t kHoverAlpha = 0x1A;          // black over white gives the system's hover #E5E5E5
constexpr uint32_t kPressedAlpha = 0x33;        // and its pressed #CCCCCC

DWORD ReadUserDword(const wchar_t* keyName, const wchar_t* name, DWORD fallback) {
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return fallback;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return fallback;
    return value;
}

// White or black at an opacity, premultiplied.
uint32_t Shade(bool white, uint32_t alpha) { return white ? alpha * 0x01010101u : alpha << 24; }

bool IsDarkColour(COLORREF colour) {
    const int luma = (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000;
    return luma < 128;
}

}  // namespace

FlatButtonColours FlatColours(const CaptionTheme& theme, bool activeCaption) {
    const bool accent = activeCaption && theme.accentOnTitleBars;
    const bool white = accent ? IsDarkColour(theme.accent) : theme.dark;
    return {Shade(white, activeCaption ? kActiveGlyphAlpha : kInactiveGlyphAlpha), Shade(white, kHoverAlpha),
            Shade(white, kPressedAlpha)};
}

CaptionTheme ReadCaptionTheme(HWND window) {
    CaptionTheme theme;
    const SystemApi& api = Api();
    BOOL dark = FALSE;
    if (api.DwmGetWindowAttribute &&
        SUCCEEDED(api.DwmGetWindowAttribute(window, kUseImmersiveDarkMode, &dark, sizeof dark)))
        theme.dark = dark != FALSE;
    else
        theme.dark = ReadUserDword(kPersonalizeKey, L"AppsUseLightTheme", 1) == 0;
    theme.accentOnTitleBars = ReadUserDword(kWindowManagerKey, L"ColorPrevalence", 0) == 1;
    theme.accent = ReadUserDword(kWindowManagerKey, L"AccentColor", 0) & 0xFFFFFF;  // stored as 0xAABBGGRR
    return theme;
}

CaptionToolBarWin10::CaptionToolBarWin10(HookedWindow& record) : CaptionToolBarWin10(record, Unstarted{}) {
    StartHelper();
}

CaptionToolBarWin10::CaptionToolBarWin10(HookedWindow& record, Unstarted)
    : HelperWindowToolBar(record, HelperStyle{HelperClass::Aero, true, true}) {
    UseGlyphColours(0, 0);  // the strips as drawn: their black is where the glyph goes
}

CaptionToolBarWin10::~CaptionToolBarWin10() = default;

LRESULT CaptionToolBarWin10::AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A program may take its caption over once it has shown (its frame is
    // calculated anew when it is resized or told its frame changed), or give
    // it back: the window then gets the style that suits it. Moves are left
    // alone. The rebuild waits until the message is done.
    if (message == WM_WINDOWPOSCHANGED && HelperWindow()) {
        const auto& position = *reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((!(position.flags & SWP_NOSIZE) || (position.flags & SWP_FRAMECHANGED)) &&
            DrawsOwnCaption(Window()) != InProgramCaption())
            record_.Rebuild();
    }
    return HelperWindowToolBar::AfterMessage(message, wParam, lParam);
}

void CaptionToolBarWin10::RefreshTheme() {
    // A program may ask for its dark caption at any time; the window manager
    // tells nobody, so each layout looks again.
    const CaptionTheme theme = ReadCaptionTheme(Window());
    if (!(theme == theme_)) {
        theme_ = theme;
        InvalidateHelper();
    }
}

RowGeometry CaptionToolBarWin10::Metrics() {
    RefreshTheme();
    const HWND window = Window();
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    const SIZE frame = FrameSize(style, Dpi());

    // Without a title bar to ask: the system metrics of the window's scale.
    int titleLeft = frame.cx;
    int top = frame.cy;
    int height = Metric(SM_CYSIZE);
    int right = windowRect.right - windowRect.left - frame.cx -
                SystemButtonCountFromStyle(style, exStyle) * Metric(SM_CXSIZE);
    if (const std::optional<TitleBarButtons> bar = ReadTitleBarButtons(record_)) {
        titleLeft = bar->titleBar.left;
        top = bar->top;
        height = bar->height;
        right = bar->right;
    }
    // The system's caption buttons, maximise with its snap layouts among
    // them, keep all of theirs.
    RECT system{};
    const SystemApi& api = Api();
    if (api.DwmGetWindowAttribute &&
        SUCCEEDED(api.DwmGetWindowAttribute(window, DWMWA_CAPTION_BUTTON_BOUNDS, &system, sizeof system)) &&
        !::IsRectEmpty(&system)) {
        top = system.top;
        height = system.bottom - system.top;
        right = system.left;
    }
    const int width = ScaledLength(kFlatButtonWidth, Dpi());
    // The icon and its margins stand left of the title.
    const int left = titleLeft + width;
    return RowGeometry{{LeftOfCaptionText(left, right, right - left), top, right, top + height}, width, width / 3,
                       0};
}

void CaptionToolBarWin10::DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state,
                                           bool checked, bool activeCaption) {
    const FlatButtonColours colours = FlatColours(theme_, activeCaption);
    // A command in force keeps the button lit; under the pointer it is lit more.
    const int lit = state == 2 ? 2 : (state == 1 ? 1 : 0) + (checked ? 1 : 0);
    if (lit > 0)
        FillPixelsOver(canvas.rows, canvas.clip, rect, lit > 1 ? colours.pressedFill : colours.hoverFill);
    CaptionButtonGlyphPainter* glyphs = GlyphPainter();
    if (!glyphs)
        return;
    const CaptionButtonGlyphPainter::Frame frame = glyphs->FrameOf(kind, 0, true);
    if (!frame.image.pixels)
        return;
    PixelBlit blit = PlaceGlyph(rect, frame.blit.target.right, frame.blit.target.bottom);
    if (::IsRectEmpty(&blit.target))
        return;
    blit.sourceY += frame.blit.sourceY;
    TintPixelsOver(canvas.rows, canvas.clip, blit, frame.image, 0, colours.glyph);
}

namespace {

bool IsCaptionButtonCode(LRESULT code) {
    return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP;
}

// The row of the program's caption where its buttons are looked for, at 100 %.
constexpr int kProbeRow = 12;

}  // namespace

CaptionToolBarProgramCaption::CaptionToolBarProgramCaption(HookedWindow& record)
    : CaptionToolBarWin10(record, Unstarted{}) {
    StartHelper();
}

RowGeometry CaptionToolBarProgramCaption::Metrics() {
    RefreshTheme();
    const int width = ScaledLength(kFlatButtonWidth, Dpi());
    const RowGeometry none{RECT{0, 0, 0, 0}, width, width / 3, 0};
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const int windowWidth = window.right - window.left;
    const int windowHeight = window.bottom - window.top;
    // What the program's own procedure answers at a point in window coordinates.
    const auto hit = [this, &window](int x, int y) {
        return record_.CallPrevious(WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    const int row = std::min(ScaledLength(kProbeRow, Dpi()), windowHeight - 1);
    // Its buttons stand at the right end, past the border it may report there.
    int x = windowWidth - 1;
    const int searchedTo = windowWidth * 2 / 3;
    while (x > searchedTo && !IsCaptionButtonCode(hit(x, row)))
        --x;
    if (x <= searchedTo)
        return none;
    while (x > 0 && IsCaptionButtonCode(hit(x - 1, row)))
        --x;
    const int buttonsLeft = x;
    int captionLeft = buttonsLeft;
    while (captionLeft > 0 && hit(captionLeft - 1, row) == HTCAPTION)
        --captionLeft;
    int top = row;
    while (top > 0 && IsCaptionButtonCode(hit(buttonsLeft, top - 1)))
        --top;
    int bottom = row + 1;
    while (bottom < windowHeight && IsCaptionButtonCode(hit(buttonsLeft, bottom)))
        ++bottom;
    return RowGeometry{{captionLeft, top, buttonsLeft, bottom}, width, width / 3, 0};
}

}  // namespace kz
