// The game picture apart from the control panel: sky, ground and flower of the season, the sun
// or the moon, the two text lines at the bottom, and the snowmen.
#pragma once

#include <cstdint>

#include "app/game_state.h"

// Sky, ground, flower, sun (night 0) or moon (night 1) and the bottom text lines.
void draw_scene(int32_t sun_x, int32_t sun_y, int32_t moon_x, int32_t moon_y, int32_t season,
                int32_t night);
// The snowmen in play, entries 0 .. snow_count - 1, all at one size and colour.
void draw_snowmen(const SnowmanArray& snow_x, const SnowmanArray& snow_hop, int32_t snow_size,
                  int32_t snow_colour, int32_t snow_count);
// One snowman facing left, its centre line at x, lifted by hop.
void draw_snowman(int32_t x, int32_t hop, int32_t size, int32_t colour);
// Width of a snowman's hat brim at this size, 2.5 * size truncated.
int32_t snowman_width(int32_t size);
