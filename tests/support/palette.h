// The package's 24 colours as the pixels they come out as (0x00RRGGBB), by palette number, and
// those the tests look for by name. Written out here, not read from the package, so that a
// changed palette fails the tests that see it.
#pragma once

#include <cstdint>

inline constexpr uint32_t PALETTE_PIXELS[24] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x9900CC, 0x003399, 0x996699, 0x99FFFF, 0x99FFCC, 0xFF6600, 0x996633, 0xFF99CC,
    0xFFFF99, 0xCC9933, 0xFF9966, 0x006633, 0x33CC99, 0x999933, 0x808080, 0xCCCCCC,
};

inline constexpr uint32_t BLACK = PALETTE_PIXELS[0], WHITE = PALETTE_PIXELS[1],
                          RED = PALETTE_PIXELS[2], GREEN = PALETTE_PIXELS[3],
                          BLUE = PALETTE_PIXELS[4], YELLOW = PALETTE_PIXELS[5],
                          NAVY_BLUE = PALETTE_PIXELS[9], ICE_BLUE = PALETTE_PIXELS[11],
                          ORANGE = PALETTE_PIXELS[13], BROWN = PALETTE_PIXELS[14],
                          GOLD = PALETTE_PIXELS[17], FOREST_GREEN = PALETTE_PIXELS[19],
                          GRAY_50 = PALETTE_PIXELS[22];
