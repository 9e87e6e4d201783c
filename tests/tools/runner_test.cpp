// easel-run run as a program, on the game and on a small program that misbehaves on request:
// the same script gives the same frames byte for byte, each after its own event; expected
// frames pass or stop the run at the first difference with a diff image; the end of the script
// closes the window; the limit, a program that never waits and a crash each end with their own
// summary and status; bad input ends with one line and status 2.
#include <csignal>

#include "app/panel.h"
#include "runner_fixture.h"
#include "support/palette.h"

namespace {

// A script line that presses a button of the game's panel.
std::string press_line(PanelButton button) {
  return "EASEL_MOUSE(" + std::to_string(panel_button_x(button)) + ", " +
         std::to_string(panel_button_y(button)) + ");\n";
}
const std::string CHANGE_SEASON = press_line(BUTTON_CHANGE_SEASON);

// A key at the title, four clicks on "Change Season" (spring, summer, autumn, winter), three
// periodic events, a key.
const std::string SEASONS_SCRIPT = "EASEL_KBD(32);\n" + CHANGE_SEASON + CHANGE_SEASON +
                                   CHANGE_SEASON + CHANGE_SEASON +
                                   "EASEL_PERIODIC(3);\nEASEL_KBD(97);\n";

TEST_F(Runner, SameScriptGivesTheSameFramesEachAfterItsOwnEvent) {
  const std::string seasons = script("seasons.scr", SEASONS_SCRIPT);
  const Outcome first = run("--script " + seasons + " --frames " + out("first") + " " + CHILLY);
  const Outcome second = run("--script " + seasons + " --frames " + out("second") + " " + CHILLY);
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_EQ(first.out, "9 events played, 10 frames written\n");
  EXPECT_EQ(second.out, first.out);

  // Frame 0 is the title before any event; the package's log comes with the frames.
  std::vector<std::string> names = files_in("first");
  ASSERT_EQ(names.size(), 11u);
  EXPECT_EQ(names.front(), "easel-run.log");
  names.erase(names.begin());
  EXPECT_EQ(names.front(), "frame-000000.png");
  EXPECT_EQ(files_in("second").size(), names.size() + 1);
  for (const std::string& name : names)
    EXPECT_EQ(read_file(dir_ / "first" / name), read_file(dir_ / "second" / name)) << name;

  // The ground below the horizon follows the season each click made.
  EXPECT_EQ(frame_pixel("first", "frame-000001.png", 0, -100), WHITE);
  EXPECT_EQ(frame_pixel("first", "frame-000002.png", 0, -100), BROWN);
  EXPECT_EQ(frame_pixel("first", "frame-000003.png", 0, -100), GREEN);
  EXPECT_EQ(frame_pixel("first", "frame-000004.png", 0, -100), BROWN);
  EXPECT_EQ(frame_pixel("first", "frame-000005.png", 0, -100), WHITE);

  // Frame 0, every fourth event, and the last.
  const Outcome sparse =
      run("--every 4 --script " + seasons + " --frames " + out("sparse") + " " + CHILLY);
  ASSERT_EQ(sparse.status, 0) << sparse.err;
  EXPECT_EQ(sparse.out, "9 events played, 4 frames written\n");
  EXPECT_EQ(files_in("sparse"),
            (std::vector<std::string>{"easel-run.log", "frame-000000.png", "frame-000004.png",
                                      "frame-000008.png", "frame-000009.png"}));
  EXPECT_EQ(read_file(dir_ / "sparse" / "frame-000008.png"),
            read_file(dir_ / "first" / "frame-000008.png"));
}

TEST_F(Runner, ExpectedFramesPassOrStopTheRunAtTheFirstDifferenceWithADiffImage) {
  const std::string seasons = script("seasons.scr", SEASONS_SCRIPT);
  ASSERT_EQ(run("--script " + seasons + " --frames " + out("golden") + " " + CHILLY).status, 0);

  const Outcome same = run("--script " + seasons + " --expect " + out("golden") + " " + CHILLY);
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  EXPECT_EQ(same.out, "9 events played, 0 frames written; 10 frames match\n");

  // One pixel of the third frame changed: the run stops there, with the spot marked in red on
  // a dimmed copy of the frame.
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  const std::string third = out("golden") + "/frame-000003.png";
  ASSERT_TRUE(headless_read_png(third, &pixels, &width, &height));
  pixels[size_t(100) * size_t(width) + 200] ^= 0x010101;
  ASSERT_TRUE(headless_write_png(third, pixels, width, height));
  const Outcome differs = run("--script " + seasons + " --expect " + out("golden") + " --frames " +
                              out("frames") + " " + CHILLY);
  EXPECT_EQ(differs.status, 1);
  EXPECT_EQ(differs.out,
            "3 events played, 4 frames written; first difference: frame-000003.png "
            "differs from " +
                third + " in 1 pixels, see " + out("frames") + "/diff-000003.png\n");
  EXPECT_EQ(files_in("frames"),
            (std::vector<std::string>{"diff-000003.png", "easel-run.log", "frame-000000.png",
                                      "frame-000001.png", "frame-000002.png", "frame-000003.png"}));
  Frame diff;
  ASSERT_TRUE(headless_read_png(out("frames") + "/diff-000003.png", &diff.pixels, &diff.width,
                                &diff.height));
  EXPECT_EQ(std::count(diff.pixels.begin(), diff.pixels.end(), RED), 1);
  EXPECT_EQ(diff.pixels[size_t(100) * size_t(diff.width) + 200], RED);
  EXPECT_EQ(diff.at(0, -100), 0x005500u);  // green, dimmed
}

// The end of the script closes the window: a halted program, which would otherwise wait for
// ever, ends as after its close box. A game that ends inside the script still shows its last
// event: spring melts the snowman in twelve events, the next shows the melted screen and a key
// there ends the game before the rest of the script.
TEST_F(Runner, TheEndOfTheScriptClosesTheWindowAndAnEarlyEndKeepsTheLastFrame) {
  const Outcome halted =
      run("--script " + script("four.scr", "EASEL_PERIODIC(4);\n") + " " + MISBEHAVE);
  EXPECT_EQ(halted.status, 0) << halted.out << halted.err;
  EXPECT_EQ(halted.out, "4 events played, 0 frames written\n");

  const std::string melt =
      script("melt.scr", "EASEL_KBD(32);\n" + CHANGE_SEASON +
                             "EASEL_PERIODIC(12);\nEASEL_KBD(113);\nEASEL_PERIODIC(5);\n");
  const Outcome game =
      run("--every 10 --script " + melt + " --frames " + out("out") + " " + CHILLY);
  ASSERT_EQ(game.status, 0) << game.err;
  EXPECT_EQ(game.out, "15 events played, 3 frames written\n");
  EXPECT_EQ(files_in("out"), (std::vector<std::string>{"easel-run.log", "frame-000000.png",
                                                       "frame-000010.png", "frame-000015.png"}));
  EXPECT_EQ(frame_pixel("out", "frame-000015.png", 0, 100), ICE_BLUE);
  EXPECT_EQ(frame_pixel("out", "frame-000015.png", -100, 0), BLACK);  // the box
  EXPECT_EQ(frame_pixel("out", "frame-000010.png", PANEL_LEFT, 230),
            FOREST_GREEN);  // still the panel
}

// Virtual time ends a program that runs for ever; a real-time watchdog ends one that never
// waits for an event at all.
TEST_F(Runner, TheLimitEndsARunningProgramAndTheWatchdogOneThatNeverWaits) {
  const Outcome ticking =
      run("--limit 2 --every 15 --frames " + out("ticks") + " " + MISBEHAVE + " tick");
  EXPECT_EQ(ticking.status, 124);
  EXPECT_EQ(ticking.out.rfind("20 events played, 3 frames written; stopped at the limit of 2 s "
                              "of virtual time (",
                              0),
            0u)
      << ticking.out;
  EXPECT_EQ(files_in("ticks"), (std::vector<std::string>{"easel-run.log", "frame-000000.png",
                                                         "frame-000015.png", "frame-000020.png"}));

  const Outcome spinning = run(std::string(MISBEHAVE) + " spin", "EASEL_RUN_STALL=1");
  EXPECT_EQ(spinning.status, 124);
  EXPECT_EQ(spinning.out, std::string("0 events played, 0 frames written; stopped: ") + MISBEHAVE +
                              " waited for no event in 1 s of real time\n");
}

TEST_F(Runner, ACrashingProgramGivesItsSignal) {
  const std::string keys = script("keys.scr", "EASEL_PERIODIC(2);\nEASEL_KBD(120);\n");
  const Outcome crash = run("--script " + keys + " " + MISBEHAVE + " crash");
  EXPECT_EQ(crash.status, 128 + SIGABRT);
  EXPECT_EQ(crash.out, std::string("3 events played, 0 frames written; ") + MISBEHAVE +
                           " ended by signal 6 (Aborted)\n");
}

}  // namespace
