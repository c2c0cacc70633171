// The texts the executor reads from a window, with the system's limits.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace kz {

// The longest class name the system gives, in UTF-16 units; window texts are
// read with the same limit.
constexpr std::size_t kMaxWindowTextLength = 256;

std::wstring WindowTextOf(HWND w);
std::wstring ClassNameOf(HWND w);

}  // namespace kz
