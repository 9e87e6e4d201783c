// What easel-run judges: the whole run against the model answer's frames (a frame missing, a
// frame too many, the program that never attaches), the frames folder never the expected one
// and cleared of an earlier run, a frame that cannot be written, frame 0 and the last picture,
// and the log with the event each line came in.
#include "runner_fixture.h"

namespace {

// The model answer: misbehave on five periodic events gives frames 0 to 5.
class RunnerJudging : public Runner {
 protected:
  void SetUp() override {
    Runner::SetUp();
    const Outcome model = run("--script " + script("five.scr", "EASEL_PERIODIC(5);\n") +
                              " --frames " + out("model") + " " + MISBEHAVE);
    ASSERT_EQ(model.status, 0) << model.out << model.err;
  }
  Outcome check(const std::string& periodic, const std::string& way = "") {
    return run("--script " + script("check.scr", "EASEL_PERIODIC(" + periodic + ");\n") +
               " --expect " + out("model") + " " + MISBEHAVE + " " + way);
  }
};

TEST_F(RunnerJudging, EveryExpectedFrameMustBeMadeAndEveryFrameMadeExpected) {
  const Outcome same = check("5");
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "5 events played, 0 frames written; 6 frames match\n");

  const Outcome early = check("3");
  EXPECT_EQ(early.status, 1);
  EXPECT_EQ(early.out,
            "3 events played, 0 frames written; first difference: frame-000004.png expected, but "
            "the program ended after event 3\n");

  const Outcome extra = check("6");
  EXPECT_EQ(extra.status, 1);
  EXPECT_EQ(extra.out,
            "6 events played, 0 frames written; first difference: frame-000006.png "
            "made, but not expected: " +
                out("model") + " has no such frame\n");

  // A program that hides from the session is never compared, so it cannot pass.
  const Outcome hidden = check("5", "unset");
  EXPECT_EQ(hidden.status, 1);
  EXPECT_EQ(hidden.out, std::string("0 events played, 0 frames written; ") + MISBEHAVE +
                            " never opened the EASEL package under the runner: nothing was "
                            "played or compared\n");
}

TEST_F(RunnerJudging, TheFramesFolderIsNeverTheExpectedOneAndLosesOnlyTheRunnersOldFiles) {
  const std::string before = read_file(dir_ / "model" / "frame-000003.png");
  const Outcome same = run("--script " + out("five.scr") + " --frames " + out("model") +
                           " --expect " + out("model") + "/. " + MISBEHAVE);
  EXPECT_EQ(same.status, 2);
  EXPECT_EQ(same.err, "easel-run: --frames and --expect name the same folder " + out("model") +
                          ": the expected frames would be overwritten\n");
  EXPECT_EQ(read_file(dir_ / "model" / "frame-000003.png"), before);

  // Frames 4 and 5 of the model stay, a diff, and any file not the runner's, are cleared.
  write_file(dir_ / "model" / "diff-000002.png", "old");
  write_file(dir_ / "model" / "notes.txt", "mine");
  write_file(dir_ / "model" / "frame-7.png", "mine");
  const Outcome shorter = run("--script " + script("three.scr", "EASEL_PERIODIC(3);\n") +
                              " --frames " + out("model") + " " + MISBEHAVE);
  EXPECT_EQ(shorter.status, 0) << shorter.err;
  EXPECT_EQ(files_in("model"),
            (std::vector<std::string>{"easel-run.log", "frame-000000.png", "frame-000001.png",
                                      "frame-000002.png", "frame-000003.png", "frame-7.png",
                                      "notes.txt"}));
}

TEST_F(RunnerJudging, AFrameThatCannotBeWrittenFailsTheRun) {
  const Outcome blocked = run("--script " + out("five.scr") + " --frames " + out("blocked") + " " +
                              MISBEHAVE + " block");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(blocked.out, "1 events played, 1 frames written; cannot write " + out("blocked") +
                             "/frame-000001.png\n");
}

// Frame 0 is the picture at the first wait, or the final picture of a program that never
// waits; the last picture of a run is the frame named after its last event.
TEST_F(RunnerJudging, FrameZeroAndTheLastPictureAreKept) {
  const Outcome drawn = run("--frames " + out("drawn") + " " + MISBEHAVE + " draw");
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(drawn.out, "0 events played, 1 frames written\n");
  EXPECT_EQ(files_in("drawn"), (std::vector<std::string>{"easel-run.log", "frame-000000.png"}));
  EXPECT_NE(frame_pixel("drawn", "frame-000000.png", 0, 0),
            frame_pixel("drawn", "frame-000000.png", 200, 200));  // the circle it drew

  // Every third event: frames 0 and 3, and 5, the last.
  const Outcome sparse =
      run("--every 3 --script " + out("five.scr") + " --frames " + out("sparse") + " " + MISBEHAVE);
  EXPECT_EQ(sparse.out, "5 events played, 3 frames written\n");
  EXPECT_EQ(files_in("sparse"), (std::vector<std::string>{"easel-run.log", "frame-000000.png",
                                                          "frame-000003.png", "frame-000005.png"}));
  EXPECT_EQ(read_file(dir_ / "sparse" / "frame-000005.png"),
            read_file(dir_ / "model" / "frame-000005.png"));
}

TEST_F(RunnerJudging, TheLogKeepsEveryLineWithTheEventItCameIn) {
  const Outcome corrected = run("--log " + out("run.log") + " --script " + out("five.scr") +
                                " --frames " + out("frames") + " " + MISBEHAVE + " correct");
  EXPECT_EQ(corrected.status, 0) << corrected.err;
  EXPECT_EQ(read_file(dir_ / "run.log"),
            "event 1: Illegal color 99; using RED.\n"
            "event 2: Illegal color 100; using RED.\n"
            "event 3: Illegal color 101; using RED.\n"
            "event 4: Illegal color 102; using RED.\n"
            "event 5: Illegal color 103; using RED.\n"
            "event 5: EOF encountered in script file EASEL.SCR\n");
  EXPECT_EQ(files_in("frames").front(), "frame-000000.png");  // --log takes the log elsewhere
}

}  // namespace
