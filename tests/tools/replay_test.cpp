// chilly-replay run as a program: the same script gives the same PNG files byte for byte, each
// file shows the picture after its own event, a game that ends inside the script still shows
// its last event, and bad input ends with one line and status 2.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t WHITE = 0xFFFFFF, GREEN = 0x00FF00, BROWN = 0x996633, ICE_BLUE = 0x99FFFF;

// Four clicks on "Change Season" (spring, summer, autumn, winter), three periodic events, a key.
constexpr const char* SEASONS_SCRIPT =
    "EASEL_MOUSE(-250, -17);\nEASEL_MOUSE(-250, -17);\nEASEL_MOUSE(-250, -17);\n"
    "EASEL_MOUSE(-250, -17);\nEASEL_PERIODIC(3);\nEASEL_KBD(97);\n";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

class ReplayTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("replay-test-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write_script(const char* name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }

  Outcome replay(const std::string& arguments) {
    const std::string command = std::string("'") + CHILLY_REPLAY + "' " + arguments + " >'" +
                                (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() +
                                "'";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = read_file(dir_ / "stdout");
    run.err = read_file(dir_ / "stderr");
    return run;
  }

  std::vector<std::string> files_in(const char* name) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / name))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // A pixel of a written frame at a drawing point (the client area starts below the 20-row
  // menu bar; the drawing origin is at its centre).
  uint32_t frame_pixel(const char* out, const char* file, int x, int y) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!headless_read_png((dir_ / out / file).string(), &pixels, &width, &height)) return 1;
    return pixels[size_t(20 + 260 - y) * size_t(width) + size_t(300 + x)];
  }

  fs::path dir_;
};

TEST_F(ReplayTool, SameScriptGivesTheSameFramesEachAfterItsOwnEvent) {
  const fs::path script = write_script("seasons.scr", SEASONS_SCRIPT);
  const Outcome first = replay(script.string() + " --out " + (dir_ / "first").string());
  const Outcome second = replay(script.string() + " --out " + (dir_ / "second").string());
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "8 events played, 8 frames written\n");
  EXPECT_EQ(second.out, first.out);

  const std::vector<std::string> names = files_in("first");
  ASSERT_EQ(names.size(), 8u);
  EXPECT_EQ(names.front(), "frame-000001.png");
  EXPECT_EQ(files_in("second"), names);
  for (const std::string& name : names)
    EXPECT_EQ(read_file(dir_ / "first" / name), read_file(dir_ / "second" / name)) << name;

  // The ground below the horizon follows the season each click made.
  EXPECT_EQ(frame_pixel("first", "frame-000001.png", 0, -100), BROWN);
  EXPECT_EQ(frame_pixel("first", "frame-000002.png", 0, -100), GREEN);
  EXPECT_EQ(frame_pixel("first", "frame-000003.png", 0, -100), BROWN);
  EXPECT_EQ(frame_pixel("first", "frame-000004.png", 0, -100), WHITE);

  // Every third event, and the last.
  const Outcome sparse =
      replay(script.string() + " --out " + (dir_ / "sparse").string() + " --every 3");
  ASSERT_EQ(sparse.status, 0) << sparse.err;
  EXPECT_EQ(sparse.out, "8 events played, 3 frames written\n");
  EXPECT_EQ(files_in("sparse"),
            (std::vector<std::string>{"frame-000003.png", "frame-000006.png", "frame-000008.png"}));
  EXPECT_EQ(read_file(dir_ / "sparse" / "frame-000006.png"),
            read_file(dir_ / "first" / "frame-000006.png"));
}

// Spring melts the snowman in twelve events; the next shows the melted screen, and a key there
// ends the game, before the rest of the script.
TEST_F(ReplayTool, AGameThatEndsInsideTheScriptStillShowsItsLastEvent) {
  const fs::path script =
      write_script("melt.scr",
                   "EASEL_MOUSE(-250, -17);\nEASEL_PERIODIC(12);\nEASEL_KBD(113);\n"
                   "EASEL_PERIODIC(5);\n");
  const Outcome run = replay(script.string() + " --out " + (dir_ / "out").string() + " --every 10");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "14 events played, 2 frames written\n");
  EXPECT_EQ(files_in("out"), (std::vector<std::string>{"frame-000010.png", "frame-000014.png"}));
  EXPECT_EQ(frame_pixel("out", "frame-000014.png", 0, 100), ICE_BLUE);
  EXPECT_EQ(frame_pixel("out", "frame-000014.png", -100, 0), 0x000000u);    // the box
  EXPECT_EQ(frame_pixel("out", "frame-000010.png", -295, 230), 0x006633u);  // still the panel
}

TEST_F(ReplayTool, BadInputEndsWithOneLineAndStatusTwo) {
  const std::string out = " --out " + (dir_ / "out").string();
  const Outcome missing = replay((dir_ / "no-such.scr").string() + out);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "chilly-replay: cannot read script " + (dir_ / "no-such.scr").string() +
                             ": No such file or directory\n");
  EXPECT_EQ(missing.out, "");
  EXPECT_FALSE(fs::exists(dir_ / "out"));

  const Outcome directory = replay(dir_.string() + out);
  EXPECT_EQ(directory.status, 2);
  EXPECT_NE(directory.err.find("cannot read script"), std::string::npos);

  const fs::path script = write_script("ok.scr", SEASONS_SCRIPT);
  const std::string usage = "usage: chilly-replay SCRIPT --out DIR [--every N]\n";
  for (const std::string& arguments :
       {std::string(), script.string(), script.string() + out + " --every 0",
        script.string() + out + " --every x", script.string() + out + " --every",
        script.string() + " " + script.string() + out, script.string() + out + " --fast"}) {
    const Outcome bad = replay(arguments);
    EXPECT_EQ(bad.status, 2) << arguments;
    EXPECT_EQ(bad.err, usage) << arguments;
  }
}

}  // namespace
