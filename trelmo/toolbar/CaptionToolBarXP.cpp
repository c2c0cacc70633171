#include "CaptionToolBarXP.h"

#include "CaptionButtonPainters.h"
#include "CaptionToolBarStd.h"
#include "HookedWindow.h"

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

CaptionToolBarXP::CaptionToolBarXP(HookedWindow& record)
    : CaptionToolBar(record, Traits{true, true, true}), theme_(record.Window(), L"WINDOW") {
    ReadColourScheme(colourScheme_, kSchemeNameLength);
    GlyphColours colours{};
    {
        const ThemeHandle desktopTheme(::GetDesktopWindow(), L"WINDOW");
        wchar_t desktopScheme[kSchemeNameLength];
        const bool known = desktopTheme && ReadColourScheme(desktopScheme, kSchemeNameLength);
        colours = XPGlyphColours(record.Settings(), known ? desktopScheme : nullptr);
    }
    UseGlyphColours(colours.active, colours.inactive);
    Start();
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

std::optional<RowGeometry> CaptionToolBarXP::MetricsFromTitleBar() {
    TITLEBARINFOEX info{};
    info.cbSize = sizeof info;
    record_.CallPrevious(WM_GETTITLEBARINFOEX, 0, reinterpret_cast<LPARAM>(&info));
    if (IsEmpty(info.rcTitleBar))
        return std::nullopt;
    RECT window{};
    ::GetWindowRect(Window(), &window);
    ::OffsetRect(&info.rcTitleBar, -window.left, -window.top);
    int right = info.rcTitleBar.right;
    int top = info.rcTitleBar.top;
    int width = -1;
    int height = -1;
    // rgrect: 2 minimise, 3 maximise, 4 help, 5 close.
    for (int i = 2; i <= 5; ++i) {
        RECT& button = info.rgrect[i];
        ::OffsetRect(&button, -window.left, -window.top);
        if (info.rgstate[i] & STATE_SYSTEM_INVISIBLE)
            continue;
        right = std::min<int>(right, button.left);
        width = button.right - button.left;
        height = button.bottom - button.top;
        top = button.top;
    }
    const RECT& maximise = info.rgrect[3];
    if (maximise.bottom - maximise.top > 0)
        height = maximise.bottom - maximise.top;
    if (maximise.right - maximise.left > 0)
        width = maximise.right - maximise.left;
    if (width <= 0 || height <= 0)
        return std::nullopt;

    int left = 4 * info.rcTitleBar.left + 16;
    if (!record_.Settings().AllowOverflowCaptionText) {
        const WindowDC dc = WindowDC::OfWindow(Window());
        left = LeftOfCaptionText(dc.get(), left, right, right - left);
    }
    return RowGeometry{{left, top, right - 2, top + height}, width - 2, width / 3, 2};
}

RowGeometry CaptionToolBarXP::MetricsFromTheme() {
    const SystemApi& api = Api();
    const HWND window = Window();
    const ThemeHandle theme(window, L"WINDOW");
    const HTHEME handle = theme.get();
    const WindowDC dc = WindowDC::OfWindow(window);

    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    const bool small = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const int buttonWidth = ::GetSystemMetrics(small ? SM_CXSMSIZE : SM_CXSIZE);
    const int captionHeight = ::GetSystemMetrics(small ? SM_CYSMCAPTION : SM_CYCAPTION);
    const int separator = buttonWidth / 2;
    const int part = MinimiseButtonPart(small);
    const SIZE frame = FrameSize(style);
    const int systemButtons = SystemButtonCount(ReadTitleBar(window), style, exStyle);
    RECT windowRect{};
    ::GetWindowRect(window, &windowRect);
    const int windowWidth = windowRect.right - windowRect.left;

    // Every theme read that fails leaves its zero, as on systems without themes.
    POINT offset{};
    SIZE caption{};
    const bool placed = handle && api.GetThemePosition &&
                        SUCCEEDED(api.GetThemePosition(handle, part, 1, TMT_OFFSET, &offset));
    if (handle && api.GetThemePartSize)
        api.GetThemePartSize(handle, dc.get(), WP_CAPTION, 1, nullptr, TS_TRUE, &caption);
    const RECT captionBox{0, offset.y, windowWidth, caption.cy};
    RECT content{};
    MARGINS margins{};
    if (handle && api.GetThemeBackgroundContentRect)
        api.GetThemeBackgroundContentRect(handle, dc.get(), part, 1, &captionBox, &content);
    if (handle && api.GetThemeMargins)
        api.GetThemeMargins(handle, dc.get(), WP_CAPTION, 1, TMT_CONTENTMARGINS, &captionBox, &margins);

    int right = std::min<int>(windowWidth - offset.x, windowWidth - systemButtons * buttonWidth - frame.cx);
    int top = offset.y + margins.cyTopHeight;
    int gap = margins.cxLeftWidth + margins.cxRightWidth;
    int width = buttonWidth - gap;
    int height = content.bottom - margins.cyBottomHeight - caption.cy - top + frame.cy + captionHeight;
    // A theme that does not place its buttons (Wine's) would put ours on the
    // window's top edge: the system metrics place them instead.
    if (!placed || width < 0 || height < 0) {
        const int systemSize = ::GetSystemMetrics(SM_CYSIZE);
        width = systemSize - 2;
        top = 6;
        height = systemSize - 4;
        gap = 2;
        right = windowWidth - 2 * frame.cx - systemButtons * systemSize;
    }
    int left = 4 * frame.cx + 16;
    if (!record_.Settings().AllowOverflowCaptionText)
        left = LeftOfCaptionText(dc.get(), left, right, right - left);
    return RowGeometry{{left, top, right, top + height}, width - gap, separator, gap};
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
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!faces_ || !faces_->HasSize(width, height)) {
        if (faces_)
            faces_->Release();
        const bool small = (::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        faces_ = CaptionButtonXPPainter::Acquire(Window(), small, width, height, colourScheme_);
    }
    if (faces_)
        faces_->Draw(Window(), dc, rect, state, activeCaption);
    // The face follows the pointer; the glyph also shows a command in force.
    if (checked)
        state = 2;
    if (CaptionButtonGlyphPainter* glyphs = GlyphPainter())
        glyphs->Draw(Window(), dc, rect, kind, state, activeCaption);
}

}  // namespace kz
