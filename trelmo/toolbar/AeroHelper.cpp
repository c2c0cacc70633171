#include "trelmo/toolbar/AeroHelper.h"

#include "common/Dib.h"
#include "trelmo/paint/DibTarget.h"
#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"
#include "trelmo/hook/SystemApi.h"

#include <algorithm>
#include <atomic>

namespace kz {

namespace {

std::atomic<std::size_t> g_helpers{0};

const wchar_t* ClassNameOf(HelperClass helperClass) {
    return helperClass == HelperClass::Aero ? kAeroHelperClassName : kOffice2007HelperClassName;
}

}  // namespace

// ---- the helper window ---------------------------------------------------

AeroHelper::AeroHelper(HelperWindowToolBar& toolbar) : toolbar_(toolbar) { ++g_helpers; }

WindowPtr<AeroHelper> AeroHelper::Create(HelperWindowToolBar& toolbar, HelperClass helperClass, HWND owner,
                                         const RECT& screenRect) {
    DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    if (helperClass == HelperClass::Office2007)
        exStyle |= WS_EX_COMPOSITED;
    // Black turns to glass.
    return WindowBase::Create(
        WindowClass{ClassNameOf(helperClass), 0, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))},
        WindowSpec{exStyle, WS_POPUP, L"", screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                   screenRect.bottom - screenRect.top, owner},
        toolbar);
}

AeroHelper::~AeroHelper() {
    // Let go of on another thread, the window could not take its tooltip
    // along: that closes on its own thread too.
    if (tooltip)
        ::PostMessageW(tooltip->Window(), WM_CLOSE, 0, 0);
    --g_helpers;
}

std::size_t CountHelpers() { return g_helpers.load(); }

void UnregisterHelperClasses() {
    if (CountHelpers() != 0)
        return;
    for (HelperClass helperClass : {HelperClass::Aero, HelperClass::Office2007})
        AeroHelper::UnregisterWindowClass(ClassNameOf(helperClass));
}

LRESULT AeroHelper::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: tooltip.reset(); break;
    case WM_PAINT: toolbar_.PaintHelper(); return 0;
    case WM_ACTIVATE: return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Window(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return 1;
    }
    case WM_NCHITTEST: return HTCLIENT;
    // The window keeps its activation and the focus stays on whichever of its
    // controls had it.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCCALCSIZE:
        if (wParam) {
            auto* sizes = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            sizes->rgrc[2] = sizes->rgrc[0];  // the client area is the whole window
            return 0;
        }
        break;
    case WM_MOUSEMOVE: toolbar_.TrackInHelper(PointOf(lParam)); break;
    // A click may drag the window or run a command, which may rebuild the
    // window's handlers or let go of the window: they, the toolbar and this
    // helper then stay until the click is done.
    case WM_LBUTTONDOWN: {
        const DispatchScope scope(toolbar_.Record());
        toolbar_.PressInHelper(PointOf(lParam));
        break;
    }
    case WM_LBUTTONUP: {
        const DispatchScope scope(toolbar_.Record());
        toolbar_.ReleaseInHelper(PointOf(lParam));
        break;
    }
    case WM_MOUSELEAVE: toolbar_.LeaveHelper(); return 0;
    case WM_CAPTURECHANGED: toolbar_.HelperLostCapture(reinterpret_cast<HWND>(lParam)); return 0;
    default: break;
    }
    return ::DefWindowProcW(Window(), message, wParam, lParam);
}

// ---- the toolbar ----------------------------------------------------------

HelperWindowToolBar::HelperWindowToolBar(HookedWindow& record, HelperStyle style)
    : CaptionToolBar(record, Traits{true, true, true}), style_(style) {}

HelperWindowToolBar::~HelperWindowToolBar() = default;

