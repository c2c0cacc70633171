#include "tests/aero/GlassDesktop.h"

#include "trelmo/hook/SystemApi.h"

namespace kz::test {

std::vector<HWND> ProcessWindowsOfClass(const wchar_t* className) {
    return WindowsOfProcess(::GetCurrentProcessId(), className);
}

void GlassDesktop::SetUp() {
    ASSERT_TRUE(dwm_.Loaded()) << "the stand-in dwmapi.dll was not loaded; run with WINEDLLOVERRIDES="
                               << kStandInOverride;
    dwm_.SetComposition(true);
    ASSERT_TRUE(Api().CompositionEnabled());
}

void GlassDesktop::TearDown() {
    window_.reset();
    dwm_.SetComposition(true);
}

HWND GlassDesktop::Helper() {
    auto* toolbar = dynamic_cast<HelperWindowToolBar*>(Toolbar());
    return toolbar ? toolbar->HelperWindow() : nullptr;
}

RECT GlassDesktop::ExpectedHelperRect() {
    const RECT window = WindowRect(Window());
    RECT rect = Row().Bounds();
    ::OffsetRect(&rect, window.left, window.top);
    return rect;
}

POINT GlassDesktop::InHelper(int kind) {
    const RECT& rect = RectOf(kind);
    const RECT& bounds = Row().Bounds();
    return {(rect.left + rect.right) / 2 - bounds.left, (rect.top + rect.bottom) / 2 - bounds.top};
}

void GlassDesktop::PaintHelperNow() {
    ::RedrawWindow(Helper(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
}

std::vector<uint32_t> GlassDesktop::ButtonPixels(int kind) {
    RECT rect = RectOf(kind);
    ::OffsetRect(&rect, -Row().Bounds().left, -Row().Bounds().top);
    return ClientPixels(Helper(), rect);
}

}  // namespace kz::test
