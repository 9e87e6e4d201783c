// A small EASEL program that misbehaves on request, for the runner's tests. Its command line
// names the way: "crash" aborts at the first key, "spin" draws for ever without waiting for an
// event, "tick" runs the animation for ever, drawing a dot that moves one step per event. Any
// other key or click ends it with status 3, a quit with 0.
#include <cstdlib>
#include <cstring>

#include "easel/easel.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  const char* way = command_line != nullptr ? command_line : "";
  if (std::strcmp(way, "spin") == 0) {
    for (int i = 0;; i = (i + 1) % 500) EASEL_circle(i % 24, i - 250, 0, 5);
  }
  if (std::strcmp(way, "tick") == 0) EASEL_animate(EASEL_ANIM_RUN);
  int32_t x = 0, y = 0;
  char key = 0;
  for (int step = 0;; ++step) {
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind == EASEL_KBD && std::strcmp(way, "crash") == 0) std::abort();
    if (kind != EASEL_PERIODIC) {
      EASEL_close();
      return 3;
    }
    EASEL_circle(step % 24, step % 500 - 250, 0, 5);
  }
  EASEL_close();
  return 0;
}
