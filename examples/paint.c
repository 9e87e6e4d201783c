/* Paint: click to put a dot of paint where you click. Keys change the colour: r red, g green,
 * b blue, y yellow, k black, or + and - to step through all 24 colours. c clears the picture.
 *
 * Shows: a program that only waits for clicks and keys (the animation stays halted, so no
 * periodic events come), and a picture that is built up over time instead of redrawn. */
#include <easel.h>

#define BLACK 0
#define WHITE 1
#define RED 2
#define GREEN 3
#define BLUE 4
#define YELLOW 5
#define COLOURS 24
#define DOT_RADIUS 8

/* The help line and a sample of the current colour at the top of the window. */
static void draw_header(int colour) {
  EASEL_rectangle(WHITE, -295, 255, 295, 225, 0); /* wipe the old header */
  EASEL_rectangle(colour, -290, 250, -260, 230, 0);
  EASEL_rectangle(BLACK, -290, 250, -260, 230, 1);
  EASEL_text(BLACK, -250, 230, 14, "click: paint   r g b y k + -: colour   c: clear");
}

static void clear_picture(int colour) {
  EASEL_clear();
  draw_header(colour);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int colour = RED;
  int32_t x, y;
  char key;
  int event;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  clear_picture(colour);

  while ((event = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    if (event == EASEL_MOUSE && y < 220) { /* below the header */
      EASEL_circle(colour, x, y, DOT_RADIUS);
    } else if (event == EASEL_KBD) {
      switch (key) {
        case 'r':
          colour = RED;
          break;
        case 'g':
          colour = GREEN;
          break;
        case 'b':
          colour = BLUE;
          break;
        case 'y':
          colour = YELLOW;
          break;
        case 'k':
          colour = BLACK;
          break;
        case '+':
          colour = (colour + 1) % COLOURS;
          break;
        case '-':
          colour = (colour + COLOURS - 1) % COLOURS;
          break;
        case 'c':
          clear_picture(colour);
          break;
        default:
          break; /* any other key does nothing */
      }
      draw_header(colour);
    }
  }

  EASEL_close();
  return 0;
}
