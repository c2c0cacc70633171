// The tips the host shows now and then as balloons at its tray icon, and
// when it shows the next one.
#pragma once

#include <array>
#include <cstdint>

namespace kz {

constexpr int kTrayTipCount = 16;
extern const std::array<const wchar_t*, kTrayTipCount> TrayTipTexts;

// The first tip comes this long after start-up.
constexpr unsigned kFirstTipDelayMs = 1000;
// How long a balloon stays.
constexpr unsigned kTipTimeoutMs = 15000;

// The time to the next tip, 700 to 1899.999 seconds, from a random number.
unsigned NextTipIntervalMs(uint32_t random);
// The tip to show, from a random number.
int TipIndex(uint32_t random);

}  // namespace kz
