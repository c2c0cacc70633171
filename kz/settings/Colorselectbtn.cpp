#include "kz/settings/Colorselectbtn.h"

#include "common/Dpi.h"

#include <commdlg.h>

namespace kz {

namespace {

constexpr wchar_t kButtonClass[] = L"TColorSelectBtn";
constexpr wchar_t kPaletteClass[] = L"TTColorSelectForm";
constexpr int kEdit1Id = 1;
constexpr int kSpeedButton1Id = 2;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

void Fill(HDC dc, const RECT& r, COLORREF color) {
    const UniqueBrush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &r, brush.get());
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
    const UniqueHandle<NullHandleTraits<HPEN, DeleteGdiObject>> pen(::CreatePen(PS_SOLID, 1, color));
    const SelectGuard select(dc, pen.get());
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

}  // namespace

// ---- TColorSelectBtn ----

WindowPtr<TColorSelectBtn> TColorSelectBtn::Create(HWND parent, int id, int left, int top) {
    return WindowBase::Create(WindowClass{kButtonClass, CS_DBLCLKS},
                              WindowSpec{0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, L"", left, top, kWidth, kHeight,
                                         parent, id});
}

void TColorSelectBtn::FSetColor(COLORREF color) {
    color_ = color;
    ::InvalidateRect(Window(), nullptr, FALSE);
}

SIZE TColorSelectBtn::Size() const {
    RECT r{};
    ::GetClientRect(Window(), &r);
    return {r.right, r.bottom};
}

LRESULT TColorSelectBtn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: return OnLButtonDown();
    case WM_MOUSEMOVE: return OnMouseMove(PointOf(lParam));
    case WM_LBUTTONUP: return OnLButtonUp(PointOf(lParam));
    case WM_LBUTTONDBLCLK:
        if (::IsWindowEnabled(Window()) && OnDblClick)
            OnDblClick();
        return 0;
    case WM_CAPTURECHANGED: ::InvalidateRect(Window(), nullptr, FALSE); return 0;
    case WM_PAINT: return OnPaint();
    default: return ::DefWindowProcW(Window(), message, wParam, lParam);
    }
}

LRESULT TColorSelectBtn::OnLButtonDown() {
    if (!::IsWindowEnabled(Window()))
        return 0;
    pressed_ = true;
    ::SetCapture(Window());
    return 0;
}

LRESULT TColorSelectBtn::OnMouseMove(POINT point) {
    const SIZE size = Size();
    if (::GetCapture() == Window() && (point.x <= 0 || point.x >= size.cx || point.y <= 0 || point.y >= size.cy))
        ::ReleaseCapture();
    return 0;
}

LRESULT TColorSelectBtn::OnLButtonUp(POINT point) {
    if (!::IsWindowEnabled(Window()))
        return 0;
    pressed_ = false;
    const SIZE size = Size();
    const bool inside = point.x >= 1 && point.x < size.cx && point.y >= 1 && point.y < size.cy;
    ::ReleaseCapture();
    if (inside)
        DropDown();
    return 0;
}