void HelperWindowToolBar::StartHelper() {
    LayOut();
    RECT window{};
    ::GetWindowRect(Window(), &window);
    laidOutFor_ = {window.right - window.left, window.bottom - window.top};
    RECT rect = row_.Bounds();
    ::OffsetRect(&rect, window.left, window.top);
    helper_ = AeroHelper::Create(*this, style_.helperClass, Window(), rect);
    if (!helper_)
        return;
    const HWND helperWindow = helper_->Window();
    const SystemApi& api = Api();
    if (style_.glass && api.CompositionEnabled()) {
        const MARGINS wholeWindow{-1, 0, 0, 0};
        if (api.DwmExtendFrameIntoClientArea)
            api.DwmExtendFrameIntoClientArea(helperWindow, &wholeWindow);
        DWM_BLURBEHIND blur{};
        blur.dwFlags = DWM_BB_ENABLE;
        blur.fEnable = FALSE;
        if (api.DwmEnableBlurBehindWindow)
            api.DwmEnableBlurBehindWindow(helperWindow, &blur);
    }
    if (record_.Settings().ShowButtonHints)
        helper_->tooltip = std::make_unique<ButtonTooltip>(helperWindow);
    PositionHelper();
}

void HelperWindowToolBar::PositionHelper() {
    const HWND helperWindow = HelperWindow();
    if (!helperWindow)
        return;
    RECT window{};
    ::GetWindowRect(Window(), &window);
    RECT rect = row_.Bounds();
    ::OffsetRect(&rect, window.left, window.top);
    // A minimised window is still visible, somewhere off the desktop or as
    // an icon: its buttons are not.
    const bool show = ::IsWindowVisible(Window()) && !::IsIconic(Window()) && !::IsRectEmpty(&rect);
    const bool shown = ::IsWindowVisible(helperWindow) != FALSE;
    RECT& placed = helper_->placed;
    const bool resized = rect.right - rect.left != placed.right - placed.left ||
                         rect.bottom - rect.top != placed.bottom - placed.top;
    if (show == shown && ::EqualRect(&rect, &placed))
        return;  // a move of the window that leaves the buttons where they are costs nothing more
    const UINT flags = SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    ::SetWindowPos(helperWindow, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
    placed = rect;
    if (resized)
        InvalidateHelper();
    if (show && style_.paintsAtOnce)
        ::UpdateWindow(helperWindow);
}

void HelperWindowToolBar::LayOutAndPosition() {
    LayOut();
    PositionHelper();
}

void HelperWindowToolBar::InvalidateHelper() {
    if (const HWND helperWindow = HelperWindow())
        ::InvalidateRect(helperWindow, nullptr, FALSE);
}

LRESULT HelperWindowToolBar::OnMessage(UINT message, WPARAM*, LPARAM* lParam) {
    if (!HelperWindow())
        return 0;
    switch (message) {
    case WM_SIZE:
    case WM_SIZING: LayOutAndPosition(); return 0;
    case WM_ACTIVATE:
    case WM_SHOWWINDOW:
    case WM_NCACTIVATE:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_MDIMAXIMIZE: RefreshOnActivation(); return 0;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(*lParam)); return 0;
    case WM_MOVING: PositionHelper(); return 0;
    default: return 0;
    }
}

LRESULT HelperWindowToolBar::AfterMessage(UINT message, WPARAM, LPARAM) {
    if (!HelperWindow())
        return 0;
    switch (message) {
    case WM_ACTIVATE: PositionHelper(); return 0;
    // A new caption text moves the left limit of the buttons.
    case WM_SETTEXT: LayOutAndPosition(); return 0;
    // The window has taken its new size: the buttons take the new scale.
    case WM_DPICHANGED:
        LayOutAndPosition();
        InvalidateHelper();
        return 0;
    default: return 0;
    }
}

void HelperWindowToolBar::RefreshOnActivation() {
    LayOut();
    const HWND focus = ::GetFocus();
    PositionHelper();
    InvalidateHelper();  // the faces follow the caption's activation
    if (focus && ::GetFocus() != focus && ::IsWindow(focus))
        ::SetFocus(focus);
}

