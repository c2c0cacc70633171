#include "tests/toolbar/ToolbarWindowSupport.h"

namespace kz::test {

std::string LookName(const testing::TestParamInfo<Look>& info) {
    return info.param == Look::Classic ? "Classic" : "Themed";
}

namespace {

POINT ScreenOf(HWND window, POINT inWindow) {
    const RECT rect = WindowRect(window);
    return {rect.left + inWindow.x, rect.top + inWindow.y};
}

LPARAM ClientLParam(HWND window, POINT screen) {
    ::ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

}  // namespace

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
