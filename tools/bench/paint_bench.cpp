// Prints what painting the added caption buttons costs: nine buttons in the
// classic and the XP style, painted after the frame, and how many buttons are
// drawn again while the pointer moves within one button; nine buttons of the
// glass style in its helper window, and the helper following a moved window.
// Run with WINEDLLOVERRIDES="dwmapi=n,b" beside the stand-in dwmapi.dll of
// the tests, the glass style also paints through the buffered paint of a
// composed desktop.
// The flat style of Windows 10 and 11: nine buttons at 100 % here and at
// 200 % in a copy of the bench started on a desktop of that scale (Wine's
// scale is read by each process as it starts), and the lookups of the
// window's scale that moves and pointer moves cost: none, since the scale is
// read at layout only.
#include "common/BindFunction.h"
#include "common/Dib.h"
#include "common/Dpi.h"
#include "trelmo/paint/CaptionButtonPainters.h"
#include "trelmo/toolbar/CaptionToolBarAero.h"
#include "trelmo/toolbar/CaptionToolBarStd.h"
#include "trelmo/toolbar/CaptionToolBarWin10.h"
#include "trelmo/toolbar/CaptionToolBarXP.h"
#include "trelmo/hook/HookedWindow.h"
#include "tests/support/LibraryInProcess.h"
#include "common/Protocol.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/SystemDpi.h"
#include "tests/support/TestWindows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kz {
namespace {

// A style that counts the buttons it draws.
template <typename Style>
class Counting : public Style {
public:
    using Style::Style;
    static inline long draws = 0;

    // Draws the visible buttons into dc, the row's top-left at (0, 0), as
    // composing them after a change of look does.
    void DrawRow(HDC dc, int state) {
        const CaptionButtonRow& row = this->Row();
        for (std::size_t i = 0; i < row.Count(); ++i) {
            if (!row[i].visible || row[i].kind == kSeparator)
                continue;
            RECT rect = row[i].rect;
            ::OffsetRect(&rect, -row.Bounds().left, -row.Bounds().top);
            Style::DrawButton(dc, row[i].kind, rect, state, false, true);
        }
    }

protected:
    void DrawButton(HDC dc, int kind, const RECT& rect, int state, bool checked, bool active) override {
        ++draws;
        Style::DrawButton(dc, kind, rect, state, checked, active);
    }
};

template <typename Style>
void InstallCounting(HookedWindow& record) {
    record.AddToolbar(std::make_unique<Counting<Style>>(record));
}

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1e6 / double(frequency.QuadPart);
}

template <typename Function>
double MeanMicroseconds(int rounds, Function&& function) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i)
        function();
    ::QueryPerformanceCounter(&end);
    return Microseconds(start, end) / rounds;
}

HWND OpenWindow(bool classicLook) {
    const HWND window = test::CreateTestWindow();
    if (classicLook)
        test::UseClassicLook(window);
    ::SetWindowPos(window, nullptr, 0, 0, 600, 320, SWP_NOMOVE | SWP_NOZORDER);
    test::PumpPending();
    return window;
}

