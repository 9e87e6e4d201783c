// What both entry programs do once the package is open: draw a blue square at the centre of the
// picture, take one key press (scheduled on the headless host, as a script would play it) and
// read back what reached the screen. Returns the program's exit status: 0 when all was right.
#pragma once

#include <cstdio>

#include "easel/easel.h"
#include "platform/headless.h"

inline int draw_and_check() {
  constexpr int BLUE = 4;
  constexpr int CENTRE_X = 300, CENTRE_Y = 280;  // drawing (0, 0) in the graphics window
  EASEL_rectangle(BLUE, -20, -20, 20, 20, 0);
  headless_type(headless_now() + 100, "EASEL Graphics", 'x');
  int32_t x = 0, y = 0;
  char key = 0;
  const int kind = EASEL_await_event(&x, &y, &key);
  const uint32_t centre = headless_client_pixel("EASEL Graphics", CENTRE_X, CENTRE_Y);
  const uint32_t outside = headless_client_pixel("EASEL Graphics", CENTRE_X + 40, CENTRE_Y);
  EASEL_close();
  if (kind != EASEL_KBD || key != 'x') {
    std::fprintf(stderr, "event %d, key %d: not the key pressed\n", kind, key);
    return 3;
  }
  if (centre != 0x0000FF || outside == centre) {
    std::fprintf(stderr, "centre %06X, beside it %06X: no blue square shown\n", unsigned(centre),
                 unsigned(outside));
    return 4;
  }
  return 0;
}
