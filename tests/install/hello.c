/* A first EASEL program in C, entered through WinMain (the library's main() calls it): a red
   disc and a greeting, then three periodic steps, then it ends. Prints how many steps it saw. */
#include <easel.h>
#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int32_t x = 0, y = 0;
  char key = 0;
  int steps = 0;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_clear();
  EASEL_circle(2, 0, 0, 50);
  EASEL_printf_at(0, -100, 100, 20, "Hello from %s", "C");
  EASEL_animate(EASEL_ANIM_RUN);
  while (steps < 3) {
    int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind == EASEL_PERIODIC) ++steps;
  }
  printf("hello: %d periodic events\n", steps);
  EASEL_close();
  return steps == 3 ? 0 : 1;
}