void HelperWindowToolBar::OnWindowPosChanged(const WINDOWPOS& position) {
    RECT window{};
    ::GetWindowRect(Window(), &window);
    const SIZE size{window.right - window.left, window.bottom - window.top};
    // A move keeps the layout: it is made in window coordinates.
    if (size.cx != laidOutFor_.cx || size.cy != laidOutFor_.cy || !(position.flags & SWP_NOSIZE)) {
        LayOut();
        laidOutFor_ = size;
    }
    PositionHelper();
}

PixelImage HelperWindowToolBar::ComposedPixels() const {
    if (!helper_ || !helper_->bufferDc)
        return PixelImage{nullptr, 0, 0};
    return PixelImage{helper_->rows.top, helper_->bufferSize.cx, helper_->bufferSize.cy};
}

bool HelperWindowToolBar::ActiveCaption() const { return ::GetForegroundWindow() == Window(); }

RECT HelperWindowToolBar::SlotRectInHelper(int index) const {
    RECT rect = row_[index].rect;
    ::OffsetRect(&rect, -row_.Bounds().left, -row_.Bounds().top);
    return rect;
}

int HelperWindowToolBar::HitTestHelper(POINT point) const {
    return HitTest({point.x + row_.Bounds().left, point.y + row_.Bounds().top});
}

void HelperWindowToolBar::InvalidateSlot(int index) {
    if (index < 0 || index >= static_cast<int>(row_.Count()))
        return;
    const RECT rect = SlotRectInHelper(index);
    ::InvalidateRect(HelperWindow(), &rect, FALSE);
}

void HelperWindowToolBar::PressInHelper(POINT point) {
    const int hit = HitTestHelper(point);
    if (hit < 0) {
        // The empty parts of the helper are caption: the window is dragged by them.
        POINT screen = point;
        ::ClientToScreen(HelperWindow(), &screen);
        const LPARAM at = MAKELPARAM(screen.x, screen.y);
        const LRESULT code = record_.CallPrevious(WM_NCHITTEST, 0, at);
        record_.CallPrevious(WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), at);
        return;
    }
    helper_->pressed = helper_->hot = hit;
    ::SetCapture(HelperWindow());
    InvalidateHelper();
}

void HelperWindowToolBar::TrackInHelper(POINT point) {
    AeroHelper& helper = *helper_;
    helper.hot = HitTestHelper(point);
    if (helper.hot != helper.lastPaintedHot) {
        InvalidateSlot(helper.lastPaintedHot);
        InvalidateSlot(helper.hot);
        if (helper.tooltip)
            helper.tooltip->ShowKind(helper.hot >= 0 ? row_[helper.hot].kind : -1);
        helper.lastPaintedHot = helper.hot;
    }
    if (!helper.tracking) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, HelperWindow(), HOVER_DEFAULT};
        helper.tracking = ::TrackMouseEvent(&leave) != FALSE;
    }
}

void HelperWindowToolBar::ReleaseInHelper(POINT point) {
    AeroHelper& helper = *helper_;
    const int pressed = helper.pressed;
    const bool onPressed = pressed >= 0 && HitTestHelper(point) == pressed;
    helper.pressed = helper.hot = -1;
    if (::GetCapture() == HelperWindow())
        ::ReleaseCapture();
    if (!onPressed)
        return;
    // A copy: the command may rebuild the window's toolbar meanwhile.
    const CaptionButtonSlot slot = row_[pressed];
    RunButtonCommand(record_, slot);
    InvalidateHelper();
}

void HelperWindowToolBar::LeaveHelper() {
    AeroHelper& helper = *helper_;
    helper.tracking = false;
    helper.hot = -1;
    if (helper.lastPaintedHot != -1) {
        InvalidateSlot(helper.lastPaintedHot);
        helper.lastPaintedHot = -1;
    }
    if (helper.tooltip)
        helper.tooltip->ShowKind(-1);
}

