/* Keyboard echo: every character you type appears big in the middle of the window with its
 * code, and the line typed so far runs along the bottom. Accented letters (Latin-1, such as
 * é = 233) work too. Enter starts a new line, Backspace removes the last character.
 *
 * Shows: keyboard events, characters as numbers 0..255, and formatted text with
 * EASEL_printf_at. */
#include <easel.h>

#define BLACK 0
#define BLUE 4
#define GRAY 22
#define MAX_LINE 40

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  char line[MAX_LINE + 1] = ""; /* what was typed since the last Enter */
  int length = 0;
  int32_t x, y;
  char key;
  int event;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  EASEL_text(GRAY, -280, 220, 18, "Type something.");

  while ((event = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    /* A char may be signed: as unsigned char its code is 0..255 (é is 233, not -23). */
    int code = (unsigned char)key;
    if (event != EASEL_KBD) continue;

    if (code == 13) { /* Enter */
      length = 0;
    } else if (code == 8) { /* Backspace */
      if (length > 0) length--;
    } else if (code >= 32 && length < MAX_LINE) { /* a printable character */
      line[length++] = key;
    }
    line[length] = '\0';

    EASEL_clear();
    EASEL_text(GRAY, -280, 220, 18, "Type something.");
    if (code >= 32) {
      EASEL_printf_at(BLUE, -40, -20, 120, "%c", key);
      EASEL_printf_at(BLACK, -60, -80, 24, "code %d", code);
    }
    EASEL_printf_at(BLACK, -280, -230, 24, "> %s", line);
  }

  EASEL_close();
  return 0;
}
