// A program whose windows cannot be made: it names a previous instance, so the package leaves the
// window classes to it, and there is none. EASEL_open says so and ends the program with status 1.
#include "easel/easel.h"

int main() {
  struct HINSTANCE__* previous = reinterpret_cast<HINSTANCE>(1);
  EASEL_open(nullptr, previous, nullptr, 0);
  EASEL_circle(2, 0, 0, 10);
  return 0;
}
