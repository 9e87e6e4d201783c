// The palette of 24 numbered colours with their names, the check that replaces an illegal
// colour number by red, and the conversion of drawing coordinates (origin at the centre of the
// graphics window, y up) to device pixels of the off-screen image.
#include "internal.h"

const COLORREF colour_table[COLOUR_COUNT] = {
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(0, 0, 255),     RGB(255, 255, 0),   RGB(255, 0, 255),   RGB(0, 255, 255),
    RGB(153, 0, 204),   RGB(0, 51, 153),    RGB(153, 102, 153), RGB(153, 255, 255),
    RGB(153, 255, 204), RGB(255, 102, 0),   RGB(153, 102, 51),  RGB(255, 153, 204),
    RGB(255, 255, 153), RGB(204, 153, 51),  RGB(255, 153, 102), RGB(0, 102, 51),
    RGB(51, 204, 153),  RGB(153, 153, 51),  RGB(128, 128, 128), RGB(204, 204, 204),
};

const char* const colour_names[COLOUR_COUNT] = {
    "black",     "white",        "red",       "green",     "blue",       "yellow",
    "magenta",   "cyan",         "purple",    "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange",       "brown",     "pink",      "chalk",      "gold",
    "peach",     "forest green", "sea green", "olive",     "50% gray",   "20% gray",
};

int check_colour(int colour) {
  if (colour >= 0 && colour < COLOUR_COUNT) return colour;
  EASEL_printf("Illegal color %d; using RED.\n", colour);
  return ILLEGAL_COLOUR_REPLACEMENT;
}

// Computed in 64 bits and saturated: any int coordinate lands far outside the image instead of
// wrapping around into it.
int device_x(int64_t x) {
  return saturate(static_cast<int64_t>(package.origin_x) + x);
}
int device_y(int64_t y) {
  return saturate(static_cast<int64_t>(package.origin_y) - y);
}
