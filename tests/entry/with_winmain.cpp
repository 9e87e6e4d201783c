// A program with WinMain only: the library's main() opens the host the environment names and
// calls WinMain with an instance and the arguments joined into one command line.
#include <cstring>

#include "draw_and_check.h"

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                              int show_command) {
  if (instance == nullptr || previous_instance != nullptr || command_line == nullptr ||
      std::strcmp(command_line, "alpha beta") != 0 || show_command != SW_SHOWDEFAULT) {
    std::fprintf(stderr, "WinMain got the command line \"%s\"\n",
                 command_line ? command_line : "(null)");
    return 2;
  }
  EASEL_open(instance, previous_instance, command_line, show_command);
  return draw_and_check();
}
