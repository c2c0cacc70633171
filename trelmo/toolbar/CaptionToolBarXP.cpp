#include "trelmo/toolbar/CaptionToolBarXP.h"

#include "common/Dpi.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/toolbar/CaptionToolBarStd.h"
#include "trelmo/hook/HookedWindow.h"

#include <vssym32.h>

#include <algorithm>
#include <cwchar>

namespace kz {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kInactiveGrey = 0x6E6D8F;

// The theme's minimise button of normal and of small captions.
int MinimiseButtonPart(bool smallCaption) { return smallCaption ? WP_MDIMINBUTTON : WP_MINBUTTON; }

bool IsOneOf(const wchar_t* name, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* candidate : names)
        if (std::wcscmp(name, candidate) == 0)
            return true;
    return false;
}

// The colour-scheme name of the current theme; false without one.
bool ReadColourScheme(wchar_t* scheme, int length) {
    const SystemApi& api = Api();
    scheme[0] = L'\0';
    wchar_t file[MAX_PATH];
    return api.GetCurrentThemeName && SUCCEEDED(api.GetCurrentThemeName(file, MAX_PATH, scheme, length, nullptr, 0));
}

bool IsEmpty(const RECT& rect) { return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0; }

}  // namespace

GlyphColours XPGlyphColours(const LibrarySettings& settings, const wchar_t* desktopScheme) {
    if (!settings.GlyphColorAutodetect) {
        const COLORREF stored = StoredGlyphRgb(settings);
        return {stored, stored};
    }
    if (desktopScheme && IsOneOf(desktopScheme, {L"HomeStead", L"NormalColor", L"Olive", L"Royale4"}))
        return {kWhite, kWhite};
    if (desktopScheme && std::wcscmp(desktopScheme, L"Ergonomic") == 0)
        return {0xF9F9F9, kInactiveGrey};
    return {0, kInactiveGrey};
}

namespace {

// The glyph colours for the desktop's colour scheme.
GlyphColours DesktopGlyphColours(const LibrarySettings& settings) {
    const ThemeHandle desktopTheme(::GetDesktopWindow(), L"WINDOW");
    wchar_t desktopScheme[256];
    const bool known = desktopTheme && ReadColourScheme(desktopScheme, 256);
    return XPGlyphColours(settings, known ? desktopScheme : nullptr);
}

}  // namespace

CaptionToolBarXP::CaptionToolBarXP(HookedWindow& record)
    : CaptionToolBarXP(record, DesktopGlyphColours(record.Settings())) {
    Start();
}

CaptionToolBarXP::CaptionToolBarXP(HookedWindow& record, const GlyphColours& colours)
    : CaptionToolBar(record, Traits{true, true, true}), theme_(record.Window(), L"WINDOW") {
    ReadColourScheme(colourScheme_, kSchemeNameLength);
    UseGlyphColours(colours.active, colours.inactive);
}

CaptionToolBarXP::~CaptionToolBarXP() {
    if (faces_)
        faces_->Release();
}

LRESULT CaptionToolBarXP::OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) {
    switch (message) {
    case WM_NCMOUSEMOVE: OnHover(*lParam); return 0;
    case WM_NCMOUSELEAVE:
        leaveRequested_ = false;
        return CaptionToolBar::OnMessage(message, wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(*lParam);
    case WM_NCLBUTTONDBLCLK: return HitTest(ScreenToWindow(*lParam)) >= 0 ? 1 : 0;
    case WM_SHOWWINDOW:
    case WM_ACTIVATEAPP:
    case WM_MDIMAXIMIZE: return 0;  // laid out when the window is done with them
    default: return CaptionToolBar::OnMessage(message, wParam, lParam);
    }
}

LRESULT CaptionToolBarXP::AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            PaintButtons();
        return 0;
    case WM_SHOWWINDOW:
    case WM_ACTIVATEAPP:
    case WM_STYLECHANGING:
    case WM_NCACTIVATE:
    case WM_MDIMAXIMIZE:
        LayOut();
        PaintButtons();
        return 0;
    default: return CaptionToolBar::AfterMessage(message, wParam, lParam);
    }
}

LRESULT CaptionToolBarXP::OnNcLButtonDown(LPARAM screenPoint) {
    if (Press(ScreenToWindow(screenPoint)))
        return 1;
    ClearTracking();
    return 0;
}

void CaptionToolBarXP::OnHover(LPARAM screenPoint) {
    Hover(ScreenToWindow(screenPoint));
    // The system tells of the pointer leaving the frame only when asked; a
    // button would otherwise stay lit after the pointer left the window.
    if (leaveRequested_)
        return;
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE | TME_NONCLIENT, Window(), 0};
    leaveRequested_ = ::TrackMouseEvent(&leave) != FALSE;
}

RowGeometry CaptionToolBarXP::Metrics() {
    if (Api().osMajorVersion > 5)
        if (const std::optional<RowGeometry> geometry = MetricsFromTitleBar())
            return *geometry;
    return MetricsFromTheme();
}

