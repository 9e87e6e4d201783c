/* A student's first programs, right and wrong, chosen by the command line: "wait-first" waits
   before EASEL_open, "wait-after-close" waits after EASEL_close, "draw-first" draws before
   EASEL_open, "never-wait" draws and closes without waiting, "correction" makes the package
   correct a colour. Each ends without waiting for input, so it runs on the headless host alone. */
#include <string.h>

#include "easel.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  const char* way = command_line != NULL ? command_line : "";
  int32_t x = 0, y = 0;
  char key = 0;
  if (strcmp(way, "wait-first") == 0) EASEL_await_event(&x, &y, &key);
  if (strcmp(way, "draw-first") == 0) {
    EASEL_circle(3, 0, 0, 10);
    EASEL_rectangle(3, 0, 0, 10, 10, 0);
  }
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  if (strcmp(way, "correction") == 0) EASEL_circle(99, 0, 0, -5);
  EASEL_close();
  if (strcmp(way, "wait-after-close") == 0) EASEL_await_event(&x, &y, &key);
  return 0;
}
