// The scale of the monitors and windows, in dots per inch (96 is 100 %).
// The host is aware of each monitor's scale: it lays out and draws every
// window of its own for the monitor the window is on, and measures other
// programs' windows at their own scale; the library draws each window's
// buttons at that window's scale. The functions that only newer systems have
// are bound by name; without them every monitor has the system's scale.
#pragma once

#include <windows.h>

namespace kz {

// The functions of user32 that only newer systems have (Windows 10 1607 and
// later), bound on first use in the process; null where the system lacks
// them. Benchmarks count the calls by putting their own in.
struct DpiFunctions {
    UINT(WINAPI* dpiForWindow)(HWND);
    UINT(WINAPI* dpiForSystem)();
    int(WINAPI* systemMetricsForDpi)(int, UINT);
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
};
DpiFunctions& DpiApi();

// 100 %: the scale every size of the design is given at.
constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;

// The scale the system started the host's session with.
UINT SystemDpi();
// The scale of a monitor; the system's without per-monitor scales.
UINT MonitorDpi(HMONITOR monitor);
// The scale of the monitor nearest to a screen point.
UINT DpiAtPoint(POINT point);
// The scale a window is drawn at: its monitor's for a window of a program
// aware of it, the system's or 100 % for others.
UINT WindowDpi(HWND window);

// A size given at 100 %, at a scale.
int ScaleToDpi(int designPixels, UINT dpi);
// A system metric at a scale.
int MetricForDpi(int index, UINT dpi);

// The window rectangle around a client rectangle, with frames and caption
// at a scale (no menu bar).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace kz
