#include "trelmo/toolbar/CaptionToolBar.h"

#include "common/Dib.h"
#include "common/Dpi.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/hook/HookedWindow.h"
#include "trelmo/hook/HostMessages.h"
#include "trelmo/menus/PopupMenu.h"
#include "common/Protocol.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>

namespace kz {

namespace {

constexpr UINT kRedrawFrameNow = RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN | RDW_INVALIDATE;
constexpr UINT kRedrawFrameLater = RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN;

// Values of WM_NCPAINT's wParam up to this one are no region handle.
constexpr WPARAM kLastNonRegion = 3;

// System commands that a click on the caption can cause; over a button they
// are the button's, not the window's (a double click must not maximise).
bool IsCaptionClickCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_MOUSEMENU:
    case SC_RESTORE:
    case SC_DEFAULT:
        return true;
    default:
        return false;
    }
}

POINT WindowOrigin(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

}  // namespace

CaptionToolBar::CaptionToolBar(HookedWindow& record, Traits traits)
    : record_(record), row_(record.Settings()), traits_(traits) {}

CaptionToolBar::~CaptionToolBar() {
    if (glyphs_)
        glyphs_->Release();
    // Painting now would wait for the window's thread when another thread
    // lets go of it: that one paints its frame when it next can.
    const bool ownThread = ::GetWindowThreadProcessId(Window(), nullptr) == ::GetCurrentThreadId();
    ::RedrawWindow(Window(), nullptr, nullptr, ownThread ? kRedrawFrameNow : kRedrawFrameLater);
}

HWND CaptionToolBar::Window() const { return record_.Window(); }

void CaptionToolBar::Start() {
    LayOut();
    if (record_.Settings().ShowButtonHints)
        tooltip_ = std::make_unique<ButtonTooltip>(Window());
    PaintButtons();
}

void CaptionToolBar::UseGlyphColours(COLORREF activeRgb, COLORREF inactiveRgb) {
    glyphActive_ = activeRgb;
    glyphInactive_ = inactiveRgb;
    if (glyphs_)
        glyphs_->Release();
    glyphs_ = CaptionButtonGlyphPainter::Acquire(activeRgb, inactiveRgb, dpi_);
}

void CaptionToolBar::FitGlyphs() {
    if (glyphs_ && glyphs_->Dpi() != dpi_)
        UseGlyphColours(glyphActive_, glyphInactive_);
}

LRESULT CaptionToolBar::OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) {
    switch (message) {
    case WM_SIZE: OnSize(); return 0;
    case WM_SHOWWINDOW:
    case WM_ACTIVATEAPP:
    case WM_MDIMAXIMIZE: LayOut(); return 0;
    case WM_NCHITTEST: return OnNcHitTest(*lParam);
    case WM_NCPAINT: ClipFramePaint(wParam); return 0;
    case WM_NCMOUSEMOVE: OnNcMouseMove(*lParam); return 0;
    case WM_NCLBUTTONDOWN: Press(ScreenToWindow(*lParam)); return 0;
    case WM_NCLBUTTONUP: Release(ScreenToWindow(*lParam)); return 0;
    case WM_LBUTTONUP: Release(ClientToWindow(*lParam)); return 0;
    case WM_MOUSEMOVE: Track(ClientToWindow(*lParam)); return 0;
    case WM_SYSCOMMAND: return OnSysCommand(*wParam, *lParam);
    case WM_NCMOUSELEAVE: OnNcMouseLeave(); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(*lParam)); return 0;
    default: return 0;
    }
}

LRESULT CaptionToolBar::AfterMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_SETTEXT:
    case WM_STYLECHANGING:
    case WM_NCACTIVATE: LayOutAndRedraw(kRedrawFrameLater); return 0;
    case WM_NCLBUTTONDBLCLK: LayOutAndRedraw(kRedrawFrameNow); return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_RESTORE || wParam == SC_MAXIMIZE)
            LayOutAndRedraw(kRedrawFrameNow);
        return 0;
    case WM_NCPAINT: PaintAfterFrame(wParam); return 0;
    // The window has taken its new size by now; a move to a monitor of another
    // scale that keeps the size gets its new metrics here.
    case WM_DPICHANGED: LayOutAndRedraw(kRedrawFrameNow); return 0;
    default: return 0;
    }
}