void HelperWindowToolBar::HelperLostCapture(HWND newCapture) {
    // Someone else took the mouse while a button was held: no release will come.
    if (helper_->pressed < 0 || newCapture == HelperWindow())
        return;
    helper_->pressed = helper_->hot = -1;
    InvalidateHelper();
}

bool HelperWindowToolBar::PrepareBuffer(HDC dc, SIZE size) {
    AeroHelper& helper = *helper_;
    if (helper.bufferDc && size.cx == helper.bufferSize.cx && size.cy == helper.bufferSize.cy)
        return true;
    helper.bufferDc.reset();
    uint32_t* bits = nullptr;
    helper.buffer = CreatePixelBitmap(dc, size.cx, size.cy, &bits);
    helper.bufferDc.reset(helper.buffer ? ::CreateCompatibleDC(dc) : nullptr);
    if (!helper.bufferDc)
        return false;
    ::SelectObject(helper.bufferDc.get(), helper.buffer.get());  // stays selected until the DC goes
    helper.rows = PixelRows{bits, size.cx, size.cy, size.cx};
    helper.bufferSize = size;
    return true;
}

namespace {

class PaintGuard {
public:
    explicit PaintGuard(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    ~PaintGuard() { ::EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

void HelperWindowToolBar::PaintHelper() {
    const HWND helperWindow = HelperWindow();
    const PaintGuard paint(helperWindow);
    RECT client{};
    ::GetClientRect(helperWindow, &client);
    const SIZE size{client.right, client.bottom};
    if (!paint.dc() || size.cx <= 0 || size.cy <= 0 || !PrepareBuffer(paint.dc(), size))
        return;
    AeroHelper& helper = *helper_;
    helper.lastPaintedHot = helper.hot;

    // Everything the buttons leave is transparent: glass, or the black background.
    const PixelRows& rows = helper.rows;
    std::fill(rows.top, rows.top + static_cast<std::size_t>(size.cx) * size.cy, 0u);
    const HelperCanvas canvas{helper.bufferDc.get(), rows, client};
    const bool active = ActiveCaption();
    for (std::size_t i = 0; i < row_.Count(); ++i) {
        const CaptionButtonSlot& slot = row_[i];
        if (!slot.visible || slot.kind == kSeparator)
            continue;
        const int index = static_cast<int>(i);
        int state = slot.state;
        if (state == 0 && index == helper.hot)
            state = index == helper.pressed ? 2 : 1;
        DrawHelperButton(canvas, slot.kind, SlotRectInHelper(index), state, IsChecked(slot.kind), active);
    }
    ::GdiFlush();

    const SystemApi& api = Api();
    if (style_.glass && api.BeginBufferedPaint && api.CompositionEnabled()) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        BP_PAINTPARAMS params{sizeof params, 0, nullptr, &blend};
        HDC bufferedDc = nullptr;
        if (const HPAINTBUFFER buffered =
                api.BeginBufferedPaint(paint.dc(), &client, BPBF_TOPDOWNDIB, &params, &bufferedDc)) {
            ::BitBlt(bufferedDc, 0, 0, size.cx, size.cy, helper.bufferDc.get(), 0, 0, SRCCOPY);
            api.EndBufferedPaint(buffered, TRUE);
            return;
        }
    }
    ::BitBlt(paint.dc(), 0, 0, size.cx, size.cy, helper.bufferDc.get(), 0, 0, SRCCOPY);
}

void HelperWindowToolBar::DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked,
                                     bool activeCaption) {
    const std::optional<DibTarget> target = DibTargetOf(dc);
    if (target)
        DrawHelperButton(HelperCanvas{dc, target->rows, target->clip}, kind, rect, state, checked, activeCaption);
}

}  // namespace kz
