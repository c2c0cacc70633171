// How a window is layered: its WS_EX_LAYERED bit and, for a window layered
// with attributes, the colour key, alpha and flags GetLayeredWindowAttributes
// gives. Plain data, kept to give a window back exactly what its program set.
#pragma once

#include <cstdint>

namespace kz {

struct Layering {
    bool layered = false;
    uint32_t colourKey = 0;
    uint8_t alpha = 0;
    uint32_t flags = 0;  // LWA_COLORKEY, LWA_ALPHA

    bool operator==(const Layering& other) const {
        return layered == other.layered && colourKey == other.colourKey && alpha == other.alpha &&
               flags == other.flags;
    }
};

}  // namespace kz
