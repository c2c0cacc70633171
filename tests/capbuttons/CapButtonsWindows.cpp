#include "tests/capbuttons/CapButtonsWindows.h"

#include <uxtheme.h>

#include <string>

namespace kz::test {

namespace {

constexpr wchar_t kCountingClass[] = L"KzCapButtonsCountingWindow";

// SetWindowTheme, bound by name like every other visual-style function.
void TurnVisualStyleOff(HWND window) {
    const HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll") ? ::GetModuleHandleW(L"uxtheme.dll")
                                                                : ::LoadLibraryW(L"uxtheme.dll");
    using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const auto setWindowTheme = reinterpret_cast<SetWindowThemeFunction>(
        reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setWindowTheme)
        setWindowTheme(window, L" ", L" ");
}

}  // namespace

CountingWindow::CountingWindow(DWORD style, DWORD exStyle) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kCountingClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    window_.reset(::CreateWindowExW(exStyle, kCountingClass, L"Barquill button test", style | WS_VISIBLE, 120, 120,
                                    420, 260, nullptr, nullptr, wc.hInstance, this));
}

LRESULT CALLBACK CountingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CountingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_NCPAINT)
        ++self->ncPaints_;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

UniqueWindow MainWindow(bool classic) {
    UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"Barquill test main window", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (classic)
        TurnVisualStyleOff(window.get());
    return window;
}

SettingsRecord RowSettings(std::initializer_list<int> kinds, COLORREF glyphColor) {
    SettingsRecord settings;
    settings.ButtonCount = static_cast<int32_t>(kinds.size());
    int i = 0;
    for (int kind : kinds)
        settings.Buttons[i++] = static_cast<int8_t>(kind);
    settings.GlyphColor = glyphColor;
    settings.GlyphColorAutodetect = false;
    return settings;
}

OriginalGlyph::OriginalGlyph(int kind)
    : bitmap_(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                 (L"BT" + std::to_wstring(101 + kind)).c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_CREATEDIBSECTION))),
      dc_(::CreateCompatibleDC(nullptr)) {
    // The DC goes first and lets go of the bitmap as it goes.
    ::SelectObject(dc_.get(), bitmap_.get());
}

COLORREF OriginalGlyph::At(int state, int x, int y) const { return ::GetPixel(dc_.get(), x, state * 18 + y); }

uint32_t Rgb(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

COLORREF FramePixel(HWND window, int x, int y) {
    const WindowDC dc = WindowDC::OfWindow(window);
    return ::GetPixel(dc.get(), x, y);
}

}  // namespace kz::test