void TColorSelectBtn::DropDown() {
    const WindowPtr<TTColorSelectForm> palette = TTColorSelectForm::Create(*this);
    if (!palette)
        return;
    RECT button{};
    ::GetWindowRect(Window(), &button);
    RECT frame{};
    ::GetWindowRect(palette->Window(), &frame);
    const PalettePlace place =
        PlacePalette(button.left, button.top, Size().cy, frame.right - frame.left, frame.bottom - frame.top,
                     ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(palette->Window(), HWND_TOP, place.left, place.top, 0, 0, SWP_NOSIZE);
    if (OnClick)
        OnClick();
    ::ShowWindow(palette->Window(), SW_SHOW);
    MSG msg;
    while (!palette->Closed() && ::GetActiveWindow() == palette->Window()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (palette->HandleKey(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (palette->ModalResult() == TTColorSelectForm::kChosen)
        FSetColor(palette->SwatchColor());
}

LRESULT TColorSelectBtn::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    FRedrawBtn(dc);
    ::EndPaint(Window(), &paint);
    return 0;
}

void TColorSelectBtn::FRedrawBtn(HDC dc) const {
    const SIZE s = Size();
    const int w = s.cx;
    const int h = s.cy;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    Fill(dc, {0, 0, w, h}, face);
    Fill(dc, {2, 2, w - 2, h - 2}, color_);
    // The drop-down mark in the bottom-right corner.
    const RECT corner{w - w / 3, h - h / 3, w, h};
    Fill(dc, corner, face);
    const int cx = (corner.left + corner.right) / 2;
    const int cy = (corner.top + corner.bottom) / 2;
    const POINT triangle[] = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}};
    {
        const UniqueBrush black(::CreateSolidBrush(kBlack));
        const UniqueHandle<NullHandleTraits<HPEN, DeleteGdiObject>> outline(::CreatePen(PS_SOLID, 1, face));
        const SelectGuard selectBrush(dc, black.get());
        const SelectGuard selectPen(dc, outline.get());
        ::Polygon(dc, triangle, 3);
    }
    // Raised outer edge.
    Line(dc, 0, h - 1, 0, 0, light);
    Line(dc, 0, 0, w - 1, 0, light);
    Line(dc, w - 1, 0, w - 1, h - 1, shadow);
    Line(dc, w - 1, h - 1, -1, h - 1, shadow);
    // Sunken inner edge around the colour, following the corner's notch.
    Line(dc, 2, corner.top, 2, 2, shadow);
    Line(dc, 2, 2, w - 3, 2, shadow);
    Line(dc, 2, h - 3, corner.left, h - 3, light);
    Line(dc, corner.left, h - 3, corner.left, corner.top, light);
    Line(dc, corner.left, corner.top, w - 3, corner.top, light);
}

// ---- TTColorSelectForm ----

TTColorSelectForm::TTColorSelectForm(TColorSelectBtn& button)
    : button_(button), swatch_(button.Color()), dpi_(WindowDpi(button.Window())) {}

WindowPtr<TTColorSelectForm> TTColorSelectForm::Create(TColorSelectBtn& button) {
    // At the scale of the button's monitor, where it opens.
    const UINT dpi = WindowDpi(button.Window());
    RECT frame{0, 0, ScaleToDpi(kClientWidth, dpi), ScaleToDpi(kClientHeight, dpi)};
    AdjustWindowRectForDpi(frame, WS_POPUP, WS_EX_TOOLWINDOW, dpi);
    const HWND owner = ::GetAncestor(button.Window(), GA_ROOT);
    WindowPtr<TTColorSelectForm> palette = WindowBase::Create(
        WindowClass{kPaletteClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
        WindowSpec{WS_EX_TOOLWINDOW, WS_POPUP, L"", 0, 0, frame.right - frame.left, frame.bottom - frame.top, owner},
        button);
    if (palette)
        palette->Start(owner);
    return palette;
}

void TTColorSelectForm::Start(HWND owner) {
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(owner, WM_GETFONT, 0, 0));
    edit1_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"#      ", WS_CHILD | WS_VISIBLE | ES_UPPERCASE, Px(55),
                               Px(1), Px(57), Px(21), Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEdit1Id)),
                               Instance(), nullptr);
    ::SendMessageW(edit1_, EM_SETLIMITTEXT, 7, 0);
    ::SendMessageW(edit1_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const HWND speedButton =
        ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_BITMAP | BS_FLAT, Px(kClientWidth - 24), 0, Px(23),
                          Px(22), Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpeedButton1Id)), Instance(),
                          nullptr);
    speedButtonPicture_.reset(static_cast<HBITMAP>(::LoadImageW(Instance(), L"COLORDIALOG", IMAGE_BITMAP, 0, 0, 0)));
    ::SendMessageW(speedButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(speedButtonPicture_.get()));
    DrawPalette();
}

LRESULT TTColorSelectForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: return OnMouseMove(PointOf(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnClick(PointOf(lParam));
    case WM_COMMAND: return OnCommand(wParam);
    case WM_PAINT: return OnPaint();
    case WM_CLOSE: Close(kCancelled); return 0;
    case WM_NCDESTROY: closed_ = true; break;
    default: break;
    }
    return ::DefWindowProcW(Window(), message, wParam, lParam);
}

bool TTColorSelectForm::HandleKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != Window() && !::IsChild(Window(), msg.hwnd)))
        return false;
    if (msg.wParam == VK_RETURN) {
        if (button_.OnChange)
            button_.OnChange();
        Close(kChosen);
        return true;
    }
    if (msg.wParam == VK_ESCAPE) {
        Close(kCancelled);
        return true;
    }
    return false;
}

LRESULT TTColorSelectForm::OnMouseMove(POINT point) {
    if (point.y < Px(kPaletteTop))
        return 0;
    const int column = point.x / Cell();
    const int row = (point.y - Px(kPaletteTop)) / Cell();
    const std::optional<Colour> colour = PaletteCellColour(column, row);
    if (!colour || (column == hoveredColumn_ && row == hoveredRow_))
        return 0;
    if (hoveredColumn_ >= 0)
        OutlineCell(hoveredColumn_, hoveredRow_, kBlack);
    hoveredColumn_ = column;
    hoveredRow_ = row;
    SetSwatch(*colour);
    ::SetWindowTextW(edit1_, HexFieldText(*colour).c_str());
    OutlineCell(column, row, kWhite);
    return 0;
}

