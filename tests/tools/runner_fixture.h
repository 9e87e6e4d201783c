// The runner's tests run easel-run as a program, on the game and on tests/tools/programs/
// misbehave.cpp, each in a temporary folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "support/drawing_point.h"
#include "support/files.h"

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class Runner : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()) << "no temporary directory"; }

  std::string script(const char* name, const std::string& text) {
    write_file(dir_ / name, text);
    return (dir_ / name).string();
  }
  std::string out(const char* name) { return (dir_ / name).string(); }

  // easel-run with these arguments (and environment settings before it, as a shell takes them).
  Outcome run(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " '" + EASEL_RUN + "' " + arguments + " >'" +
                                out("stdout") + "' 2>'" + out("stderr") + "'";
    Outcome result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = read_file(dir_ / "stdout");
    result.err = read_file(dir_ / "stderr");
    return result;
  }

  std::vector<std::string> files_in(const char* name) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / name))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // A pixel of a written frame (the whole window) at a drawing point.
  uint32_t frame_pixel(const char* dir, const char* file, int x, int y) {
    Frame frame;
    if (!headless_read_png((dir_ / dir / file).string(), &frame.pixels, &frame.width,
                           &frame.height))
      return 1;
    return frame.at(x, y);
  }

  TemporaryDirectory dir_{"runner-test"};
};
