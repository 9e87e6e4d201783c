// The control panel: its outlines and labels, the hit test, and what each button does. The
// geometry is in panel.h.
#include "app/panel.h"

#include "app/game_state.h"
#include "app/palette.h"
#include "easel/easel.h"

void draw_panel() {
  // Outlines first, so that neighbouring buttons share their border line.
  for (int r = 0; r < PANEL_BUTTONS; ++r) {
    EASEL_rectangle(COLOUR_FOREST_GREEN, PANEL_LEFT, PANEL_TOP - PANEL_ROW_HEIGHT * r, PANEL_RIGHT,
                    PANEL_TOP - PANEL_ROW_HEIGHT * (r + 1), 1);
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
  return (x > PANEL_LEFT && x < PANEL_RIGHT && y > PANEL_BOTTOM && y < PANEL_TOP) ? 1 : 0;
}

void press_button(int32_t x, int32_t y, int32_t& moving, int32_t& hopping, int32_t& snow_colour,
                  int32_t& speed, int32_t& snow_size, int32_t& snow_count, int32_t& season) {
  if (x < PANEL_LEFT || x > PANEL_RIGHT) {
    report_internal_error();
    return;
  }
  // Truncated toward zero, as the panel's rows are numbered: y 246..269, just above the column,
  // is row 0 too. int64 keeps any y from overflowing the subtraction.
  const int64_t row = (int64_t{PANEL_TOP} - y) / PANEL_ROW_HEIGHT;
  if (row < 0 || row >= PANEL_BUTTONS) {
    report_internal_error();
    return;
  }

  switch (static_cast<PanelButton>(row)) {
    case BUTTON_GO:
      moving = 1;
      break;
    case BUTTON_STOP:
      moving = 0;
      break;
    case BUTTON_FASTER:
      // No ceiling, but the speed stays a valid int.
      if (speed < INT32_MAX) ++speed;
      break;
    case BUTTON_SLOWER:
      speed = speed > 0 ? speed - 1 : 0;
      break;
    case BUTTON_GLIDING:
      hopping = 0;
      break;
    case BUTTON_HOPPING:
      hopping = 1;
      break;
    case BUTTON_NEW_COLOR:
      snow_colour = (snow_colour + 1) % 24;
      break;
    case BUTTON_CHANGE_SIZE:
      snow_size = snow_size >= 30 ? 5 : snow_size + 1;
      break;
    case BUTTON_ADD_SNOWMAN:
      if (season == SEASON_WINTER) {
        if (snow_count == 0) moving = 1;
        if (snow_count < MAX_SNOWMEN) ++snow_count;
      }
      break;
    case BUTTON_SEND_ONE_AWAY:
      if (snow_count > 0) --snow_count;
      break;
    case BUTTON_CHANGE_SEASON:
      season = season >= SEASON_WINTER ? SEASON_SPRING : season + 1;
      break;
  }
}

void report_internal_error() {
  EASEL_printf_at(COLOUR_RED, 0, 0, 16, "INTERNAL ERROR!");
}
