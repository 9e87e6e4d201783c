// The process entry of programs written against the window system: opens the host and hands
// the program's WinMain its instance, no previous instance, the command line (the arguments
// joined by spaces) and the default show command. WinMain is a weak reference, so a program
// that has its own main() links without one.
#include <cstdio>
#include <string>

#include "hosts/host.h"
#include "src/entry_door.h"

extern "C" int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) __attribute__((weak));

// Exported from the shared library (built with hidden visibility): the program's start-up code
// finds main() there.
__attribute__((visibility("default"))) int main(int argc, char** argv) {
  if (WinMain == nullptr) {
    std::fprintf(stderr, "this program has neither WinMain nor main\n");
    return 1;
  }
  const char* why = "no display";
  if (!host::open(&why)) {
    host::report_open_failure(why);
    return 1;
  }
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  return WinMain(plat::program_instance(), nullptr, command_line.data(), SW_SHOWDEFAULT);
}
