/* A whole program written against <easel.h> alone, compiled by CTest as C99, C11 and C++11 to
 * C++20 with every warning an error: the header must stand on its own in each language, give
 * every operation C linkage and let the compiler check printf-style formats. */
#include <easel.h>

#include <stddef.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int32_t x = 0;
  int32_t y = 0;
  char key = 0;
  int kind = 0;
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_animate(EASEL_ANIM_RUN);
  while ((kind = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    EASEL_clear();
    EASEL_circle(2, x, y, 10);
    EASEL_triangle(3, 0, 0, 10, 0, 0, 10, 0);
    EASEL_rectangle(4, -5, -5, 5, 5, 1);
    EASEL_line(0, -300, 0, 300, 0, 0);
    EASEL_text(0, -290, 250, 14, "EASEL");
    EASEL_printf_at(0, -290, 230, 14, "event %d key %c", kind, key);
#ifdef EASEL_HEADER_BAD_FORMAT
    /* Must be refused: a string where the format takes an int. */
    EASEL_printf("%d\n", "not a number");
#endif
    if (kind == EASEL_KBD && key == 'q') EASEL_animate(EASEL_ANIM_QUIT);
    if (kind == EASEL_MOUSE) EASEL_animate(EASEL_ANIM_STEP);
  }
  EASEL_animate(EASEL_ANIM_HALT);
  return EASEL_close() == 1 ? 0 : 1;
}

/* The entry may also be the program's own main(), opening the package with null arguments. */
int easel_header_own_main(void) {
  EASEL_open(NULL, NULL, NULL, 0);
  return EASEL_close();
}
