// The handler that puts the added buttons into a window's caption. The base
// class does what the styles that draw straight into the frame share: the
// row, the mouse tracking, the clipping of the frame's own paint and the
// command step. The styles decide the metrics and draw the buttons.
#pragma once

#include "common/Dpi.h"
#include "common/Handles.h"
#include "trelmo/toolbar/ButtonTooltip.h"
#include "trelmo/toolbar/CaptionButtonRow.h"
#include "trelmo/hook/SystemApi.h"
#include "trelmo/hook/WindowHandler.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace kz {

class CaptionButtonGlyphPainter;
class HookedWindow;

// The hit-test answer over a button. It is no code of the system's, so the
// system leaves clicks there alone and they reach the toolbar.
constexpr LRESULT kCaptionButtonHitCode = 65;

class CaptionToolBar : public WindowHandler {
public:
    CaptionToolBar(const CaptionToolBar&) = delete;
    CaptionToolBar& operator=(const CaptionToolBar&) = delete;
    // Repaints the frame, which then shows no buttons.
    ~CaptionToolBar() override;

    LRESULT OnMessage(UINT message, WPARAM* wParam, LPARAM* lParam) override;
    LRESULT AfterMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    const CaptionButtonRow& Row() const { return row_; }

protected:
    // How a style of the family tracks and paints.
    struct Traits {
        bool hotWithoutPress;    // a button under the pointer is drawn hot even when nothing is pressed
        bool paintFirstToLast;   // else last to first
        bool followsActivation;  // inactive captions get their own look; else always the active one
    };

    CaptionToolBar(HookedWindow& record, Traits traits);

    // Where the buttons go now, in window coordinates.
    virtual RowGeometry Metrics() = 0;
    // rect: where the button goes on dc; state: the tracked state (0 normal,
    // 1 hot, 2 pressed, 3 disabled); checked: the button's command is in
    // force (rolled up, on top, transparent).
    virtual void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) = 0;
    // The part of the frame one button covers, in window coordinates.
    virtual UniqueRegion SlotRegion(const RECT& rect) const;
    // Whether the frame's paint of the whole frame starts from the window's own region.
    virtual bool ClipsToWindowRegion() const { return true; }
    // The style places its buttons at fixed pixels over a caption the program
    // draws itself (Office, Skype): at 100 % whatever the window's scale.
    // Every other style follows the window's scale and shows its buttons only
    // on a caption of the system's making.
    virtual bool FixedPixelMetrics() const { return false; }
    // The style finds its place in a caption the program draws itself, from
    // what the program's own hit test reports.
    virtual bool InProgramCaption() const { return false; }

    // The end of every style's construction: lay out, add the tooltip, paint.
    void Start();
    void UseGlyphColours(COLORREF activeRgb, COLORREF inactiveRgb);
    CaptionButtonGlyphPainter* GlyphPainter() const { return glyphs_; }

    // Lays the row out in the window's scale, read here and kept for the
    // metrics, the caption font and the glyphs until the next layout.
    void LayOut();
    UINT Dpi() const { return dpi_; }
    // A system metric in the scale of the last layout.
    int Metric(int index) const { return MetricForDpi(index, dpi_); }
    void PaintButtons();
    int HitTest(POINT inWindow) const;
    // Presses the button under the point; false on a miss.
    bool Press(POINT inWindow);
    // The pointer moved with the mouse captured: follows it on and off the pressed button.
    void Track(POINT inWindow);
    // Hot marking without a press; repaints only when the hot button changes.
    void Hover(POINT inWindow);
    void ClearTracking() { pressed_ = hot_ = -1; }

    // The left limit moved right past the window's caption text, measured
    // in the caption's font up to maxExtent, at most to right; left as it is
    // where the settings let the buttons cover the text.
    int LeftOfCaptionText(int left, int right, int maxExtent);

    // Faces for buttons of rect's size: those held when they have that
    // size, else the ones acquire(width, height) gives in their place.
    template <typename Faces, typename Acquire>
    static void FitFaces(Faces*& faces, const RECT& rect, Acquire acquire) {
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        if (faces && faces->HasSize(width, height))
            return;
        if (faces)
            faces->Release();
        faces = acquire(width, height);
    }
    // The glyph over a face drawn in state: the face follows the pointer,
    // the glyph also shows a command in force.
    void DrawGlyph(HDC dc, int kind, const RECT& rect, int state, bool checked, bool activeCaption) const;

    POINT ScreenToWindow(LPARAM screenPoint) const;
    HWND Window() const;
    // The button's command is in force: rolled up, on top, less than opaque.
    bool IsChecked(int kind) const;

    HookedWindow& record_;
    CaptionButtonRow row_;

