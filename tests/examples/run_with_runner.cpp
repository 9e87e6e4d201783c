// run_example through easel-run: the program runs unchanged as a child process on the headless
// host; the runner plays the script, closes the window when it has ended and writes a frame
// after every event. The summary must count every event of the script.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "examples/run_example.h"
#include "platform/headless.h"

namespace fs = std::filesystem;

// Runs the example under easel-run with the script; returns the last frame it wrote.
Frame run_example(const std::string& program, const std::string& script, int events) {
  const fs::path dir =
      fs::temp_directory_path() / ("easel-example-" + std::to_string(getpid()) + "-" + script);
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string command = std::string("'") + EASEL_RUN + "' --script '" + EXAMPLE_SCRIPTS +
                              "/" + script + "' --frames '" + (dir / "frames").string() + "' '" +
                              EXAMPLE_PROGRAMS + "/" + program + "' >'" +
                              (dir / "summary").string() + "' 2>&1";
  const int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
  std::stringstream summary;
  summary << std::ifstream(dir / "summary").rdbuf();
  EXPECT_EQ(summary.str().rfind(std::to_string(events) + " events played", 0), 0u) << summary.str();

  // Frames are named by event number, so the last in name order is the last one written.
  std::string last;
  if (fs::is_directory(dir / "frames")) {
    for (const auto& entry : fs::directory_iterator(dir / "frames")) {
      last = std::max(last, entry.path().string());
    }
  }
  Frame frame;
  EXPECT_TRUE(!last.empty() && headless_read_png(last, &frame.pixels, &frame.width, &frame.height))
      << summary.str();
  fs::remove_all(dir);
  return frame;
}
