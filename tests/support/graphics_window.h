// The package's two windows as the headless host names them, and a click at a drawing point of
// the graphics window, for the tests of the package and of the game.
#pragma once

#include <cstdint>

#include "platform/headless.h"
#include "support/drawing_point.h"

constexpr const char* GRAPHICS = "EASEL Graphics";
constexpr const char* TEXT = "EASEL Text";

// A left click at virtual time `at` on drawing point (x, y) of the graphics window.
inline void click_at(uint64_t at, int x, int y) {
  headless_click(at, GRAPHICS, client_x(x), client_y(y));
}