private:
    LRESULT OnNcHitTest(LPARAM screenPoint);
    void ClipFramePaint(WPARAM* updateRegion);
    void PaintAfterFrame(WPARAM updateRegion);
    void OnSize();
    LRESULT OnSysCommand(WPARAM command, LPARAM screenPoint);
    void OnNcMouseMove(LPARAM screenPoint);
    void OnNcMouseLeave();
    void OnCaptureChanged(HWND newCapture);
    void Release(POINT inWindow);
    void RunCommand(const CaptionButtonSlot& slot);
    void LayOutAndRedraw(UINT redrawFlags);
    // The glyphs for the scale of the last layout.
    void FitGlyphs();

    POINT ClientToWindow(LPARAM clientPoint) const;
    UniqueRegion ButtonRegion();
    // How every button is to look now; two equal looks on the same caption
    // give the same pixels.
    struct ButtonLook {
        int kind;
        RECT rect;
        int state;
        bool checked;
        bool operator==(const ButtonLook& other) const;
    };
    struct RowLook {
        bool activeCaption = true;
        std::vector<ButtonLook> buttons;
        bool operator==(const RowLook& other) const;
    };
    RowLook CurrentLook() const;
    HFONT CaptionFont();
    void Compose(HDC dc, const RowLook& look, POINT origin);
    bool PrepareBuffer(HDC windowDc, int width, int height);
    int TrackedState(int index) const;

    Traits traits_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    int pressed_ = -1;
    int hot_ = -1;
    int lastPaintedHot_ = -1;
    std::unique_ptr<ButtonTooltip> tooltip_;
    // A window's DC holds the system font, not the caption's: the text is
    // measured in the font the caption is drawn in. Read once per toolbar and
    // scale, so a rebuild after a change of settings reads it again.
    UniqueFont captionFont_;
    UINT captionFontDpi_ = 0;
    CaptionButtonGlyphPainter* glyphs_ = nullptr;
    COLORREF glyphActive_ = 0;
    COLORREF glyphInactive_ = 0;
    // The buttons are composed off screen and copied to the frame at once:
    // no flicker, and drawing into a bitmap of the library's own is much
    // cheaper than drawing into the window's frame piece by piece. The last
    // composition is kept with the caption it was drawn on: the frame is
    // repainted far more often than the buttons change.
    UniqueBitmap buffer_;
    UniqueMemoryDC bufferDc_;
    uint32_t* bufferBits_ = nullptr;
    SIZE bufferSize_{};
    RowLook lastLook_;
    std::vector<uint32_t> lastBackground_;
    std::vector<uint32_t> lastComposed_;
    // The union of the buttons' regions for the rects it was made of; theme
    // regions are slow to compute and change only with the layout.
    std::vector<RECT> regionRects_;
    UniqueRegion buttonRegion_;
    // Regions handed to the frame's own paint in place of the whole frame;
    // freed when that paint is done (one per paint in progress).
    std::vector<UniqueRegion> frameClips_;
};

// The command step of a clicked button of the record's window: the roll
// sequence, the transparency and overflow menus, or the kind's command.
void RunButtonCommand(HookedWindow& record, const CaptionButtonSlot& slot);

// How many of minimise, maximise, help and close a window shows, from its
// style bits, for when the title bar cannot be asked.
int SystemButtonCountFromStyle(LONG style, LONG exStyle);

// The frame's width and height as the system metrics give them for a style, at a scale.
SIZE FrameSize(LONG style, UINT dpi);

// Whether the system made a caption where area lies (window coordinates): a
// program that draws its own caption has its client area there.
bool SystemCaptionHolds(HWND window, const RECT& area);
// Whether the window draws its caption itself: its client area reaches up
// into the upper half of where the system's caption would be.
bool DrawsOwnCaption(HWND window);

// The title bar as the system reports it, in window coordinates.
struct TitleBar {
    bool known = false;  // the system could be asked
    RECT rect{};
    int visibleButtons = 0;  // of minimise, maximise, help and close
};
TitleBar ReadTitleBar(HWND window);
// The system buttons the title bar shows, or what the style bits promise.
int SystemButtonCount(const TitleBar& titleBar, LONG style, LONG exStyle);


}  // namespace kz