void CaptionToolBar::LayOut() {
    const bool fixed = FixedPixelMetrics();
    dpi_ = fixed ? USER_DEFAULT_SCREEN_DPI : WindowDpi(Window());
    RowGeometry geometry = Metrics();
    // Where the program draws its own caption, its own buttons and its own
    // title lie there: no button of ours, so no hit test, paint or click.
    if (!fixed && !InProgramCaption() && !SystemCaptionHolds(Window(), geometry.area))
        geometry.area.left = geometry.area.right;
    row_.Layout(geometry);
    FitGlyphs();
}

void CaptionToolBar::LayOutAndRedraw(UINT redrawFlags) {
    LayOut();
    ::RedrawWindow(Window(), nullptr, nullptr, redrawFlags);
}

POINT CaptionToolBar::ScreenToWindow(LPARAM screenPoint) const {
    const POINT origin = WindowOrigin(Window());
    return {GET_X_LPARAM(screenPoint) - origin.x, GET_Y_LPARAM(screenPoint) - origin.y};
}

POINT CaptionToolBar::ClientToWindow(LPARAM clientPoint) const {
    POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ::ClientToScreen(Window(), &point);
    const POINT origin = WindowOrigin(Window());
    return {point.x - origin.x, point.y - origin.y};
}

int CaptionToolBar::HitTest(POINT inWindow) const { return row_.HitTest(inWindow.x, inWindow.y); }

LRESULT CaptionToolBar::OnNcHitTest(LPARAM screenPoint) {
    const int hit = HitTest(ScreenToWindow(screenPoint));
    if (tooltip_)
        tooltip_->ShowKind(hit >= 0 ? row_[hit].kind : -1);
    return hit >= 0 ? kCaptionButtonHitCode : 0;
}

UniqueRegion CaptionToolBar::SlotRegion(const RECT& rect) const {
    return UniqueRegion(::CreateRectRgnIndirect(&rect));
}

UniqueRegion CaptionToolBar::ButtonRegion() {
    std::vector<RECT> rects = row_.ButtonRects();
    if (rects.empty())
        return UniqueRegion();
    const bool same = rects.size() == regionRects_.size() &&
                      std::equal(rects.begin(), rects.end(), regionRects_.begin(),
                                 [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; });
    if (!same || !buttonRegion_) {
        buttonRegion_.reset(::CreateRectRgn(0, 0, 0, 0));
        for (const RECT& rect : rects) {
            const UniqueRegion part = SlotRegion(rect);
            if (buttonRegion_ && part)
                ::CombineRgn(buttonRegion_.get(), buttonRegion_.get(), part.get(), RGN_OR);
        }
        regionRects_ = std::move(rects);
    }
    UniqueRegion copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy && buttonRegion_)
        ::CombineRgn(copy.get(), buttonRegion_.get(), nullptr, RGN_COPY);
    return copy;
}

// Keeps the frame's own paint off the buttons: they are painted once, after
// it, and would flicker if the caption were drawn over them first.
void CaptionToolBar::ClipFramePaint(WPARAM* updateRegion) {
    const bool wholeFrame = *updateRegion <= kLastNonRegion;
    if (wholeFrame)
        frameClips_.emplace_back();  // paired with the paint's end, whatever happens below
    const UniqueRegion buttons = ButtonRegion();
    if (!buttons)
        return;
    RECT window{};
    ::GetWindowRect(Window(), &window);
    ::OffsetRgn(buttons.get(), window.left, window.top);
    if (!wholeFrame) {
        const auto region = reinterpret_cast<HRGN>(*updateRegion);
        ::CombineRgn(region, region, buttons.get(), RGN_DIFF);
        return;
    }
    UniqueRegion frame(::CreateRectRgnIndirect(&window));
    if (ClipsToWindowRegion()) {
        // The window's own region is relative to its top-left corner.
        UniqueRegion own(::CreateRectRgn(0, 0, 0, 0));
        if (own && ::GetWindowRgn(Window(), own.get()) != ERROR) {
            ::OffsetRgn(own.get(), window.left, window.top);
            frame = std::move(own);
        }
    }
    if (!frame)
        return;
    const int result = ::CombineRgn(frame.get(), frame.get(), buttons.get(), RGN_DIFF);
    if (result == NULLREGION || result == ERROR)
        return;
    *updateRegion = reinterpret_cast<WPARAM>(frame.get());
    frameClips_.back() = std::move(frame);
}