template <typename Style>
void Measure(const char* name, bool classicLook) {
    test::LibraryInProcess library(InstallCounting<Style>);
    const HWND window = OpenWindow(classicLook);
    library.Attach(window);
    test::PumpPending();
    CaptionToolBar& toolbar = *Process().FindRecord(window)->Toolbar();
    const CaptionButtonRow& row = toolbar.Row();

    constexpr int kRounds = 2000;
    // The toolbar's part of a frame paint: the buttons after the frame.
    const double buttons = MeanMicroseconds(kRounds, [&] { toolbar.AfterMessage(WM_NCPAINT, 1, 0); });
    // The whole frame with the buttons, through the window procedure, against
    // the same frame of a window of the same look without them.
    Counting<Style>::draws = 0;
    const double frame = MeanMicroseconds(kRounds / 4, [&] { ::SendMessageW(window, WM_NCPAINT, 1, 0); });
    const long frameDraws = Counting<Style>::draws;
    const HWND bare = OpenWindow(classicLook);
    const double bareFrame = MeanMicroseconds(kRounds / 4, [&] { ::SendMessageW(bare, WM_NCPAINT, 1, 0); });
    ::DestroyWindow(bare);

    // Pointer moves within one button: pressed, then hovering (the XP style lights buttons).
    const RECT& rect = row[row.Count() - 1].rect;
    RECT windowRect;
    ::GetWindowRect(window, &windowRect);
    const auto screenAt = [&](int dx) {
        return MAKELPARAM(windowRect.left + rect.left + 2 + dx % (rect.right - rect.left - 4),
                          windowRect.top + (rect.top + rect.bottom) / 2);
    };
    // A press and a release each change the look: both compose the buttons anew.
    POINT away{windowRect.left + 300, windowRect.top + 200};
    ::ScreenToClient(window, &away);
    const double changed = MeanMicroseconds(kRounds / 20, [&] {
        ::SendMessageW(window, WM_NCLBUTTONDOWN, kCaptionButtonHitCode, screenAt(0));
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(away.x, away.y));
    }) / 2;

    // The drawing alone: every button into an off-screen DIB, normal and pressed by turns.
    uint32_t* bits = nullptr;
    const UniqueBitmap composed = CreatePixelBitmap(nullptr, row.Bounds().right - row.Bounds().left,
                                                    row.Bounds().bottom - row.Bounds().top, &bits);
    const UniqueMemoryDC composeDc(::CreateCompatibleDC(nullptr));
    const SelectGuard selectComposed(composeDc.get(), composed.get());
    auto& counting = static_cast<Counting<Style>&>(toolbar);
    const double compose =
        MeanMicroseconds(kRounds, [&, i = 0]() mutable { counting.DrawRow(composeDc.get(), (i++ % 2) * 2); });

    ::SendMessageW(window, WM_NCLBUTTONDOWN, kCaptionButtonHitCode, screenAt(0));
    constexpr int kMoves = 200;
    Counting<Style>::draws = 0;
    const double move = MeanMicroseconds(kMoves, [&, i = 0]() mutable {
        ::SendMessageW(window, WM_NCMOUSEMOVE, kCaptionButtonHitCode, screenAt(i++));
    });
    const long pressedDraws = Counting<Style>::draws;
    ::SendMessageW(window, WM_NCLBUTTONUP, HTCLIENT, MAKELPARAM(0, 0));
    ::SendMessageW(window, WM_NCMOUSEMOVE, kCaptionButtonHitCode, screenAt(0));
    Counting<Style>::draws = 0;
    for (int i = 0; i < kMoves; ++i)
        ::SendMessageW(window, WM_NCMOUSEMOVE, kCaptionButtonHitCode, screenAt(i));
    const long hoverDraws = Counting<Style>::draws;

    std::printf("%-8s %d buttons: repaint after the frame %.1f us, after a change of look %.1f us\n", name,
                row.VisibleCount(), buttons, changed);
    std::printf("%-8s drawing the %d buttons into a DIB: %.1f us\n", name, row.VisibleCount(), compose);
    std::printf("%-8s whole frame %.1f us with the buttons (%ld buttons drawn in %d paints), %.1f us without;"
                " pointer move %.2f us\n",
                name, frame, frameDraws, kRounds / 4, bareFrame, move);
    std::printf("%-8s buttons drawn during %d moves within one button: %ld pressed, %ld hovering\n", name, kMoves,
                pressedDraws, hoverDraws);
    ::DestroyWindow(window);
}

