// Analogue clock: a clock face whose hands are moved by the animation's periodic events. One
// periodic event comes every 100 ms while the animation runs, so ten of them make a second.
// The clock starts at 9:00:00. Halt it with Ctrl+H, run it again with Ctrl+A, or step it a
// tenth of a second at a time with Ctrl+F.
//
// Shows: periodic events as a clock, lines of different widths, a little trigonometry (y points
// up, as in mathematics), and C++ with <easel.h>.
#include <easel.h>

#include <cmath>

namespace {

const int BLACK = 0, WHITE = 1, RED = 2, NAVY_BLUE = 9, GRAY = 23;
const int FACE_RADIUS = 200;
const double PI = 3.14159265358979323846;

// A line from the centre of the clock, `fraction` of a full turn clockwise from 12 o'clock.
void hand(int colour, double fraction, int length, int width) {
  const double angle = fraction * 2 * PI;
  const int x = static_cast<int>(std::lround(length * std::sin(angle)));
  const int y = static_cast<int>(std::lround(length * std::cos(angle)));
  EASEL_line(colour, 0, 0, x, y, width);
}

void draw_clock(long tenths) {
  const long seconds = tenths / 10 % 60;
  const long minutes = tenths / 600 % 60;
  const long hours = (9 + tenths / 36000) % 12;

  EASEL_clear();
  EASEL_circle(GRAY, 0, 0, FACE_RADIUS);
  EASEL_circle(WHITE, 0, 0, FACE_RADIUS - 8);
  for (int mark = 0; mark < 12; ++mark) {  // a dot at every hour
    const double angle = mark * 2 * PI / 12;
    EASEL_circle(BLACK, static_cast<int>(std::lround(175 * std::sin(angle))),
                 static_cast<int>(std::lround(175 * std::cos(angle))), mark % 3 == 0 ? 7 : 4);
  }
  hand(BLACK, (hours + minutes / 60.0) / 12, 110, 8);  // the hour hand moves on slowly
  hand(NAVY_BLUE, minutes / 60.0, 160, 5);
  hand(RED, seconds / 60.0, 170, 1);
  EASEL_circle(RED, 0, 0, 6);
  EASEL_printf_at(BLACK, -45, -230, 20, "%02ld:%02ld:%02ld", hours == 0 ? 12 : hours, minutes,
                  seconds);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_animate(EASEL_ANIM_RUN);

  long tenths = 0;  // tenths of a second since the start
  draw_clock(tenths);
  int32_t x = 0, y = 0;
  char key = 0;
  for (;;) {
    const int event = EASEL_await_event(&x, &y, &key);
    if (event == EASEL_QUIT) break;
    if (event == EASEL_PERIODIC) {
      ++tenths;
      if (tenths % 10 == 0) draw_clock(tenths);  // the picture changes once a second
    }
  }

  EASEL_close();
  return 0;
}