std::optional<TitleBarButtons> ReadTitleBarButtons(HookedWindow& record) {
    TITLEBARINFOEX info{};
    info.cbSize = sizeof info;
    record.CallPrevious(WM_GETTITLEBARINFOEX, 0, reinterpret_cast<LPARAM>(&info));
    if (IsEmpty(info.rcTitleBar))
        return std::nullopt;
    RECT window{};
    ::GetWindowRect(record.Window(), &window);
    TitleBarButtons result;
    result.titleBar = info.rcTitleBar;
    ::OffsetRect(&result.titleBar, -window.left, -window.top);
    result.right = result.titleBar.right;
    result.top = result.titleBar.top;
    // rgrect: 2 minimise, 3 maximise, 4 help, 5 close.
    for (int i = 2; i <= 5; ++i) {
        RECT& button = info.rgrect[i];
        ::OffsetRect(&button, -window.left, -window.top);
        if (info.rgstate[i] & STATE_SYSTEM_INVISIBLE)
            continue;
        result.right = std::min<int>(result.right, button.left);
        result.width = button.right - button.left;
        result.height = button.bottom - button.top;
        result.top = button.top;
    }
    const RECT& maximise = info.rgrect[3];
    if (maximise.bottom - maximise.top > 0)
        result.height = maximise.bottom - maximise.top;
    if (maximise.right - maximise.left > 0)
        result.width = maximise.right - maximise.left;
    if (result.width <= 0 || result.height <= 0)
        return std::nullopt;
    return result;
}

std::optional<RowGeometry> CaptionToolBarXP::MetricsFromTitleBar() {
    const std::optional<TitleBarButtons> bar = ReadTitleBarButtons(record_);
    if (!bar)
        return std::nullopt;
    const int left = 4 * bar->titleBar.left + 16;
    return RowGeometry{{LeftOfCaptionText(left, bar->right, bar->right - left), bar->top, bar->right - 2, bar->top + bar->height}, bar->width - 2, bar->width / 3, 2};
}

ThemeCaptionMetrics ReadThemeCaptionMetrics(HWND window, HDC dc, UINT dpi) {
    const SystemApi& api = Api();
    const ThemeHandle theme(window, L"WINDOW");
    const HTHEME handle = theme.get();

    ThemeCaptionMetrics m;
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    const bool small = (exStyle & WS_EX_TOOLWINDOW) != 0;
    m.dpi = dpi;
    m.buttonWidth = MetricForDpi(small ? SM_CXSMSIZE : SM_CXSIZE, dpi);
    const int captionHeight = MetricForDpi(small ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
    const int part = MinimiseButtonPart(small);
    m.frame = FrameSize(style, dpi);
    m.systemButtons = SystemButtonCount(ReadTitleBar(window), style, exStyle);
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    m.windowWidth = windowRect.right - windowRect.left;

    // Every theme read that fails leaves its zero, as on systems without themes.
    SIZE caption{};
    m.placed = handle && api.GetThemePosition &&
               SUCCEEDED(api.GetThemePosition(handle, part, 1, TMT_OFFSET, &m.offset));
    if (handle && api.GetThemePartSize)
        api.GetThemePartSize(handle, dc, WP_CAPTION, 1, nullptr, TS_TRUE, &caption);
    const RECT captionBox{0, m.offset.y, m.windowWidth, caption.cy};
    RECT content{};
    MARGINS margins{};
    if (handle && api.GetThemeBackgroundContentRect)
        api.GetThemeBackgroundContentRect(handle, dc, part, 1, &captionBox, &content);
    if (handle && api.GetThemeMargins)
        api.GetThemeMargins(handle, dc, WP_CAPTION, 1, TMT_CONTENTMARGINS, &captionBox, &margins);

    m.top = m.offset.y + margins.cyTopHeight;
    m.gap = margins.cxLeftWidth + margins.cxRightWidth;
    m.height = content.bottom - margins.cyBottomHeight - caption.cy - m.top + m.frame.cy + captionHeight;
    return m;
}

int FitButtonsToTheme(ThemeCaptionMetrics& m, int& right) {
    const int width = m.buttonWidth - m.gap;
    if (m.placed && width >= 0 && m.height >= 0)
        return width;
    const int systemSize = MetricForDpi(SM_CYSIZE, m.dpi);
    m.top = 6;
    m.height = systemSize - 4;
    m.gap = 2;
    right = m.windowWidth - 2 * m.frame.cx - m.systemButtons * systemSize;
    return systemSize - 2;
}

RowGeometry CaptionToolBarXP::MetricsFromTheme() {
    const WindowDC dc = WindowDC::OfWindow(Window());
    ThemeCaptionMetrics m = ReadThemeCaptionMetrics(Window(), dc.get(), Dpi());
    int right = std::min<int>(m.windowWidth - m.offset.x, m.windowWidth - m.systemButtons * m.buttonWidth - m.frame.cx);
    const int width = FitButtonsToTheme(m, right);
    const int left = 4 * m.frame.cx + 16;
    return RowGeometry{{LeftOfCaptionText(left, right, right - left), m.top, right, m.top + m.height}, width - m.gap,
                       m.buttonWidth / 2, m.gap};
}

UniqueRegion CaptionToolBarXP::SlotRegion(const RECT& rect) const {
    const SystemApi& api = Api();
    HRGN region = nullptr;
    if (theme_ && api.GetThemeBackgroundRegion &&
        SUCCEEDED(api.GetThemeBackgroundRegion(theme_.get(), nullptr, WP_MINBUTTON, 1, &rect, &region)) && region)
        return UniqueRegion(region);
    return CaptionToolBar::SlotRegion(rect);
}

void CaptionToolBarXP::DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked,
                                  bool activeCaption) {
    FitFaces(faces_, rect, [this](int width, int height) {
        const bool small = (::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        return CaptionButtonXPPainter::Acquire(Window(), small, width, height, colourScheme_);
    });
    if (faces_)
        faces_->Draw(Window(), dc, rect, state, activeCaption);
    DrawGlyph(dc, kind, rect, state, checked, activeCaption);
}

}  // namespace kz
