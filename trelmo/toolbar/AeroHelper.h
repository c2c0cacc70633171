// Toolbars whose buttons live in a helper window of their own: where the
// window manager draws the frame (glass) a program cannot paint into it, and
// Office draws its caption itself. A borderless, never activated popup owned
// by the captioned window is kept exactly over the button area; it draws the
// buttons and takes their clicks.
#pragma once

#include "common/Handles.h"
#include "common/WindowBase.h"
#include "trelmo/toolbar/ButtonTooltip.h"
#include "trelmo/toolbar/CaptionToolBar.h"
#include "trelmo/paint/PixelCopy.h"

#include <windows.h>

#include <memory>

namespace kz {

class HelperWindowToolBar;

// The two window classes of the helpers.
enum class HelperClass { Aero, Office2007 };

constexpr wchar_t kAeroHelperClassName[] = L"ToolBarAeroHelperWindow";
constexpr wchar_t kOffice2007HelperClassName[] = L"ToolBarOffice2007HelperWindow";

// One helper window and its tracking state, owned by its toolbar. The window
// can go first (it goes with its owner); the record then stays without one.
class AeroHelper final : public WindowBase<AeroHelper> {
public:
    // The helper over screenRect, owned by owner; nothing when it cannot be made.
    static WindowPtr<AeroHelper> Create(HelperWindowToolBar& toolbar, HelperClass helperClass, HWND owner,
                                        const RECT& screenRect);
    ~AeroHelper();

    int pressed = -1;
    int hot = -1;
    int lastPaintedHot = -1;
    bool tracking = false;  // a leave notification is requested
    std::unique_ptr<ButtonTooltip> tooltip;
    RECT placed{};  // where the helper was last put, screen coordinates

    // The buttons composed off screen: premultiplied pixels of the helper's size.
    UniqueBitmap buffer;
    UniqueMemoryDC bufferDc;
    PixelRows rows{};
    SIZE bufferSize{};

private:
    friend WindowBase;
    explicit AeroHelper(HelperWindowToolBar& toolbar);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HelperWindowToolBar& toolbar_;
};

// The live helpers of the process, both classes; none may outlive its toolbar.
std::size_t CountHelpers();
// Unregisters the helper window classes; at unload, once no helper is left.
void UnregisterHelperClasses();

class HelperWindowToolBar : public CaptionToolBar {
public:
    ~HelperWindowToolBar() override;

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The helper window, or null when it could not be made or has gone.
    HWND HelperWindow() const { return helper_ ? helper_->Window() : nullptr; }
    // The helper's last paint as it was composed, premultiplied, before the
    // window manager blends it over the caption; no pixels before the first.
    PixelImage ComposedPixels() const;
    HookedWindow& Record() const { return record_; }

    // The helper window's events; points in helper client coordinates.
    void PaintHelper();
    void PressInHelper(POINT point);
    void TrackInHelper(POINT point);
    void ReleaseInHelper(POINT point);
    void LeaveHelper();
    void HelperLostCapture(HWND newCapture);

protected:
    struct HelperStyle {
        HelperClass helperClass;
        bool glass;           // extend glass over the helper and paint it buffered, when composed
        bool paintsAtOnce;    // positioning paints the helper straight away
    };
    HelperWindowToolBar(HookedWindow& record, HelperStyle style);

    // The end of a style's construction: lay out, make the helper, put it in place.
    void StartHelper();
    // Puts the helper over the buttons, shown when its owner shows; repaints
    // it when its size changed.
    void PositionHelper();
    void LayOutAndPosition();
    void InvalidateHelper();

    // Where the helper's paint draws: its off-screen DC and that DC's pixels.
    struct HelperCanvas {
        HDC dc;
        PixelRows rows;
        RECT clip;
    };
    virtual void DrawHelperButton(const HelperCanvas& canvas, int kind, const RECT& rect, int state, bool checked,
                                  bool activeCaption) = 0;
    virtual bool ActiveCaption() const;
    void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) override;

private:
    // Lays out, keeps the focus where it was while the helper is moved, and repaints it.
    void RefreshOnActivation();
    void OnWindowPosChanged(const WINDOWPOS& position);
    int HitTestHelper(POINT point) const;
    RECT SlotRectInHelper(int index) const;
    void InvalidateSlot(int index);
    bool PrepareBuffer(HDC dc, SIZE size);

    HelperStyle style_;
    WindowPtr<AeroHelper> helper_;
    SIZE laidOutFor_{-1, -1};  // the window size of the last layout
};

}  // namespace kz
