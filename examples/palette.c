/* Palette: the 24 colours of EASEL with their numbers and names. Click a colour to see its
 * number, name and red, green and blue values in the log window ("EASEL Text"); the chosen
 * colour gets a black frame.
 *
 * Shows: colour numbers, filled and outlined rectangles, and writing to the log with
 * EASEL_printf. */
#include <easel.h>

#define COLOURS 24
#define COLUMNS 4
#define SWATCH_WIDTH 145
#define SWATCH_HEIGHT 64
#define LEFT (-295)
#define TOP 250

static const char* const names[COLOURS] = {
    "black",     "white",        "red",       "green",     "blue",       "yellow",
    "magenta",   "cyan",         "purple",    "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange",       "brown",     "pink",      "chalk",      "gold",
    "peach",     "forest green", "sea green", "olive",     "50% gray",   "20% gray"};

static const unsigned char rgb[COLOURS][3] = {
    {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
    {255, 255, 0},   {255, 0, 255},   {0, 255, 255},   {153, 0, 204},   {0, 51, 153},
    {153, 102, 153}, {153, 255, 255}, {153, 255, 204}, {255, 102, 0},   {153, 102, 51},
    {255, 153, 204}, {255, 255, 153}, {204, 153, 51},  {255, 153, 102}, {0, 102, 51},
    {51, 204, 153},  {153, 153, 51},  {128, 128, 128}, {204, 204, 204}};

/* Top left corner of colour n's swatch: four columns, six rows. */
static int swatch_left(int n) {
  return LEFT + (n % COLUMNS) * (SWATCH_WIDTH + 2);
}
static int swatch_top(int n) {
  return TOP - (n / COLUMNS) * (SWATCH_HEIGHT + 18);
}

static void draw_palette(int chosen) {
  int n;
  EASEL_clear();
  for (n = 0; n < COLOURS; n++) {
    int left = swatch_left(n), top = swatch_top(n);
    /* The colour, a gray outline so that white shows, and its number and name below. */
    EASEL_rectangle(n, left, top, left + SWATCH_WIDTH - 1, top - SWATCH_HEIGHT + 1, 0);
    EASEL_rectangle(n == chosen ? 0 : 22, left, top, left + SWATCH_WIDTH - 1,
                    top - SWATCH_HEIGHT + 1, n == chosen ? 3 : 1);
    EASEL_printf_at(0, left, top - SWATCH_HEIGHT - 16, 11, "%d %s", n, names[n]);
  }
}

/* The colour under a click, or -1. */
static int colour_at(int x, int y) {
  int n;
  for (n = 0; n < COLOURS; n++) {
    int left = swatch_left(n), top = swatch_top(n);
    if (x >= left && x < left + SWATCH_WIDTH && y <= top && y > top - SWATCH_HEIGHT) return n;
  }
  return -1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int32_t x, y;
  char key;
  int event;
  int chosen = -1;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  draw_palette(chosen);

  while ((event = EASEL_await_event(&x, &y, &key)) != EASEL_QUIT) {
    if (event == EASEL_MOUSE) {
      int n = colour_at(x, y);
      if (n >= 0) {
        chosen = n;
        EASEL_printf("colour %d, %s: red %d, green %d, blue %d\n", n, names[n], rgb[n][0],
                     rgb[n][1], rgb[n][2]);
        draw_palette(chosen);
      }
    }
  }

  EASEL_close();
  return 0;
}
