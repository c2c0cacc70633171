// Test support: the controls of the stand-in dwmapi.dll, found in the
// process when it was loaded in place of the system's.
#pragma once

#include <windows.h>

#include <string>

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
    // What a program does to get a dark caption on Windows 10 and 11.
    void SetDarkCaption(HWND window, bool dark) const;
    // Where the window manager says the window's caption buttons are, in window coordinates.
    RECT CaptionButtonBounds(HWND window) const;

private:
    void(WINAPI* setComposition_)(BOOL) = nullptr;
    LONG(WINAPI* glassCalls_)() = nullptr;
    HWND(WINAPI* lastGlassWindow_)() = nullptr;
    LONG(WINAPI* lastGlassLeft_)() = nullptr;
    HRESULT(WINAPI* setAttribute_)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
    HRESULT(WINAPI* getAttribute_)(HWND, DWORD, PVOID, DWORD) = nullptr;
};

// The user's choices that colour captions on Windows 10 and 11, written where
// the system keeps them under HKEY_CURRENT_USER (the test's scratch key when
// it redirects its own).
struct CaptionColourSettings {
    bool appsDark = false;           // the apps' theme is dark
    bool accentOnTitleBars = false;  // title bars show the accent colour
    COLORREF accent = 0;             // 0x00BBGGRR
};
void StoreCaptionColourSettings(const CaptionColourSettings& settings);

// The system version Wine tells a program, for programs of that file name
// started afterwards ("win7", "win10"); Windows answers with its own.
// Removed again with the object.
class ScopedProgramVersion {
public:
    ScopedProgramVersion(const wchar_t* fileName, const wchar_t* version);
    ~ScopedProgramVersion();
    ScopedProgramVersion(const ScopedProgramVersion&) = delete;
    ScopedProgramVersion& operator=(const ScopedProgramVersion&) = delete;

private:
    std::wstring key_;
};

}  // namespace kz::test
