// The control panel: a column of eleven labelled buttons at the left edge of the picture, the
// test whether a click lies on it, and what each button does to the game state.
#pragma once

#include <cstdint>

// The buttons, top to bottom: a button's number is its row.
enum PanelButton {
  BUTTON_GO,
  BUTTON_STOP,
  BUTTON_FASTER,
  BUTTON_SLOWER,
  BUTTON_GLIDING,
  BUTTON_HOPPING,
  BUTTON_NEW_COLOR,
  BUTTON_CHANGE_SIZE,
  BUTTON_ADD_SNOWMAN,
  BUTTON_SEND_ONE_AWAY,
  BUTTON_CHANGE_SEASON,
};
constexpr int PANEL_BUTTONS = BUTTON_CHANGE_SEASON + 1;

// The column of buttons in drawing coordinates: x from PANEL_LEFT to PANEL_RIGHT, rows of
// PANEL_ROW_HEIGHT from PANEL_TOP down to PANEL_BOTTOM. A boundary line between two rows belongs
// to the lower row.
constexpr int32_t PANEL_LEFT = -295;
constexpr int32_t PANEL_RIGHT = -207;
constexpr int32_t PANEL_TOP = 245;
constexpr int32_t PANEL_ROW_HEIGHT = 25;
constexpr int32_t PANEL_BOTTOM = PANEL_TOP - PANEL_ROW_HEIGHT * PANEL_BUTTONS;

// The middle of a button, where a click presses it (drawing coordinates).
constexpr int32_t panel_button_x(int /*button*/) {
  return (PANEL_LEFT + PANEL_RIGHT) / 2;
}
constexpr int32_t panel_button_y(int button) {
  return PANEL_TOP - PANEL_ROW_HEIGHT * button - PANEL_ROW_HEIGHT / 2;
}

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
