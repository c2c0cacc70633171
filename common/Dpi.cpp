#include "common/Dpi.h"

#include "common/BindFunction.h"

#include <shellscalingapi.h>

namespace kz {

namespace {

BOOL CALLBACK BindDpiFunctions(PINIT_ONCE, PVOID functions, PVOID*) noexcept {
    auto& f = *static_cast<DpiFunctions*>(functions);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    f.dpiForWindow = BindFunction(user32, "GetDpiForWindow");
    f.dpiForSystem = BindFunction(user32, "GetDpiForSystem");
    f.systemMetricsForDpi = BindFunction(user32, "GetSystemMetricsForDpi");
    f.adjustForDpi = BindFunction(user32, "AdjustWindowRectExForDpi");
    return TRUE;
}

const DpiFunctions& Functions() { return DpiApi(); }

UINT ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

DpiFunctions& DpiApi() {
    static DpiFunctions functions{};
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    ::InitOnceExecuteOnce(&once, BindDpiFunctions, &functions, nullptr);
    return functions;
}

UINT SystemDpi() {
    if (const auto dpiForSystem = Functions().dpiForSystem)
        return dpiForSystem();
    return ScreenDpi();
}

UINT MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
    // Only the host asks for monitors: shcore is loaded on the first call, and
    // kept for the life of the program.
    static const GetDpiForMonitorFunction dpiForMonitorFunction =
        BindFunction(::LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (const auto dpiForMonitor = dpiForMonitorFunction;
        dpiForMonitor && monitor && SUCCEEDED(dpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0)
        return y;
    return SystemDpi();
}

UINT DpiAtPoint(POINT point) { return MonitorDpi(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }

UINT WindowDpi(HWND window) {
    if (const auto dpiForWindow = Functions().dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window))
            return dpi;
    }
    return SystemDpi();
}

int ScaleToDpi(int designPixels, UINT dpi) { return ::MulDiv(designPixels, static_cast<int>(dpi), kDesignDpi); }

int MetricForDpi(int index, UINT dpi) {
    if (const auto systemMetricsForDpi = Functions().systemMetricsForDpi)
        return systemMetricsForDpi(index, dpi);
    // Without per-monitor scales every window has the system's.
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    if (const auto adjustForDpi = Functions().adjustForDpi; adjustForDpi && adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        return;
    // Frames and caption at the system's scale, grown to the one asked for.
    const RECT client = rect;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    const UINT system = SystemDpi();
    rect.left = client.left - ::MulDiv(client.left - rect.left, static_cast<int>(dpi), static_cast<int>(system));
    rect.top = client.top - ::MulDiv(client.top - rect.top, static_cast<int>(dpi), static_cast<int>(system));
    rect.right = client.right + ::MulDiv(rect.right - client.right, static_cast<int>(dpi), static_cast<int>(system));
    rect.bottom = client.bottom + ::MulDiv(rect.bottom - client.bottom, static_cast<int>(dpi), static_cast<int>(system));
}

}  // namespace kz