void CaptionToolBar::PaintAfterFrame(WPARAM updateRegion) {
    if (updateRegion <= kLastNonRegion) {
        if (!frameClips_.empty())
            frameClips_.pop_back();
    } else {
        RECT bounds = row_.Bounds();
        const POINT origin = WindowOrigin(Window());
        ::OffsetRect(&bounds, origin.x, origin.y);
        const auto region = reinterpret_cast<HRGN>(updateRegion);
        RECT box{};
        RECT overlap{};
        const bool touched = ::RectInRegion(region, &bounds) ||
                             (::GetRgnBox(region, &box) != ERROR && ::IntersectRect(&overlap, &bounds, &box));
        if (!touched)
            return;
    }
    PaintButtons();
}

void CaptionToolBar::OnSize() {
    const RECT old = row_.Bounds();
    LayOut();
    const RECT& now = row_.Bounds();
    const POINT origin = WindowOrigin(Window());
    POINT corners[2] = {{std::min(old.left, now.left) + origin.x, old.top + origin.y},
                        {std::max(old.right, now.right) + origin.x, old.bottom + origin.y}};
    ::ScreenToClient(Window(), &corners[0]);
    ::ScreenToClient(Window(), &corners[1]);
    const RECT dirty{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    ::RedrawWindow(Window(), &dirty, nullptr, kRedrawFrameNow);
}

LRESULT CaptionToolBar::OnSysCommand(WPARAM command, LPARAM screenPoint) {
    if (IsCaptionClickCommand(command) && HitTest(ScreenToWindow(screenPoint)) >= 0)
        return 1;
    LayOut();
    return 0;
}

void CaptionToolBar::OnNcMouseMove(LPARAM screenPoint) {
    if (pressed_ < 0)
        lastPaintedHot_ = -1;
    else
        Track(ScreenToWindow(screenPoint));
}

void CaptionToolBar::OnNcMouseLeave() {
    hot_ = -1;
    if (lastPaintedHot_ != -1)
        PaintButtons();
}

void CaptionToolBar::OnCaptureChanged(HWND newCapture) {
    // Someone else took the mouse while a button was held (a dialog, a
    // switch of programs): the press is over and no release will come.
    if (pressed_ < 0 || newCapture == Window())
        return;
    pressed_ = hot_ = -1;
    PaintButtons();
}

bool CaptionToolBar::Press(POINT inWindow) {
    const int hit = HitTest(inWindow);
    if (hit < 0)
        return false;
    pressed_ = hot_ = hit;
    ::SetCapture(Window());
    PaintButtons();
    return true;
}

void CaptionToolBar::Track(POINT inWindow) {
    if (pressed_ >= 0)
        Hover(inWindow);
}

void CaptionToolBar::Hover(POINT inWindow) {
    hot_ = HitTest(inWindow);
    if (hot_ != lastPaintedHot_)
        PaintButtons();
}

void CaptionToolBar::Release(POINT inWindow) {
    // Without a press of ours the capture, if any, is the program's own.
    if (pressed_ < 0)
        return;
    const int pressed = pressed_;
    const bool onPressedButton = HitTest(inWindow) == pressed;
    pressed_ = hot_ = -1;
    ::ReleaseCapture();
    if (!onPressedButton) {
        PaintButtons();
        return;
    }
    // A copy: the command may rebuild the toolbars of the window meanwhile.
    const CaptionButtonSlot slot = row_[pressed];
    RunCommand(slot);
    ::RedrawWindow(Window(), nullptr, nullptr, kRedrawFrameNow);
}

void CaptionToolBar::RunCommand(const CaptionButtonSlot& slot) { RunButtonCommand(record_, slot); }

void CaptionToolBar::PaintButtons() {
    lastPaintedHot_ = hot_;
    const RECT& bounds = row_.Bounds();
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return;
    const WindowDC window = WindowDC::OfWindow(Window());
    if (!window)
        return;
    const RowLook look = CurrentLook();
    if (!PrepareBuffer(window.get(), width, height)) {
        Compose(window.get(), look, {0, 0});
        return;
    }
    // The caption behind the buttons shows where a face leaves it uncovered.
    ::BitBlt(bufferDc_.get(), 0, 0, width, height, window.get(), bounds.left, bounds.top, SRCCOPY);
    ::GdiFlush();
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const bool unchanged = look == lastLook_ && lastBackground_.size() == pixels &&
                           std::equal(bufferBits_, bufferBits_ + pixels, lastBackground_.begin());
    if (unchanged) {
        std::copy(lastComposed_.begin(), lastComposed_.end(), bufferBits_);
    } else {
        lastBackground_.assign(bufferBits_, bufferBits_ + pixels);
        Compose(bufferDc_.get(), look, {bounds.left, bounds.top});
        ::GdiFlush();
        lastComposed_.assign(bufferBits_, bufferBits_ + pixels);
        lastLook_ = look;
    }
    ::BitBlt(window.get(), bounds.left, bounds.top, width, height, bufferDc_.get(), 0, 0, SRCCOPY);
}

bool CaptionToolBar::PrepareBuffer(HDC windowDc, int width, int height) {
    if (bufferDc_ && width == bufferSize_.cx && height == bufferSize_.cy)
        return true;
    bufferDc_.reset();
    buffer_.reset();
    bufferBits_ = nullptr;
    lastBackground_.clear();
    uint32_t* bits = nullptr;
    buffer_ = CreatePixelBitmap(windowDc, width, height, &bits);
    bufferDc_.reset(buffer_ ? ::CreateCompatibleDC(windowDc) : nullptr);
    if (!bufferDc_)
        return false;
    ::SelectObject(bufferDc_.get(), buffer_.get());  // stays selected until the DC goes
    bufferBits_ = bits;
    bufferSize_ = {width, height};
    return true;
}

int CaptionToolBar::TrackedState(int index) const {
    if (row_[index].state != 0)
        return row_[index].state;
    if (index != hot_)
        return 0;
    if (index == pressed_)
        return 2;
    return traits_.hotWithoutPress ? 1 : 0;
}

bool CaptionToolBar::IsChecked(int kind) const {
    switch (kind) {
    case kRollUp: return record_.rolledUp;
    case kOnTop: return (::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    case kTransparencyToggle:
        // Only a layered window can be less than opaque; asking the others costs a trip to the system.
        return (::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_LAYERED) && CurrentOpacityPercent(Window()) < 100;
    default: return false;
    }
}

bool CaptionToolBar::ButtonLook::operator==(const ButtonLook& other) const {
    return kind == other.kind && ::EqualRect(&rect, &other.rect) && state == other.state && checked == other.checked;
}

bool CaptionToolBar::RowLook::operator==(const RowLook& other) const {
    return activeCaption == other.activeCaption && buttons == other.buttons;
}

CaptionToolBar::RowLook CaptionToolBar::CurrentLook() const {
    RowLook look;
    look.activeCaption = !traits_.followsActivation || ::GetForegroundWindow() == Window();
    const int count = static_cast<int>(row_.Count());
    for (int step = 0; step < count; ++step) {
        const int i = traits_.paintFirstToLast ? step : count - 1 - step;
        const CaptionButtonSlot& slot = row_[i];
        if (slot.visible && slot.kind != kSeparator)
            look.buttons.push_back({slot.kind, slot.rect, TrackedState(i), IsChecked(slot.kind)});
    }
    return look;
}

void CaptionToolBar::Compose(HDC dc, const RowLook& look, POINT origin) {
    for (const ButtonLook& button : look.buttons) {
        RECT rect = button.rect;
        ::OffsetRect(&rect, -origin.x, -origin.y);
        DrawButton(dc, button.kind, rect, button.state, button.checked, look.activeCaption);
    }
}

void RunButtonCommand(HookedWindow& record, const CaptionButtonSlot& slot) {
    switch (slot.kind) {
    case kSeparator: return;
    case kTransparencyMenu:
        if (const std::unique_ptr<PopupMenu> menu = BuildTransparencyMenu(record))
            TrackMenuAtButton(record, *menu, slot.rect);
        return;
    case kOverflow:
        if (const CaptionToolBar* toolbar = record.Toolbar())
            if (const std::unique_ptr<PopupMenu> menu = BuildKindMenu(record, toolbar->Row().OverflowKinds()))
                TrackMenuAtButton(record, *menu, slot.rect);
        return;
    default: SendKindCommand(record, slot.kind); return;
    }
}

bool DrawsOwnCaption(HWND window) {
    const UINT dpi = WindowDpi(window);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int caption = MetricForDpi((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION, dpi);
    return !SystemCaptionHolds(window, RECT{0, 0, rect.right - rect.left, FrameSize(style, dpi).cy + caption / 2});
}

int SystemButtonCountFromStyle(LONG style, LONG exStyle) {
    if (!(style & WS_SYSMENU))
        return 0;
    const int buttons = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) ? 3 : 1;
    return buttons + ((exStyle & WS_EX_CONTEXTHELP) ? 1 : 0);
}

SIZE FrameSize(LONG style, UINT dpi) {
    if (style & WS_THICKFRAME)
        return {MetricForDpi(SM_CXFRAME, dpi), MetricForDpi(SM_CYFRAME, dpi)};
    return {MetricForDpi(SM_CXDLGFRAME, dpi), MetricForDpi(SM_CYDLGFRAME, dpi)};
}

bool SystemCaptionHolds(HWND window, const RECT& area) {
    RECT client{};
    if (!::GetClientRect(window, &client) || ::IsRectEmpty(&client))
        return true;
    POINT corner{0, 0};
    ::ClientToScreen(window, &corner);
    const POINT origin = WindowOrigin(window);
    ::OffsetRect(&client, corner.x - origin.x, corner.y - origin.y);
    RECT overlap{};
    return !::IntersectRect(&overlap, &client, &area);
}

TitleBar ReadTitleBar(HWND window) {
    TitleBar result;
    TITLEBARINFO info{};
    info.cbSize = sizeof info;
    if (!::GetTitleBarInfo(window, &info))
        return result;
    const POINT origin = WindowOrigin(window);
    result.known = true;
    result.rect = info.rcTitleBar;
    ::OffsetRect(&result.rect, -origin.x, -origin.y);
    // rgstate: 0 the bar, 1 reserved, 2 minimise, 3 maximise, 4 help, 5 close.
    for (int i = 2; i <= 5; ++i)
        if (!(info.rgstate[i] & STATE_SYSTEM_INVISIBLE))
            ++result.visibleButtons;
    return result;
}

int SystemButtonCount(const TitleBar& titleBar, LONG style, LONG exStyle) {
    return titleBar.known ? titleBar.visibleButtons : SystemButtonCountFromStyle(style, exStyle);
}

HFONT CaptionToolBar::CaptionFont() {
    if (captionFont_ && captionFontDpi_ == dpi_)
        return captionFont_.get();
    captionFont_.reset();
    captionFontDpi_ = dpi_;
    NONCLIENTMETRICSW metrics{};
    bool read = false;
    if (const auto forDpi = Api().SystemParametersInfoForDpi) {
        metrics.cbSize = sizeof metrics;
        read = forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi_) != FALSE;
    }
    if (!read) {
        // Up to the caption fonts: the size every version of the system accepts.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        read = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
    }
    if (read) {
        const bool small = (::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        captionFont_.reset(::CreateFontIndirectW(small ? &metrics.lfSmCaptionFont : &metrics.lfCaptionFont));
    }
    return captionFont_.get();
}

int CaptionToolBar::LeftOfCaptionText(int left, int right, int maxExtent) {
    if (record_.Settings().AllowOverflowCaptionText)
        return left;
    const WindowDC windowDc = WindowDC::OfWindow(Window());
    const HDC dc = windowDc.get();
    constexpr int kTextCapacity = 256;
    wchar_t text[kTextCapacity] = L"";
    int length = ::GetWindowTextW(Window(), text, kTextCapacity);
    if (length <= 0)
        length = static_cast<int>(
            record_.CallPrevious(WM_GETTEXT, kTextCapacity, reinterpret_cast<LPARAM>(text)));
    length = std::clamp(length, 0, kTextCapacity - 1);
    if (length == 0 || !dc)
        return std::min(left, right);
    // Without the caption font (no metrics) the DC's own font measures.
    const SelectGuard select(dc, CaptionFont());
    SIZE extent{};
    int fit = 0;
    if (!::GetTextExtentExPointW(dc, text, length, std::max(maxExtent, 0), &fit, nullptr, &extent))
        return std::min(left, right);
    return std::min(left + static_cast<int>(extent.cx), right);
}

void CaptionToolBar::DrawGlyph(HDC dc, int kind, const RECT& rect, int state, bool checked,
                               bool activeCaption) const {
    if (glyphs_)
        glyphs_->Draw(Window(), dc, rect, kind, checked ? 2 : state, activeCaption);
}

}  // namespace kz
