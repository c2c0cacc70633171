#include "trelmo/hook/HookedWindow.h"
#include "common/Protocol.h"
#include "trelmo/paint/PainterGeometry.h"
#include "tests/toolbar/ToolbarWindowSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kz::test {
namespace {

class ToolbarPaint : public ToolbarWindowTest {
protected:
    // The caption band of the window, in window coordinates, left of the system buttons.
    RECT CaptionBand() {
        TITLEBARINFO info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(::GetTitleBarInfo(Window(), &info));
        RECT window{};
        ::GetWindowRect(Window(), &window);
        RECT band = info.rcTitleBar;
        ::OffsetRect(&band, -window.left, -window.top);
        band.right -= 3 * ::GetSystemMetrics(SM_CXSIZE);
        return band;
    }

    // Every visible button lies in the caption band and shows glyph pixels of the colour.
    void ExpectButtonsDrawnIn(COLORREF colour, const char* when) {
        SCOPED_TRACE(when);
        const RECT band = CaptionBand();
        int shown = 0;
        for (std::size_t i = 0; i < Row().Count(); ++i) {
            const CaptionButtonSlot& slot = Row()[i];
            if (!slot.visible)
                continue;
            ++shown;
            SCOPED_TRACE(testing::Message() << "kind " << slot.kind);
            EXPECT_GE(slot.rect.left, band.left);
            EXPECT_LE(slot.rect.right, band.right);
            EXPECT_GE(slot.rect.top, band.top);
            EXPECT_LE(slot.rect.bottom, band.bottom);
            EXPECT_GE(CountPixels(FramePixels(Window(), slot.rect), RgbOfColorref(colour)), 6);
        }
        EXPECT_GT(shown, 0);
    }
};

LibrarySettings WithGlyphColour(COLORREF colour) {
    LibrarySettings settings = DefaultLibrarySettings();
    settings.GlyphColor = colour;
    settings.GlyphColorAutodetect = false;
    return settings;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

TEST_P(ToolbarPaint, ButtonsAreDrawnInTheCaptionInTheGlyphColourAndStayAfterTheFrameRepaints) {
    Open(WithGlyphColour(kRed));
    ASSERT_EQ(Row().VisibleCount(), 9);
    ExpectButtonsDrawnIn(kRed, "after attach");
    RepaintFrame();
    ExpectButtonsDrawnIn(kRed, "after the frame repainted");
    ::SendMessageW(Window(), WM_NCPAINT, 1, 0);
    ExpectButtonsDrawnIn(kRed, "after a paint of the whole frame");

    ChangeSettings(WithGlyphColour(kGreen));
    ExpectButtonsDrawnIn(kGreen, "after the colour changed");
    for (std::size_t i = 0; i < Row().Count(); ++i) {
        if (Row()[i].visible) {
            EXPECT_EQ(CountPixels(FramePixels(Window(), Row()[i].rect), RgbOfColorref(kRed)), 0);
        }
    }
}

TEST_P(ToolbarPaint, NarrowWindowShowsTheOverflowButtonLeftOfTheButtonsThatFit) {
    Open(WithGlyphColour(kRed), 320);
    const CaptionButtonSlot& overflow = Row()[0];
    ASSERT_EQ(overflow.kind, kOverflow);
    ASSERT_TRUE(overflow.visible);
    ASSERT_GT(Row().VisibleCount(), 1);
    ASSERT_LT(Row().VisibleCount(), 9);
    ExpectButtonsDrawnIn(kRed, "narrow");
    // The hidden buttons are the leftmost ones.
    const std::vector<int> hidden = Row().OverflowKinds();
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(hidden.front(), kToTray);
    EXPECT_FALSE(Row()[hidden.size()].visible);
    EXPECT_TRUE(Row()[hidden.size() + 1].visible);

    // Widening the window brings them back and takes the overflow button away.
    ::SetWindowPos(Window(), nullptr, 0, 0, 600, 320, SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    EXPECT_EQ(Row().VisibleCount(), 9);
    EXPECT_FALSE(Row()[0].visible);
    ExpectButtonsDrawnIn(kRed, "widened");
}

// A button whose command is in force looks pressed, and normal again once it is not.
TEST_P(ToolbarPaint, RollUpOnTopAndTransparencyButtonsShowTheirStateAsPressed) {
    Open(DefaultLibrarySettings());
    struct Case {
        int kind;
        void (*apply)(ToolbarPaint&, bool on);
    };
    const Case cases[] = {
        {kRollUp, [](ToolbarPaint& t, bool) { t.Click(kRollUp); }},
        {kOnTop,
         [](ToolbarPaint& t, bool on) {
             ::SetWindowPos(t.Window(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
         }},
        {kTransparencyToggle,
         [](ToolbarPaint& t, bool on) {
             const LONG exStyle = ::GetWindowLongW(t.Window(), GWL_EXSTYLE);
             ::SetWindowLongW(t.Window(), GWL_EXSTYLE, on ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
             if (on)
                 ::SetLayeredWindowAttributes(t.Window(), 0, 128, LWA_ALPHA);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        RepaintFrame();
        const std::vector<uint32_t> normal = Pixels(c.kind);
        NcButtonDown(OnButton(c.kind));
        const std::vector<uint32_t> pressed = Pixels(c.kind);
        MouseMove(InClientArea());
        ButtonUp(InClientArea());
        ASSERT_NE(pressed, normal);

        c.apply(*this, true);
        if (c.kind == kOnTop) {
            ASSERT_TRUE(::GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        }
        RepaintFrame();
        const std::vector<uint32_t> checked = Pixels(c.kind);
        EXPECT_NE(checked, normal);
        // The classic face and glyph are both drawn pressed; the themed face
        // follows the pointer and only the glyph shows the state.
        if (GetParam() == Look::Classic) {
            EXPECT_EQ(checked, pressed);
        }

        c.apply(*this, false);
        RepaintFrame();
        EXPECT_EQ(Pixels(c.kind), normal);
    }
    EXPECT_EQ(Host().Count(HM_ROLL), 2);
}

TEST_P(ToolbarPaint, WithTheHostGoneTheNextMessageTakesTheButtonsAndEntriesAwayUntold) {
    Open(WithGlyphColour(kRed));
    ExpectButtonsDrawnIn(kRed, "attached");
    std::vector<RECT> buttons;
    for (std::size_t i = 0; i < Row().Count(); ++i)
        if (Row()[i].visible)
            buttons.push_back(Row()[i].rect);
    const UniqueWindow plain(CreateTestWindow());
    const int programsOwnEntries = ::GetMenuItemCount(::GetSystemMenu(plain.get(), FALSE));
    ASSERT_GT(::GetMenuItemCount(::GetSystemMenu(Window(), FALSE)), programsOwnEntries);

    // What the host does at exit, before it unhooks.
    library_.SetHostWindow(nullptr);
    Host().Clear();
    ::SendMessageW(Window(), WM_NULL, 0, 0);
    EXPECT_FALSE(library_.IsAttached(Window()));
    EXPECT_NE(::GetWindowLongPtrW(Window(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SubclassProcedure));
    EXPECT_EQ(::GetMenuItemCount(::GetSystemMenu(Window(), FALSE)), programsOwnEntries);
    for (const RECT& rect : buttons)
        EXPECT_EQ(CountPixels(FramePixels(Window(), rect), RgbOfColorref(kRed)), 0);
    EXPECT_TRUE(Host().Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Looks, ToolbarPaint, testing::Values(Look::Classic, Look::Themed), LookName);

// The caption text as the caption draws it: in the caption font.
class CaptionTextRoom : public ToolbarWindowTest {
protected:
    static int TextWidth(HDC dc, const std::wstring& text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    void SetTitle(const std::wstring& title) {
        ::SetWindowTextW(Window(), title.c_str());
        PumpPending();
    }
};

TEST_P(CaptionTextRoom, ATitleThatLeavesJustRoomForEveryButtonShowsThemAllWithoutOverflow) {
    Open(DefaultLibrarySettings(), 560);
    SetTitle(L"A");
    ASSERT_EQ(Row().VisibleCount(), 9);
    ASSERT_EQ(Row()[0].kind, kOverflow);
    // Right of the icon, up to the leftmost button.
    const int room = Row()[1].rect.left - (2 * ::GetSystemMetrics(SM_CXFRAME) + 16);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const UniqueFont captionFont(::CreateFontIndirectW(&metrics.lfCaptionFont));
    const WindowDC dc = WindowDC::OfWindow(Window());
    const std::wstring words = L"Quorvane Barquill keeps every one of its caption buttons beside this rather long "
                               L"window title, measured exactly as the caption draws it on the screen";
    std::wstring title;
    {
        const SelectGuard select(dc.get(), captionFont.get());
        while (title.size() < words.size() && TextWidth(dc.get(), words.substr(0, title.size() + 1)) <= room)
            title = words.substr(0, title.size() + 1);
        ASSERT_LT(title.size(), words.size());
    }
    // Measured in the window DC's own font the same title would not leave the room.
    ASSERT_GT(TextWidth(dc.get(), title), room);

    SetTitle(title);
    EXPECT_EQ(Row().VisibleCount(), 9);
    EXPECT_FALSE(Row()[0].visible) << "no overflow button";
    // One character more and the leftmost button gives way to the overflow button.
    SetTitle(words.substr(0, title.size() + 1));
    EXPECT_TRUE(Row()[0].visible);
    EXPECT_LT(Row()[1].rect.left, Row()[0].rect.right);
}

INSTANTIATE_TEST_SUITE_P(Looks, CaptionTextRoom, testing::Values(Look::Classic), LookName);

}  // namespace
}  // namespace kz::test
