#include "tests/toolbar/ToolbarWindowSupport.h"

#include "common/Dib.h"
#include "trelmo/hook/HookedWindow.h"

#include <uxtheme.h>

namespace kz::test {

std::string LookName(const testing::TestParamInfo<Look>& info) {
    return info.param == Look::Classic ? "Classic" : "Themed";
}

LibrarySettings DefaultSettings() {
    LibrarySettings settings;
    SetLibraryDefaults(settings);
    return settings;
}

namespace {

std::vector<uint8_t> Encode(const LibrarySettings& settings) {
    std::vector<uint8_t> bytes(kLongestSettingsBytes);
    bytes.resize(static_cast<std::size_t>(EncodeSettings(settings, bytes.data())));
    return bytes;
}

POINT ScreenOf(HWND window, POINT inWindow) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.left + inWindow.x, rect.top + inWindow.y};
}

LPARAM ClientLParam(HWND window, POINT screen) {
    ::ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

}  // namespace

std::vector<COLORREF> CaptureFrame(HWND window, const RECT& inWindow) {
    const int width = inWindow.right - inWindow.left;
    const int height = inWindow.bottom - inWindow.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    uint32_t* bits = nullptr;
    const WindowDC source = WindowDC::OfWindow(window);
    const UniqueBitmap dib = CreatePixelBitmap(source.get(), width, height, &bits);
    const UniqueMemoryDC memory(::CreateCompatibleDC(source.get()));
    {
        const SelectGuard select(memory.get(), dib.get());
        ::BitBlt(memory.get(), 0, 0, width, height, source.get(), inWindow.left, inWindow.top, SRCCOPY);
        ::GdiFlush();
    }
    const uint32_t* rgb = bits;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(RGB((rgb[i] >> 16) & 0xFF, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF));
    return pixels;
}

int CountColour(const std::vector<COLORREF>& pixels, COLORREF colour) {
    int count = 0;
    for (COLORREF pixel : pixels)
        count += pixel == colour;
    return count;
}

void ToolbarWindowTest::Open(const LibrarySettings& settings, int width) {
    registry_.SetSettingsValue(Encode(settings));
    window_.reset(CreateTestWindow());
    ASSERT_TRUE(window_);
    // Empty names turn the theme off on Windows; Wine 8 refuses them, and a
    // name that no theme class has does the same there.
    if (GetParam() == Look::Classic && FAILED(::SetWindowTheme(Window(), L"", L"")))
        ::SetWindowTheme(Window(), L" ", L" ");
    ::SetWindowPos(Window(), nullptr, 0, 0, width, 320, SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    library_.Attach(Window());
    ASSERT_TRUE(library_.IsAttached(Window()));
    ASSERT_NE(Process().FindRecord(Window())->Toolbar(), nullptr);
    PumpPending();
}

void ToolbarWindowTest::ChangeSettings(const LibrarySettings& settings) {
    registry_.SetSettingsValue(Encode(settings));
    ::SendMessageW(Window(), WM_SETTINGCHANGE, 0, 0);
    PumpPending();
}

CaptionToolBar& ToolbarWindowTest::Toolbar() { return *Process().FindRecord(Window())->Toolbar(); }

int ToolbarWindowTest::SlotOf(int kind) {
    const CaptionButtonRow& row = Row();
    for (std::size_t i = 0; i < row.Count(); ++i)
        if (row[i].kind == kind)
            return static_cast<int>(i);
    ADD_FAILURE() << "no slot of kind " << kind;
    return 0;
}

POINT ToolbarWindowTest::OnButton(int kind) {
    const RECT& rect = RectOf(kind);
    return ScreenOf(Window(), {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

POINT ToolbarWindowTest::InClientArea() {
    RECT client{};
    ::GetClientRect(Window(), &client);
    POINT point{client.right / 2, client.bottom / 2};
    ::ClientToScreen(Window(), &point);
    return point;
}

POINT ToolbarWindowTest::OnCaptionText() {
    const RECT& first = Row()[0].rect;
    return ScreenOf(Window(), {first.left / 2, (first.top + first.bottom) / 2});
}

void ToolbarWindowTest::NcButtonDown(POINT screen) {
    const LRESULT hit = ::SendMessageW(Window(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    ::SendMessageW(Window(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
}

void ToolbarWindowTest::MouseMove(POINT screen) {
    ::SendMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, ClientLParam(Window(), screen));
}

void ToolbarWindowTest::ButtonUp(POINT screen) {
    ::SendMessageW(Window(), WM_LBUTTONUP, 0, ClientLParam(Window(), screen));
}

void ToolbarWindowTest::Click(int kind) {
    NcButtonDown(OnButton(kind));
    ButtonUp(OnButton(kind));
    PumpPending();
}

void ToolbarWindowTest::RepaintFrame() {
    ::RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
}

}  // namespace kz::test
