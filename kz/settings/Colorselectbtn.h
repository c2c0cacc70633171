// The colour selection button: a small control that shows a colour and, when
// clicked, drops down a palette window from which the user picks a colour by
// pointing, by typing its hexadecimal value, or through the system's colour
// dialog.
#pragma once

#include "common/Handles.h"
#include "common/WindowBase.h"
#include "kz/settings/Colorpalette.h"

#include <windows.h>

#include <functional>

namespace kz {

class TColorSelectBtn final : public WindowBase<TColorSelectBtn> {
public:
    static constexpr int kWidth = 25;
    static constexpr int kHeight = 24;

    // A visible child of parent at (left, top), 25 x 24 pixels, the size at
    // 100 % that its page scales; nothing when it cannot be made.
    static WindowPtr<TColorSelectBtn> Create(HWND parent, int id, int left, int top);

    COLORREF Color() const { return color_; }
    // Stores the colour and redraws.
    void FSetColor(COLORREF color);

    // A click was recognised: fired just before the palette opens.
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // A colour was chosen in the palette.
    std::function<void()> OnChange;

    // Opens the palette below the button and waits, processing messages,
    // until it closes or another window becomes active.
    void DropDown();

private:
    friend WindowBase;
    TColorSelectBtn() = default;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown();
    LRESULT OnMouseMove(POINT point);
    LRESULT OnLButtonUp(POINT point);
    LRESULT OnPaint();
    void FRedrawBtn(HDC dc) const;
    SIZE Size() const;

    COLORREF color_ = 0;
    bool pressed_ = false;
};

// The drop-down palette: a swatch, the hexadecimal field, the button for the
// system colour dialog and the palette picture. Made for one pick, at the
// scale of the button's monitor; the sizes below are those at 100 %.
class TTColorSelectForm final : public WindowBase<TTColorSelectForm> {
public:
    static constexpr int kClientWidth = 208;
    static constexpr int kClientHeight = 143;
    static constexpr int kPaletteTop = 23;
    enum Result { kChosen = 1, kCancelled = 2 };

    // The palette of button, hidden; nothing when it cannot be made.
    static WindowPtr<TTColorSelectForm> Create(TColorSelectBtn& button);

    int ModalResult() const { return result_; }
    bool Closed() const { return closed_; }
    COLORREF SwatchColor() const { return swatch_; }

    // Key presses that the palette takes from any of its windows: Enter
    // chooses, Esc cancels. True when the key was taken.
    bool HandleKey(const MSG& msg);

private:
    friend WindowBase;
    explicit TTColorSelectForm(TColorSelectBtn& button);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The hexadecimal field in owner's font, the dialog's button and the palette picture.
    void Start(HWND owner);
    LRESULT OnMouseMove(POINT point);
    LRESULT OnClick(POINT point);
    LRESULT OnCommand(WPARAM wParam);
    LRESULT OnPaint();
    void Edit1Change();
    void SpeedButton1Click();
    void Choose();
    void Close(Result result);
    void DrawPalette();
    void OutlineCell(int column, int row, COLORREF color);
    void SetSwatch(COLORREF color);
    // Pixels at 100 %, at the palette's scale; a cell's side; a cell's
    // rectangle in a picture whose palette begins at top.
    int Px(int designPixels) const;
    int Cell() const;
    RECT CellRect(int column, int row, int top) const;

    TColorSelectBtn& button_;
    HWND edit1_ = nullptr;
    UniqueBitmap imgPalete_;
    UniqueBitmap speedButtonPicture_;
    COLORREF swatch_ = 0;
    UINT dpi_;
    int hoveredRow_ = -1;
    int hoveredColumn_ = -1;
    int result_ = kCancelled;
    bool closed_ = false;
    COLORREF customColors_[16] = {};
};

}  // namespace kz
