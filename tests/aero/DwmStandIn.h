// Test support: the controls of the stand-in dwmapi.dll, found in the
// process when it was loaded in place of the system's.
#pragma once

#include <windows.h>

namespace kz::test {

// WINEDLLOVERRIDES for the test programs that run on a composed desktop.
constexpr char kStandInOverride[] = "mscoree,mshtml=;dwmapi=n,b";

class DwmStandIn {
public:
    // Binds the controls of the dwmapi.dll loaded in this process (loading it if needed).
    DwmStandIn();
    // The process uses the stand-in, not the system's library.
    bool Loaded() const { return setComposition_ != nullptr; }
    void SetComposition(bool on) const;
    LONG GlassCalls() const;
    HWND LastGlassWindow() const;
    LONG LastGlassLeft() const;

private:
    void(WINAPI* setComposition_)(BOOL) = nullptr;
    LONG(WINAPI* glassCalls_)() = nullptr;
    HWND(WINAPI* lastGlassWindow_)() = nullptr;
    LONG(WINAPI* lastGlassLeft_)() = nullptr;
};

}  // namespace kz::test
