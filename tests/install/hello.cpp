// A first EASEL program in C++ with a main() of its own, which opens the package itself: a red
// disc and a greeting, then three periodic steps, then it ends. Prints how many steps it saw.
#include <easel.h>

#include <cstdio>

int main() {
  int32_t x = 0, y = 0;
  char key = 0;
  int steps = 0;

  EASEL_open(nullptr, nullptr, nullptr, 0);
  EASEL_clear();
  EASEL_circle(2, 0, 0, 50);
  EASEL_printf_at(0, -100, 100, 20, "Hello from %s", "C++");
  EASEL_animate(EASEL_ANIM_RUN);
  while (steps < 3) {
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind == EASEL_PERIODIC) ++steps;
  }
  std::printf("hello: %d periodic events\n", steps);
  EASEL_close();
  return steps == 3 ? 0 : 1;
}
