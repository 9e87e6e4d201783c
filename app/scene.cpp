// Drawing of the scene and the snowmen with the EASEL primitives, in drawing coordinates
// (origin at the window's centre, y up). The picture spans x -300..300 and y -250..250.
#include "app/scene.h"

#include <algorithm>

#include "app/palette.h"
#include "easel/easel.h"

namespace {

int ground_colour(int32_t season) {
  switch (season) {
    case SEASON_WINTER:
      return COLOUR_WHITE;
    case SEASON_SUMMER:
      return COLOUR_GREEN;
    default:
      return COLOUR_BROWN;
  }
}

void draw_summer_flower() {
  EASEL_rectangle(COLOUR_GREEN, -150, 0, -147, 20, 0);
  EASEL_circle(COLOUR_BROWN, -149, 40, 10);
  constexpr int PETALS[8][2] = {{-149, 25}, {-149, 55}, {-134, 40}, {-164, 40},
                                {-139, 30}, {-139, 50}, {-159, 30}, {-159, 50}};
  for (const auto& petal : PETALS) EASEL_circle(COLOUR_YELLOW, petal[0], petal[1], 5);
}

// The faded flower's stalk is taller, so it still reaches the centre without the lowest petal.
void draw_autumn_flower() {
  EASEL_rectangle(COLOUR_GREEN, -150, 0, -147, 30, 0);
  EASEL_circle(COLOUR_BROWN, -149, 40, 10);
}

void draw_sun(int32_t a, int32_t b) {
  EASEL_circle(COLOUR_YELLOW, a, b, 20);
  EASEL_circle(COLOUR_BLACK, a - 6, b + 5, 5);
  EASEL_circle(COLOUR_BLACK, a + 6, b + 5, 5);
  EASEL_line(COLOUR_BLACK, a - 4, b - 7, a - 10, b - 5, 0);
  EASEL_line(COLOUR_BLACK, a + 4, b - 7, a + 10, b - 5, 0);
  EASEL_line(COLOUR_BLACK, a - 4, b - 7, a + 4, b - 7, 0);
  EASEL_line(COLOUR_BLACK, a - 6, b + 6, a + 6, b + 6, 0);
  EASEL_line(COLOUR_BLACK, a - 7, b + 7, a - 15, b + 10, 0);
  EASEL_line(COLOUR_BLACK, a + 7, b + 7, a + 15, b + 10, 0);
}

// A black disc over the left part of the yellow one leaves a crescent against the night sky.
void draw_moon(int32_t u, int32_t v) {
  EASEL_circle(COLOUR_YELLOW, u, v, 20);
  EASEL_circle(COLOUR_BLACK, u - 13, v + 1, 20);
  EASEL_circle(COLOUR_BLACK, u + 12, v + 8, 2);
  EASEL_line(COLOUR_BLACK, u + 4, v - 9, u + 10, v - 9, 0);
  EASEL_triangle(COLOUR_RED, u, v + 20, u + 9, v + 18, u + 6, v + 37, 0);
  EASEL_circle(COLOUR_WHITE, u + 6, v + 37, 3);
}

}  // namespace

int32_t snowman_width(int32_t size) {
  // 2.5 * size truncated toward zero is (5 * size) / 2; int64 keeps any size from overflowing.
  const int64_t width = int64_t{5} * size / 2;
  return static_cast<int32_t>(std::clamp<int64_t>(width, INT32_MIN, INT32_MAX));
}

void draw_scene(int32_t sun_x, int32_t sun_y, int32_t moon_x, int32_t moon_y, int32_t season,
                int32_t night) {
  EASEL_rectangle(night == 1 ? COLOUR_BLACK : COLOUR_ICE_BLUE, -300, -250, 300, 250, 0);

  // The second strip lifts the ground's top edge to y = 5.
  const int ground = ground_colour(season);
  EASEL_rectangle(ground, -300, -250, 300, 0, 0);
  EASEL_rectangle(ground, -300, -5, 300, 5, 0);

  if (season == SEASON_SUMMER) draw_summer_flower();
  if (season == SEASON_AUTUMN) draw_autumn_flower();

  if (night == 1) {
    draw_moon(moon_x, moon_y);
  } else {
    draw_sun(sun_x, sun_y);
  }

  EASEL_printf_at(COLOUR_BLACK, -285, -220, 12, "Click a button to control CHILLY THE SNOWMAN!.");
  EASEL_printf_at(COLOUR_BLACK, -285, -190, 12,
                  "VIRTUAL CHILLY!! - a snowman game drawn with EASEL");
}

void draw_snowmen(const SnowmanArray& snow_x, const SnowmanArray& snow_hop, int32_t snow_size,
                  int32_t snow_colour, int32_t snow_count) {
  const int count = std::clamp<int32_t>(snow_count, 0, MAX_SNOWMEN);
  for (int i = 0; i < count; ++i) draw_snowman(snow_x[i], snow_hop[i], snow_size, snow_colour);
}

void draw_snowman(int32_t x, int32_t hop, int32_t size, int32_t colour) {
  const int32_t s = size;
  // The head's height is hop + 4.2 * s truncated, which is hop + 42 * s / 10 in integers.
  const int32_t y = hop + 42 * s / 10;

  EASEL_circle(colour, x, y, s);                                                     // head
  EASEL_line(COLOUR_BLACK, x + s + s / 4, y + s, x - s - s / 4, y + s, 0);           // hat brim
  EASEL_rectangle(COLOUR_BLACK, x + 2 * s / 3, y + s, x - 2 * s / 3, y + 2 * s, 0);  // hat crown
  EASEL_triangle(COLOUR_ORANGE, x - s, y - s / 10, x - s, y + s / 10, x - 5 * s / 3, y, 0);  // nose
  EASEL_circle(COLOUR_BLACK, x - 3 * s / 8, y + s / 5, s / 4);                               // eye
  EASEL_circle(colour, x, y - 29 * s / 12, 3 * s / 2);                                       // body
  EASEL_line(COLOUR_BROWN, x, y - 19 * s / 12, x - 4 * s / 3, y - 2 * s, 2);  // stick arm
  EASEL_circle(COLOUR_BROWN, x - 4 * s / 3, y - 2 * s, s / 6);                // hand
}
