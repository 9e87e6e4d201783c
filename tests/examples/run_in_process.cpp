// run_example in this process, for builds without the runner: each example is linked in with its
// WinMain renamed, runs on the headless host with its script copied as "EASEL.SCR" and played
// from the first wait (Ctrl+P), and its window is closed once the script has ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "examples/run_example.h"
#include "platform/headless.h"
#include "support/files.h"

extern "C" {
int example_bounce_main(HINSTANCE, HINSTANCE, LPSTR, int);
int example_paint_main(HINSTANCE, HINSTANCE, LPSTR, int);
int example_echo_main(HINSTANCE, HINSTANCE, LPSTR, int);
int example_palette_main(HINSTANCE, HINSTANCE, LPSTR, int);
int example_clock_main(HINSTANCE, HINSTANCE, LPSTR, int);
int example_run_menu_main(HINSTANCE, HINSTANCE, LPSTR, int);
}

namespace {

constexpr const char* GRAPHICS = "EASEL Graphics";
using Entry = int (*)(HINSTANCE, HINSTANCE, LPSTR, int);

}  // namespace

Frame run_example(const std::string& program, const std::string& script, int /*events*/) {
  const std::map<std::string, Entry> entries = {
      {"bounce", example_bounce_main}, {"paint", example_paint_main},
      {"echo", example_echo_main},     {"palette", example_palette_main},
      {"clock", example_clock_main},   {"run_menu", example_run_menu_main},
  };
  headless_reset();
  headless_set_time_limit(60000);
  easel_testing_reset();
  TemporaryDirectory dir("easel-example");
  EXPECT_TRUE(dir.enter());
  std::filesystem::copy_file(std::filesystem::path(EXAMPLE_SCRIPTS) / script, dir / "EASEL.SCR");

  Frame last;
  headless_set_present_observer([&last](const char* title) {
    if (std::string(title) == GRAPHICS) {
      headless_window_pixels(GRAPHICS, &last.pixels, &last.width, &last.height);
    }
  });
  // The playback produces every event without moving the virtual clock, so the close request
  // comes only once the script has ended and the program waits for the user.
  headless_ctrl_key(0, GRAPHICS, 'P');
  headless_close_request(1, GRAPHICS);
  const int status = entries.at(program)(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  EXPECT_EQ(status, 0);

  headless_set_present_observer({});
  easel_testing_reset();
  headless_reset();
  return last;
}
