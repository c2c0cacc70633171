// Test support: the scale of the desktop for the programs a test starts.
// Wine keeps one scale per prefix, the LogPixels value of the user's desktop
// settings, which each process reads once as it starts; Windows has one per
// monitor and tells a program of a change with WM_DPICHANGED. Setting the
// value here reproduces a monitor of that scale for every program started
// afterwards; programs already running keep the scale they started with.
#pragma once

#include <windows.h>

#include <optional>

namespace kz::test {

class ScopedLogPixels {
public:
    // dpi: 96 for 100 %, 144 for 150 %, 192 for 200 %. Writes the user's
    // own value: create it before any redirection of HKEY_CURRENT_USER.
    explicit ScopedLogPixels(DWORD dpi);
    // Puts the former value back, or removes it when there was none.
    ~ScopedLogPixels();
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

    DWORD Dpi() const { return dpi_; }

private:
    DWORD dpi_;
    std::optional<DWORD> former_;
};

}  // namespace kz::test
