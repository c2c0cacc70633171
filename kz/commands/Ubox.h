// Box windows: a window minimised to a box is hidden, and a small
// borderless, always-on-top, semi-transparent square with its icon stands
// for it on the desktop, lined up with the other boxes. A box can be
// dragged (it sticks to the work area's edges and to other boxes), gives
// its window back on a double click, and has a menu to show or close the
// window and to choose the arrangement of all boxes.
#pragma once

#include "kz/commands/Impprofile.h"
#include "kz/commands/LayeredWindows.h"
#include "kz/commands/Ustickmanager.h"

#include "common/Handles.h"
#include "common/WindowBase.h"

#include <windows.h>

#include <vector>

namespace kz {

// The window class of the boxes.
constexpr wchar_t kBoxWindowClass[] = L"TfrmBox";
// The opacity of a box, as a layered window's alpha.
constexpr BYTE kBoxAlpha = 200;
// How often a box checks that its window still exists, in milliseconds.
constexpr UINT kTargetCheckIntervalMs = 1000;

// What a box asks for when the user acts on it.
class BoxActions {
public:
    virtual ~BoxActions() = default;
    // Double click and "&Show window": the window back, its box away.
    virtual void ShowWindowOf(HWND target) = 0;
    // "&Close window": as ShowWindowOf, then the window is asked to close.
    virtual void CloseWindowOf(HWND target) = 0;
    virtual void ChooseArrangement(int code) = 0;
    // The window no longer exists: its box goes away.
    virtual void TargetGone(HWND target) = 0;
    virtual int ArrangementInForce() const = 0;
};

// What every box of one list shares.
struct BoxContext {
    HWND mainWindow;  // owner of every box
    TStickManager& stickManager;
    BoxActions& actions;
    const LayeredWindows& layered;
};

// One box. It is created hidden at 0,0; its list places and shows it.
class TfrmBox final : public StickyForm, public WindowBase<TfrmBox> {
public:
    // The box of target, size x size; nothing when its window cannot be made.
    static WindowPtr<TfrmBox> Create(const BoxContext& context, HWND target, UniqueIcon icon, int size);
    ~TfrmBox() override;

    // Takes the box off the desktop at once and lets go of it: it is freed
    // when its window's messages have returned (a box is often closed by
    // what its own click set off).
    static void Close(WindowPtr<TfrmBox> box);

    HWND TargetWnd() const { return target_; }
    // Makes the box size x size; the icon is drawn at that size.
    void SetIconSize(int size);
    // Moves the box there and shows it without activating it.
    void ShowAt(POINT topLeft);
    BoxRect Bounds() const override;

private:
    friend WindowBase;
    TfrmBox(const BoxContext& context, HWND target, UniqueIcon icon);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Semi-transparent, checking its window, and snapping with the others.
    void Start();

    LRESULT OnPaint();
    LRESULT OnPrintClient(HDC dc);
    LRESULT OnLButtonDown(POINT at);
    LRESULT OnMouseMove(POINT at);
    LRESULT OnLButtonUp(POINT at);
    LRESULT OnCaptureChanged();
    LRESULT OnDoubleClick();
    LRESULT OnContextMenu(POINT at);
    LRESULT OnCommand(UINT command);
    LRESULT OnMeasureItem(MEASUREITEMSTRUCT& item);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT OnTimer();
    LRESULT OnDpiChanged(const RECT& suggested);

    void PaintInto(HDC dc) const;
    // Moves the box as the mouse at client point at drags it, snapped.
    void DragTo(POINT at);
    // False, and the box is on its way out, when its window is gone.
    bool TargetAlive();

    BoxContext context_;
    HWND target_;
    UniqueIcon icon_;
    POINT grip_{};  // where in the box the drag took hold
    bool dragging_ = false;
    bool closed_ = false;
};

// The boxes of the host, in slot order of their creation, and what the
// executor asks of them. One per host; it owns the stick manager the boxes
// snap with.
class TBoxList : public BoxWindows, private BoxActions {
public:
    // mainWindow: the host's main window, owner of every box.
    TBoxList(HWND mainWindow, TImpProfile& executor);
    ~TBoxList() override;
    TBoxList(const TBoxList&) = delete;
    TBoxList& operator=(const TBoxList&) = delete;

    // The side of new boxes and of every box at its next placement, in
    // pixels at 100 %: the boxes are as large to the eye at every scale.
    void SetBoxSize(int size);
    int BoxSize() const { return boxSize_; }
    int Arrangement() const { return arrangement_; }
    int Count() const { return static_cast<int>(boxes_.size()); }
    const TfrmBox& operator[](int index) const { return *boxes_[static_cast<std::size_t>(index)]; }
    // The box of target; null when it has none.
    const TfrmBox* BoxOf(HWND target) const;

    bool HasBox(HWND target) const override;
    // Creates the box of target with the largest icon the window offers
    // (icon included) and puts it in the first free slot of the arrangement.
    void AddBox(HWND target, HICON icon, int iconSize) override;
    void RemoveBox(HWND target) override;
    // Puts box number index (creation order) at slot number index.
    void PlaceBox(int index) override;
    // Makes code the arrangement in force and lines every box up in it; a
    // code that names no arrangement changes nothing.
    void SetArrangement(int code) override;

private:
    void ShowWindowOf(HWND target) override;
    void CloseWindowOf(HWND target) override;
    void ChooseArrangement(int code) override;
    void TargetGone(HWND target) override;
    int ArrangementInForce() const override { return arrangement_; }

    std::vector<WindowPtr<TfrmBox>>::iterator Find(HWND target);
    void PlaceAtSlot(TfrmBox& box, int slot);
    // The side and the gap of the boxes, in pixels of the work area's monitor.
    int PixelSize() const;
    int PixelGap() const;

    TImpProfile& executor_;
    LayeredWindows layered_;
    TStickManager stickManager_;
    BoxContext context_;
    int boxSize_;
    int arrangement_;
    std::vector<WindowPtr<TfrmBox>> boxes_;
};

// The work area boxes line up in: the primary monitor's.
RECT PrimaryWorkArea();
// The scale of the monitor whose work area that is.
UINT PrimaryMonitorDpi();

}  // namespace kz
