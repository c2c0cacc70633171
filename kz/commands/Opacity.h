// The arithmetic between a window's opacity in percent and the alpha value of
// a layered window. Both directions truncate, as the menus and buttons expect:
// 50 % gives alpha 127, which reads back as 49 %.
#pragma once

#include <windows.h>

namespace kz {

constexpr int kOpaquePercent = 100;

constexpr BYTE AlphaOfPercent(int percent) { return static_cast<BYTE>(percent * 255 / 100); }

constexpr int PercentOfAlpha(BYTE alpha) { return alpha * 100 / 255; }

// A requested opacity above 100 % means opaque.
constexpr int LimitPercent(int percent) { return percent > kOpaquePercent ? kOpaquePercent : percent; }

// The transparency toggle never makes a window invisible nor does nothing.
constexpr int ClampToggleLevel(int percent) {
    return percent < 1 ? 1 : LimitPercent(percent);
}

}  // namespace kz
