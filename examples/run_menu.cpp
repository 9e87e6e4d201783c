// The Run menu: a square travels across the window, one step per periodic event, and every
// click leaves a mark. Try the Run menu or its keys, which the window lists: run, halt and
// single-step the animation, switch the drawing log, record the events to EASEL.SCR and play
// them back, and quit. A playback replays the recorded steps and clicks at full speed.
//
// Shows: that the program itself does nothing for these commands: the package carries them out
// and the program only sees the events that result.
#include <easel.h>

#include <vector>

namespace {

const int BLACK = 0, RED = 2, BLUE = 4, GRAY = 22;

struct Mark {
  int x, y;
};

const char* const HELP[] = {
    "Ctrl+A  run the animation",       "Ctrl+H  halt it",
    "Ctrl+F  advance one step",        "Ctrl+L  drawing log on/off",
    "Ctrl+R  record to EASEL.SCR",     "Ctrl+P  play EASEL.SCR back",
    "Ctrl+O  play one recorded event", "Ctrl+Q  quit",
};

void draw(int steps, const std::vector<Mark>& marks, int keys) {
  EASEL_clear();
  int y = 240;
  for (const char* line : HELP) {
    EASEL_text(BLACK, -290, y, 14, line);
    y -= 18;
  }
  EASEL_printf_at(GRAY, 20, 240, 14, "steps %d   clicks %d   keys %d", steps,
                  static_cast<int>(marks.size()), keys);
  EASEL_line(GRAY, -300, -60, 300, -60, 1);  // the square's track
  const int square_x = -280 + (steps * 10) % 560;
  EASEL_rectangle(BLUE, square_x, -40, square_x + 20, -60, 0);
  for (const Mark& mark : marks) EASEL_circle(RED, mark.x, mark.y, 5);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  // Halted at first: nothing moves until Ctrl+A, Ctrl+F or a playback.
  int steps = 0, keys = 0;
  std::vector<Mark> marks;
  draw(steps, marks, keys);

  int32_t x = 0, y = 0;
  char key = 0;
  for (;;) {
    const int event = EASEL_await_event(&x, &y, &key);
    if (event == EASEL_QUIT) break;
    if (event == EASEL_PERIODIC) ++steps;
    if (event == EASEL_MOUSE) marks.push_back({x, y});
    if (event == EASEL_KBD) ++keys;
    draw(steps, marks, keys);
  }

  EASEL_close();
  return 0;
}
