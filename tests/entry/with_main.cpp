// A program with its own main(): EASEL_open with null arguments opens the host itself.
#include "draw_and_check.h"

int main() {
  EASEL_open(nullptr, nullptr, nullptr, 0);
  return draw_and_check();
}
