#include "kz/commands/Ubox.h"

#include "kz/commands/Boxicon.h"
#include "kz/commands/Boxmenu.h"
#include "kz/commands/Boxplacement.h"
#include "common/Dpi.h"

#include <algorithm>

namespace kz {

namespace {

constexpr UINT_PTR kTargetCheckTimer = 1;
constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

RECT PrimaryWorkArea() {
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return workArea;
}

UINT PrimaryMonitorDpi() { return MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

TfrmBox::TfrmBox(const BoxContext& context, HWND target, UniqueIcon icon)
    : context_(context), target_(target), icon_(std::move(icon)) {}

WindowPtr<TfrmBox> TfrmBox::Create(const BoxContext& context, HWND target, UniqueIcon icon, int size) {
    // Double clicks give the window back. Owned by the host's main window: no
    // taskbar button, and left out of the host's own list of windows that
    // carry caption buttons.
    WindowPtr<TfrmBox> box =
        WindowBase::Create(WindowClass{kBoxWindowClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS},
                           WindowSpec{WS_EX_TOPMOST, WS_POPUP, L"", 0, 0, size, size, context.mainWindow}, context,
                           target, std::move(icon));
    if (box)
        box->Start();
    return box;
}

void TfrmBox::Start() {
    // Semi-transparent where the system can: without the function the box is opaque.
    if (context_.layered.CanSetAlpha()) {
        const LONG_PTR exStyle = ::GetWindowLongPtrW(Window(), GWL_EXSTYLE);
        ::SetWindowLongPtrW(Window(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        if (!context_.layered.SetAlpha(Window(), kBoxAlpha))
            ::SetWindowLongPtrW(Window(), GWL_EXSTYLE, exStyle);
    }
    ::SetTimer(Window(), kTargetCheckTimer, kTargetCheckIntervalMs, nullptr);
    context_.stickManager.Register(this);
}

TfrmBox::~TfrmBox() {
    if (!closed_)
        context_.stickManager.Unregister(this);
}

void TfrmBox::Close(WindowPtr<TfrmBox> box) {
    if (!box)
        return;
    box->closed_ = true;
    box->context_.stickManager.Unregister(box.get());
    if (box->Window()) {
        ::KillTimer(box->Window(), kTargetCheckTimer);
        ::ShowWindow(box->Window(), SW_HIDE);
    }
}

LRESULT TfrmBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: return OnPrintClient(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN: return OnLButtonDown(PointOf(lParam));
    case WM_MOUSEMOVE: return OnMouseMove(PointOf(lParam));
    case WM_LBUTTONUP: return OnLButtonUp(PointOf(lParam));
    case WM_CAPTURECHANGED: return OnCaptureChanged();
    case WM_LBUTTONDBLCLK: return OnDoubleClick();
    case WM_CONTEXTMENU: return OnContextMenu(PointOf(lParam));
    case WM_COMMAND: return OnCommand(LOWORD(wParam));
    case WM_MEASUREITEM: return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DPICHANGED: return OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
    case WM_TIMER:
        if (wParam == kTargetCheckTimer)
            return OnTimer();
        break;
    }
    return ::DefWindowProcW(Window(), message, wParam, lParam);
}

void TfrmBox::SetIconSize(int size) {
    ::SetWindowPos(Window(), nullptr, 0, 0, size, size, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Window(), nullptr, FALSE);
}

void TfrmBox::ShowAt(POINT topLeft) {
    ::SetWindowPos(Window(), HWND_TOPMOST, topLeft.x, topLeft.y, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

BoxRect TfrmBox::Bounds() const {
    RECT rect{};
    ::GetWindowRect(Window(), &rect);
    return BoxRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TfrmBox::PaintInto(HDC dc) const {
    RECT client{};
    ::GetClientRect(Window(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    // The icon's own largest image, scaled by the system to the box's size.
    if (icon_)
        ::DrawIconEx(dc, 0, 0, icon_.get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
}

LRESULT TfrmBox::OnPaint() {
    PAINTSTRUCT paint;
    if (HDC dc = ::BeginPaint(Window(), &paint)) {
        PaintInto(dc);
        ::EndPaint(Window(), &paint);
    }
    return 0;
}

LRESULT TfrmBox::OnPrintClient(HDC dc) {
    PaintInto(dc);
    return 0;
}

bool TfrmBox::TargetAlive() {
    if (::IsWindow(target_))
        return true;
    if (!closed_)
        context_.actions.TargetGone(target_);
    return false;
}

LRESULT TfrmBox::OnLButtonDown(POINT at) {
    if (!TargetAlive())
        return 0;
    grip_ = at;
    dragging_ = true;
    ::SetCapture(Window());
    return 0;
}

void TfrmBox::DragTo(POINT at) {
    const BoxRect bounds = Bounds();
    const SnapResult end =
        context_.stickManager.Snap(*this, bounds.left + at.x - grip_.x, bounds.top + at.y - grip_.y);
    ::SetWindowPos(Window(), nullptr, end.x, end.y, 0, 0, kMoveOnly);
}

LRESULT TfrmBox::OnMouseMove(POINT at) {
    if (dragging_) {
        DragTo(at);
        ::UpdateWindow(Window());
    }
    return 0;
}

LRESULT TfrmBox::OnLButtonUp(POINT at) {
    if (!dragging_)
        return 0;
    DragTo(at);
    dragging_ = false;
    ::ReleaseCapture();
    return 0;
}

LRESULT TfrmBox::OnCaptureChanged() {
    dragging_ = false;
    return 0;
}

LRESULT TfrmBox::OnDoubleClick() {
    // The first click of the pair began a drag: it ends here, so the mouse
    // moves that follow move nothing.
    dragging_ = false;
    if (::GetCapture() == Window())
        ::ReleaseCapture();
    if (TargetAlive() && !closed_)
        context_.actions.ShowWindowOf(target_);
    return 0;
}

LRESULT TfrmBox::OnContextMenu(POINT at) {
    if (!TargetAlive())
        return 0;
    if (at.x == -1 && at.y == -1) {  // from the keyboard: at the box's corner
        const BoxRect bounds = Bounds();
        at = POINT{bounds.left, bounds.top};
    }
    const UniqueMenu menu = BuildBoxMenu(context_.actions.ArrangementInForce());
    if (!menu)
        return 0;
    // The menu closes when the user clicks elsewhere only if the box is in front.
    ::SetForegroundWindow(Window());
    const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, Window(), nullptr));
    ::PostMessageW(Window(), WM_NULL, 0, 0);
    return OnCommand(command);
}

LRESULT TfrmBox::OnCommand(UINT command) {
    // The box may have been closed while its menu was open.
    if (closed_ || command == 0)
        return 0;
    const HWND target = target_;
    if (command == kShowWindowCommand)
        context_.actions.ShowWindowOf(target);
    else if (command == kCloseWindowCommand)
        context_.actions.CloseWindowOf(target);
    else if (const int code = ArrangementOfCommand(command))
        context_.actions.ChooseArrangement(code);
    return 0;
}

LRESULT TfrmBox::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU)
        return FALSE;
    MeasureArrangementItem(item, WindowDpi(Window()));
    return TRUE;
}

LRESULT TfrmBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU)
        return FALSE;
    DrawArrangementItem(item, WindowDpi(Window()));
    return TRUE;
}

LRESULT TfrmBox::OnTimer() {
    TargetAlive();
    return 0;
}

LRESULT TfrmBox::OnDpiChanged(const RECT& suggested) {
    // Dragged onto a monitor of another scale: as large to the eye as before.
    ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Window(), nullptr, FALSE);
    return 0;
}

TBoxList::TBoxList(HWND mainWindow, TImpProfile& executor)
    : executor_(executor),
      context_{mainWindow, stickManager_, *this, layered_},
      boxSize_(kDefaultBoxSize),
      arrangement_(executor.Arrangement()) {
    if (!IsArrangement(arrangement_))
        arrangement_ = kDefaultArrangement;
}

TBoxList::~TBoxList() {
    for (WindowPtr<TfrmBox>& box : boxes_)
        TfrmBox::Close(std::move(box));
}

void TBoxList::SetBoxSize(int size) {
    if (size > 0)
        boxSize_ = size;
}

std::vector<WindowPtr<TfrmBox>>::iterator TBoxList::Find(HWND target) {
    return std::find_if(boxes_.begin(), boxes_.end(),
                        [target](const WindowPtr<TfrmBox>& box) { return box->TargetWnd() == target; });
}

const TfrmBox* TBoxList::BoxOf(HWND target) const {
    for (const WindowPtr<TfrmBox>& box : boxes_)
        if (box->TargetWnd() == target)
            return box.get();
    return nullptr;
}

bool TBoxList::HasBox(HWND target) const { return BoxOf(target) != nullptr; }

void TBoxList::AddBox(HWND target, HICON icon, int) {
    if (HasBox(target))
        return;
    boxSize_ = EffectiveBoxSize(boxSize_);
    std::vector<RECT> standing;
    standing.reserve(boxes_.size());
    for (const WindowPtr<TfrmBox>& box : boxes_) {
        const BoxRect bounds = box->Bounds();
        standing.push_back(RECT{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height});
    }
    const int size = PixelSize();
    const int slot = FirstFreeSlot(arrangement_, size, PrimaryWorkArea(), standing, PixelGap());
    WindowPtr<TfrmBox> box = TfrmBox::Create(context_, target, LargestIconOf(target, icon), size);
    if (!box)
        return;
    TfrmBox& added = *box;
    boxes_.push_back(std::move(box));
    PlaceAtSlot(added, slot);
}

void TBoxList::RemoveBox(HWND target) {
    const auto found = Find(target);
    if (found == boxes_.end())
        return;
    WindowPtr<TfrmBox> box = std::move(*found);
    boxes_.erase(found);
    TfrmBox::Close(std::move(box));
}

void TBoxList::PlaceAtSlot(TfrmBox& box, int slot) {
    // A size in force below the smallest box is raised for good.
    boxSize_ = EffectiveBoxSize(boxSize_);
    const int size = PixelSize();
    box.SetIconSize(size);
    box.ShowAt(BoxSlotPosition(arrangement_, slot, size, PrimaryWorkArea(), PixelGap()));
}

int TBoxList::PixelSize() const { return ScaleToDpi(EffectiveBoxSize(boxSize_), PrimaryMonitorDpi()); }

int TBoxList::PixelGap() const { return ScaleToDpi(kBoxGap, PrimaryMonitorDpi()); }

void TBoxList::PlaceBox(int index) {
    if (index < 0 || index >= Count())
        return;
    PlaceAtSlot(*boxes_[static_cast<std::size_t>(index)], index);
}

void TBoxList::SetArrangement(int code) {
    if (!IsArrangement(code))
        return;
    arrangement_ = code;
    for (int index = 0; index < Count(); ++index)
        PlaceBox(index);
}

void TBoxList::ShowWindowOf(HWND target) {
    executor_.SetVisible(target, true);
    executor_.SetInBox(target, false);
    // A box the executor did not know of goes all the same.
    RemoveBox(target);
}

void TBoxList::CloseWindowOf(HWND target) {
    // Shown first: a window that refuses to close stays in sight. Posted, so
    // that the host never waits for another program's answer.
    ShowWindowOf(target);
    ::PostMessageW(target, WM_CLOSE, 0, 0);
}

void TBoxList::ChooseArrangement(int code) {
    executor_.SetArrangement(code);
    // The executor lines the boxes up through this list when it is connected
    // to it; the choice holds all the same when it is not.
    if (arrangement_ != code)
        SetArrangement(code);
}

void TBoxList::TargetGone(HWND target) {
    executor_.ForgetWindow(target);
    RemoveBox(target);
}

}  // namespace kz
