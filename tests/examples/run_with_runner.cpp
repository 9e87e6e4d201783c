// run_example through easel-run: the program runs unchanged as a child process on the headless
// host; the runner plays the script, closes the window when it has ended and writes a frame
// after every event. The summary must count every event of the script.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "examples/run_example.h"
#include "platform/headless.h"
#include "support/files.h"

namespace fs = std::filesystem;

// Runs the example under easel-run with the script; returns the last frame it wrote.
Frame run_example(const std::string& program, const std::string& script, int events) {
  const TemporaryDirectory dir("easel-example");
  const std::string command = std::string("'") + EASEL_RUN + "' --script '" + EXAMPLE_SCRIPTS +
                              "/" + script + "' --frames '" + (dir / "frames").string() + "' '" +
                              EXAMPLE_PROGRAMS + "/" + program + "' >'" +
                              (dir / "summary").string() + "' 2>&1";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
  const std::string summary = read_file(dir / "summary");
  EXPECT_EQ(summary.rfind(std::to_string(events) + " events played", 0), 0u) << summary;

  // Frames are named by event number, so the last in name order is the last one written.
  std::string last;
  if (fs::is_directory(dir / "frames")) {
    for (const auto& entry : fs::directory_iterator(dir / "frames")) {
      last = std::max(last, entry.path().string());
    }
  }
  Frame frame;
  EXPECT_TRUE(!last.empty() && headless_read_png(last, &frame.pixels, &frame.width, &frame.height))
      << summary;
  return frame;
}
