// Pictures of menu items: an icon drawn into a 32-bit bitmap with an alpha
// channel, so that the menu blends it onto any background, highlighted or not.
#pragma once

#include "../../common/Handles.h"

#include <windows.h>

#include <cstdint>

namespace kz {

// One pixel with premultiplied alpha from the same pixel drawn once onto
// black and once onto white (0x00RRGGBB each): what the white background
// adds is what the picture lets through.
uint32_t PremultipliedPixel(uint32_t onBlack, uint32_t onWhite);

// A size x size bitmap of a copy of icon drawn at 0,0; null without an icon.
UniqueBitmap MenuPictureOfIcon(HICON icon, int size);

}  // namespace kz
