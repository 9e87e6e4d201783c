// One step of everything that moves: the snowmen walk left and wrap at the right edge, gliding
// or hopping; the sun by day or the moon by night travels its arc, and when it leaves the sky
// day and night change.
#pragma once

#include <cstdint>

#include "app/game_state.h"

// Moves the snowmen in play by speed to the left and sets their hop heights.
void move_snowmen(SnowmanArray& snow_x, SnowmanArray& snow_hop, int32_t& tick, int32_t hopping,
                  int32_t speed, int32_t snow_size, int32_t snow_count);
// One step of the sun; when it leaves the sky, night falls and the moon rises at the right.
void step_sun(int32_t& sun_x, int32_t& sun_y, int32_t& night, int32_t& moon_x, int32_t& moon_y);
// One step of the moon; when it leaves the sky, day breaks and the sun rises at the right.
void step_moon(int32_t& moon_x, int32_t& moon_y, int32_t& night, int32_t& sun_x, int32_t& sun_y);
