// The control panel: a column of eleven labelled buttons at the left edge of the picture, the
// test whether a click lies on it, and what each button does to the game state.
#pragma once

#include <cstdint>

// Draws the eleven outlines, then the eleven labels.
void draw_panel();
// 1 if (x, y) lies strictly inside the button column, else 0.
int panel_hit(int32_t x, int32_t y);
// Carries out the button at (x, y). A point off the column or its rows changes nothing and
// draws the internal error text instead.
void press_button(int32_t x, int32_t y, int32_t& moving, int32_t& hopping, int32_t& snow_colour,
                  int32_t& speed, int32_t& snow_size, int32_t& snow_count, int32_t& season);
// Draws "INTERNAL ERROR!" in red at the centre.
void report_internal_error();