LRESULT TTColorSelectForm::OnClick(POINT point) {
    const int top = Px(kPaletteTop);
    const bool onPalette = point.y >= top && point.y < top + kPaletteRows * Cell() && point.x >= 0 &&
                           point.x < kPaletteColumns * Cell();
    if (onPalette)
        Choose();
    else
        Close(kCancelled);
    return 0;
}

LRESULT TTColorSelectForm::OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) == kEdit1Id && HIWORD(wParam) == EN_CHANGE)
        Edit1Change();
    else if (LOWORD(wParam) == kSpeedButton1Id && HIWORD(wParam) == BN_CLICKED)
        SpeedButton1Click();
    return 0;
}

void TTColorSelectForm::Edit1Change() {
    wchar_t text[16] = {};
    ::GetWindowTextW(edit1_, text, 16);
    if (const std::optional<Colour> colour = ParseHexField(text)) {
        button_.FSetColor(*colour);
        SetSwatch(*colour);
    }
}

void TTColorSelectForm::SpeedButton1Click() {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Window();
    dialog.rgbResult = swatch_;
    dialog.lpCustColors = customColors_;
    dialog.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    if (!::ChooseColorW(&dialog))
        return;
    button_.FSetColor(dialog.rgbResult);
    SetSwatch(dialog.rgbResult);
    ::SetWindowTextW(edit1_, HexFieldText(dialog.rgbResult).c_str());
    result_ = kChosen;
    if (button_.OnChange)
        button_.OnChange();
    Close(kChosen);
}

void TTColorSelectForm::Choose() {
    result_ = kChosen;
    button_.FSetColor(swatch_);
    if (button_.OnChange)
        button_.OnChange();
    Close(kChosen);
}

void TTColorSelectForm::Close(Result result) {
    result_ = result;
    closed_ = true;
    ::ShowWindow(Window(), SW_HIDE);
}

LRESULT TTColorSelectForm::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    // Shape1: the swatch with a black outline.
    {
        const UniqueBrush fill(::CreateSolidBrush(swatch_));
        const SelectGuard brush(dc, fill.get());
        const SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
        ::Rectangle(dc, Px(1), Px(1), Px(50), Px(22));
    }
    const UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    const SelectGuard select(memory.get(), imgPalete_.get());
    ::BitBlt(dc, 0, Px(kPaletteTop), kPaletteColumns * Cell(), kPaletteRows * Cell(), memory.get(), 0, 0, SRCCOPY);
    ::EndPaint(Window(), &paint);
    return 0;
}

void TTColorSelectForm::DrawPalette() {
    const WindowDC screen = WindowDC::OfClient(nullptr);
    imgPalete_.reset(::CreateCompatibleBitmap(screen.get(), kPaletteColumns * Cell(), kPaletteRows * Cell()));
    const UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    const SelectGuard select(memory.get(), imgPalete_.get());
    for (int column = 0; column < kPaletteColumns; ++column) {
        for (int row = 0; row < kPaletteRows; ++row) {
            const RECT cell = CellRect(column, row, 0);
            Fill(memory.get(), cell, *PaletteCellColour(column, row));
            const UniqueBrush outline(::CreateSolidBrush(kBlack));
            ::FrameRect(memory.get(), &cell, outline.get());
        }
    }
}

void TTColorSelectForm::OutlineCell(int column, int row, COLORREF color) {
    {
        const UniqueMemoryDC memory(::CreateCompatibleDC(nullptr));
        const SelectGuard select(memory.get(), imgPalete_.get());
        const RECT cell = CellRect(column, row, 0);
        const UniqueBrush outline(::CreateSolidBrush(color));
        ::FrameRect(memory.get(), &cell, outline.get());
    }
    const RECT onWindow = CellRect(column, row, Px(kPaletteTop));
    ::InvalidateRect(Window(), &onWindow, FALSE);
}

int TTColorSelectForm::Px(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

int TTColorSelectForm::Cell() const { return Px(kPaletteCell); }

RECT TTColorSelectForm::CellRect(int column, int row, int top) const {
    const int cell = Cell();
    return RECT{column * cell, top + row * cell, (column + 1) * cell, top + (row + 1) * cell};
}

void TTColorSelectForm::SetSwatch(COLORREF color) {
    swatch_ = color;
    const RECT shape{Px(1), Px(1), Px(50), Px(22)};
    ::InvalidateRect(Window(), &shape, FALSE);
}

}  // namespace kz
