// The control panel. Rows are 25 units high, row 0 at the top (y 245 down to 220); the column
// runs from x -295 to -207. A boundary line between two rows belongs to the lower row.
#include "app/panel.h"

#include "app/game_state.h"
#include "app/palette.h"
#include "easel/easel.h"

namespace {

constexpr int LEFT = -295;
constexpr int RIGHT = -207;
constexpr int TOP = 245;
constexpr int BOTTOM = -30;
constexpr int ROW_HEIGHT = 25;
constexpr int ROWS = 11;

enum Row {
  ROW_GO,
  ROW_STOP,
  ROW_FASTER,
  ROW_SLOWER,
  ROW_GLIDING,
  ROW_HOPPING,
  ROW_NEW_COLOR,
  ROW_CHANGE_SIZE,
  ROW_ADD_SNOWMAN,
  ROW_SEND_ONE_AWAY,
  ROW_CHANGE_SEASON,
};

}  // namespace

void draw_panel() {
  // Outlines first, so that neighbouring buttons share their border line.
  for (int r = 0; r < ROWS; ++r) {
    EASEL_rectangle(COLOUR_FOREST_GREEN, LEFT, TOP - ROW_HEIGHT * r, RIGHT,
                    TOP - ROW_HEIGHT * (r + 1), 1);
  }
  // Each label sits on its row's centre line less half the label size.
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 228, 11, "Go");
  EASEL_printf_at(COLOUR_RED, -292, 203, 11, "Stop");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 178, 11, "Faster");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 153, 11, "Slower");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 128, 11, "Gliding");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 103, 11, "Hopping");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 78, 11, "New Color");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 53, 11, "Change Size");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 28, 11, "Add Snowman");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, 3, 11, "Send One Away");
  EASEL_printf_at(COLOUR_FOREST_GREEN, -292, -22, 11, "Change Season");
}

int panel_hit(int32_t x, int32_t y) {
  return (x > LEFT && x < RIGHT && y > BOTTOM && y < TOP) ? 1 : 0;
}

void press_button(int32_t x, int32_t y, int32_t& moving, int32_t& hopping, int32_t& snow_colour,
                  int32_t& speed, int32_t& snow_size, int32_t& snow_count, int32_t& season) {
  if (x < LEFT || x > RIGHT) {
    report_internal_error();
    return;
  }
  // Truncated toward zero, as the panel's rows are numbered: y 246..269, just above the column,
  // is row 0 too. int64 keeps any y from overflowing the subtraction.
  const int64_t row = (int64_t{TOP} - y) / ROW_HEIGHT;
  if (row < 0 || row >= ROWS) {
    report_internal_error();
    return;
  }

  switch (static_cast<Row>(row)) {
    case ROW_GO:
      moving = 1;
      break;
    case ROW_STOP:
      moving = 0;
      break;
    case ROW_FASTER:
      // No ceiling, but the speed stays a valid int.
      if (speed < INT32_MAX) ++speed;
      break;
    case ROW_SLOWER:
      speed = speed > 0 ? speed - 1 : 0;
      break;
    case ROW_GLIDING:
      hopping = 0;
      break;
    case ROW_HOPPING:
      hopping = 1;
      break;
    case ROW_NEW_COLOR:
      snow_colour = (snow_colour + 1) % 24;
      break;
    case ROW_CHANGE_SIZE:
      snow_size = snow_size >= 30 ? 5 : snow_size + 1;
      break;
    case ROW_ADD_SNOWMAN:
      if (season == SEASON_WINTER) {
        if (snow_count == 0) moving = 1;
        if (snow_count < MAX_SNOWMEN) ++snow_count;
      }
      break;
    case ROW_SEND_ONE_AWAY:
      if (snow_count > 0) --snow_count;
      break;
    case ROW_CHANGE_SEASON:
      season = season >= SEASON_WINTER ? SEASON_SPRING : season + 1;
      break;
  }
}

void report_internal_error() {
  EASEL_printf_at(COLOUR_RED, 0, 0, 16, "INTERNAL ERROR!");
}
