// SPDX-License-Identifier: GPL-3.0-or-later
// Resolving system colours to RGB.
#include "editortypes.h"

std::uint32_t ColorToRGB(TColor color)
{
    if (color >= 0)
        return std::uint32_t(color) & 0xFFFFFF;
    switch (std::uint32_t(color) & 0xFF) {
    case 5:  return 0xFFFFFF;   // window
    case 8:  return 0x000000;   // window text
    case 15: return 0xF0F0F0;   // button face
    case 13: return 0xD77800;   // highlight
    case 14: return 0xFFFFFF;   // highlight text
    default: return 0x000000;
    }
}