// A helper style's row composed into a DIB, normal and pressed by turns
// (the glyph alone, and fill with glyph), and the helper's whole paint: the
// mean microseconds of each.
template <class Toolbar>
std::pair<double, double> ComposeAndPaint(Toolbar& toolbar, int rounds) {
    const RECT bounds = toolbar.Row().Bounds();
    uint32_t* bits = nullptr;
    const UniqueBitmap composed =
        CreatePixelBitmap(nullptr, bounds.right - bounds.left, bounds.bottom - bounds.top, &bits);
    const UniqueMemoryDC composeDc(::CreateCompatibleDC(nullptr));
    const SelectGuard selectComposed(composeDc.get(), composed.get());
    const double compose =
        MeanMicroseconds(rounds, [&, i = 0]() mutable { toolbar.DrawRow(composeDc.get(), (i++ % 2) * 2); });
    const HWND helper = toolbar.HelperWindow();
    const double paint = MeanMicroseconds(rounds / 4, [&] {
        ::RedrawWindow(helper, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    });
    return {compose, paint};
}

// The glass style: composing the nine buttons, the helper's whole paint, and
// what following a moved window adds to the move.
void MeasureAero() {
    test::LibraryInProcess library(InstallCounting<CaptionToolBarAero>);
    const HWND window = OpenWindow(false);
    library.Attach(window);
    test::PumpPending();
    auto& toolbar = static_cast<Counting<CaptionToolBarAero>&>(*Process().FindRecord(window)->Toolbar());
    const CaptionButtonRow& row = toolbar.Row();

    constexpr int kRounds = 2000;
    const auto [compose, paint] = ComposeAndPaint(toolbar, kRounds);

    // Moves of the window with the helper following, against the same moves of a bare window.
    const auto moves = [](HWND target) {
        return MeanMicroseconds(kRounds / 4, [target, i = 0]() mutable {
            ++i;
            ::SetWindowPos(target, nullptr, 100 + i % 50, 100 + i % 30, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        });
    };
    const double followed = moves(window);
    const HWND bare = OpenWindow(false);
    const double unfollowed = moves(bare);
    ::DestroyWindow(bare);
    // The handler alone, when the window has not moved since the last call.
    WINDOWPOS position{window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER};
    LPARAM lParam = reinterpret_cast<LPARAM>(&position);
    WPARAM wParam = 0;
    const double still = MeanMicroseconds(kRounds, [&] { toolbar.OnMessage(WM_WINDOWPOSCHANGED, &wParam, &lParam); });

    std::printf("glass    %d buttons: composed in %.1f us; helper paint %.1f us (composition %s)\n",
                row.VisibleCount(), compose, paint, Api().CompositionEnabled() ? "on" : "off");
    std::printf("glass    window move %.1f us with the helper following, %.1f us without: %.1f us added;"
                " position check when nothing moved %.2f us\n",
                followed, unfollowed, followed - unfollowed, still);
    ::DestroyWindow(window);
}

// Counts the lookups of a window's scale the library makes.
long g_dpiLookups = 0;
UINT(WINAPI* g_getDpiForWindow)(HWND) = nullptr;
UINT WINAPI CountingGetDpiForWindow(HWND window) {
    ++g_dpiLookups;
    return g_getDpiForWindow(window);
}

void CountDpiLookups() {
    DpiFunctions& api = DpiApi();
    if (!api.dpiForWindow || api.dpiForWindow == CountingGetDpiForWindow)
        return;
    g_getDpiForWindow = api.dpiForWindow;
    api.dpiForWindow = CountingGetDpiForWindow;
}

// The flat style: composing nine buttons, the helper's paint, and the lookups
// of the window's scale in moves, pointer moves and a resize.
void MeasureFlat() {
    CountDpiLookups();
    test::LibraryInProcess library(InstallCounting<CaptionToolBarWin10>);
    const HWND window = OpenWindow(false);
    // Room for nine buttons of 200 % beside the title.
    ::SetWindowTextW(window, L"Flat");
    ::SetWindowPos(window, nullptr, 0, 0, 1000, 320, SWP_NOMOVE | SWP_NOZORDER);
    library.Attach(window);
    test::PumpPending();
    auto& toolbar = static_cast<Counting<CaptionToolBarWin10>&>(*Process().FindRecord(window)->Toolbar());
    const CaptionButtonRow& row = toolbar.Row();
    const HWND helper = toolbar.HelperWindow();
    const UINT dpi = WindowDpi(window);

    constexpr int kRounds = 2000;
    const auto [compose, paint] = ComposeAndPaint(toolbar, kRounds);

    g_dpiLookups = 0;
    constexpr int kMoves = 500;
    for (int i = 0; i < kMoves; ++i)
        ::SetWindowPos(window, nullptr, 100 + i % 50, 100 + i % 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const long moveLookups = g_dpiLookups;
    g_dpiLookups = 0;
    const RECT& last = row[row.Count() - 1].rect;
    for (int i = 0; i < kMoves; ++i)
        ::SendMessageW(helper, WM_MOUSEMOVE, 0,
                       MAKELPARAM(last.left - row.Bounds().left + i % (last.right - last.left), 5));
    const long pointerLookups = g_dpiLookups;
    g_dpiLookups = 0;
    ::SetWindowPos(window, nullptr, 0, 0, 980, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const long resizeLookups = g_dpiLookups;

    std::printf("flat     %d buttons at %u %%, %d x %d: composed in %.1f us (%.1f us a button); helper paint %.1f us\n",
                row.VisibleCount(), dpi * 100 / 96, static_cast<int>(last.right - last.left),
                static_cast<int>(last.bottom - last.top), compose, compose / row.VisibleCount(), paint);
    std::printf("flat     lookups of the window's scale: %ld in %d window moves, %ld in %d pointer moves,"
                " %ld in one resize (its two layouts and the check of who draws the caption)%s\n",
                moveLookups, kMoves, pointerLookups, kMoves, resizeLookups,
                g_getDpiForWindow ? "" : " (the system cannot say a window's scale: the desktop's is used)");
    ::DestroyWindow(window);
}

// The flat style at 200 %: the bench again, on a desktop of that scale.
void MeasureFlatAt200Percent(const char* self) {
    const test::ScopedLogPixels scale(192);
    std::fflush(stdout);
    const std::string command = std::string("\"") + self + "\" --flat-only";
    std::system(command.c_str());
}

// Many windows of one look share their painters: one glyph painter per pair of
// colours, one face painter per button size.
void CountSharedPainters(int windowsPerLook) {
    test::LibraryInProcess library;
    std::vector<HWND> windows;
    for (int i = 0; i < 2 * windowsPerLook; ++i) {
        windows.push_back(OpenWindow(i % 2 == 0));
        library.Attach(windows.back());
    }
    const PainterCacheCounts counts = CountPainters();
    std::printf("%d windows (half classic, half XP, all glass when composed): %d glyph painters, %d face painters,"
                " %d PNG painters, %d references held\n",
                static_cast<int>(windows.size()), counts.glyphPainters, counts.facePainters, counts.pngPainters,
                counts.references);
    for (HWND window : windows)
        ::DestroyWindow(window);
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    // Aware of the scale, as the programs of today are: the window is laid out in it.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const SetContext setContext = kz::BindFunction(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext");
    if (setContext)
        setContext(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (argc > 1 && std::strcmp(argv[1], "--flat-only") == 0) {
        kz::test::ScratchRegistry registry;  // the library's default settings: nine buttons
        kz::MeasureFlat();
        return 0;
    }
    {
        kz::test::ScratchRegistry registry;
        kz::Measure<kz::CaptionToolBarStd>("classic", true);
        kz::Measure<kz::CaptionToolBarXP>("XP", false);
        kz::MeasureAero();
        kz::CountSharedPainters(25);
        kz::MeasureFlat();
    }
    // The desktop's scale is the user's own value: set once no scratch key stands in for it.
    kz::MeasureFlatAt200Percent(argv[0]);
    return 0;
}
