// Motion, one periodic step at a time. The snowmen keep within +-limit of the centre, limit
// being 300 less half a hat brim; the sun and the moon climb, run level and sink, two units a
// step, along the same flattened arc from (250, 35).
#include "app/motion.h"

#include <algorithm>
#include <cstdlib>

#include "app/scene.h"
#include "easel/easel.h"

namespace {

constexpr int32_t HOP_HEIGHT = 35;
constexpr int32_t HOP_PERIOD = 11;
constexpr int32_t SKY_STEP = 2;
constexpr int32_t RISING_FROM = 75;     // the body climbs while x >= this
constexpr int32_t LEVEL_FROM = -125;    // and runs level while x >= this
constexpr int32_t LEAVES_BELOW = -300;  // past this the other body rises
constexpr int32_t RISE_X = 250;
constexpr int32_t RISE_Y = 35;

// The last step below INT32_MAX continues with the value of the same remainder modulo the hop
// period, so a counter that runs for ever keeps the hop rhythm without overflowing.
constexpr int32_t TICK_RESTART = static_cast<int32_t>((int64_t{INT32_MAX} + 1) % HOP_PERIOD);

int32_t next_tick(int32_t tick) {
  return tick < INT32_MAX ? tick + 1 : TICK_RESTART;
}

// Returns true when the body has left the sky on this step.
bool step_body(int32_t& x, int32_t& y) {
  if (x >= RISING_FROM) {
    x -= SKY_STEP;
    y += SKY_STEP;
  } else if (x >= LEVEL_FROM) {
    x -= SKY_STEP;
  } else {
    x -= SKY_STEP;
    y -= SKY_STEP;
  }
  return x < LEAVES_BELOW;
}

}  // namespace

void move_snowmen(SnowmanArray& snow_x, SnowmanArray& snow_hop, int32_t& tick, int32_t hopping,
                  int32_t speed, int32_t snow_size, int32_t snow_count) {
  const int count = std::clamp<int32_t>(snow_count, 0, MAX_SNOWMEN);
  const int64_t limit = 300 - int64_t{snowman_width(snow_size)} / 2;

  // int64: a speed without ceiling must not overflow the next position or its magnitude.
  for (int i = 0; i < count; ++i) {
    const int64_t nx = int64_t{snow_x[i]} - speed;
    if (std::abs(nx) > limit) {
      snow_x[i] = static_cast<int32_t>(limit);
      tick = 0;
    } else {
      snow_x[i] = static_cast<int32_t>(nx);
      tick = next_tick(tick);
    }
  }

  // The hop is decided after the whole pass, so all snowmen hop together.
  const int32_t hop = (hopping == 1 && tick % HOP_PERIOD == 0) ? HOP_HEIGHT : 0;
  for (int i = 0; i < count; ++i) snow_hop[i] = hop;
}

void step_sun(int32_t& sun_x, int32_t& sun_y, int32_t& night, int32_t& moon_x, int32_t& moon_y) {
  if (!step_body(sun_x, sun_y)) return;
  night = 1;
  EASEL_rectangle(0, -300, -250, 300, 250, 0);
  moon_x = RISE_X;
  moon_y = RISE_Y;
}

void step_moon(int32_t& moon_x, int32_t& moon_y, int32_t& night, int32_t& sun_x, int32_t& sun_y) {
  if (!step_body(moon_x, moon_y)) return;
  night = 0;
  EASEL_rectangle(11, -300, -250, 300, 250, 0);
  sun_x = RISE_X;
  sun_y = RISE_Y;
}
