// Recording and playing back "EASEL.SCR": the file's lines, the run-length rule, playback in
// place of the user, lines outside the format, and the two directions never mixing.
#include "support.h"

namespace {

// Starts a playback as the menu does and returns the next events, all from the script.
std::vector<Event> play(int count) {
  script_start_playback();
  std::vector<Event> events;
  for (int i = 0; i < count; ++i) events.push_back(EaselTest::wait());
  return events;
}

}  // namespace

TEST_F(EaselTest, RecordedEventsPlayBackExactly) {
  open();
  headless_ctrl_key(50, GRAPHICS, 'R');
  click_at(60, 10, -20);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  EASEL_animate(EASEL_ANIM_RUN);
  for (int i = 0; i < 37; ++i) EXPECT_EQ(wait().kind, EASEL_PERIODIC);
  EASEL_animate(EASEL_ANIM_HALT);
  headless_type(5000, GRAPHICS, 'q');
  headless_type(5001, GRAPHICS, 233);  // Latin-1
  wait();
  wait();
  EXPECT_TRUE(checked(IDM_RECORD));
  headless_ctrl_key(6000, GRAPHICS, 'R');
  click_at(6001, 0, 0);
  wait();  // not recorded: the recording ended first
  EXPECT_FALSE(checked(IDM_RECORD));
  EXPECT_EQ(read_file("EASEL.SCR"),
            "EASEL_MOUSE(10, -20);\nEASEL_PERIODIC(37);\nEASEL_KBD(113);\nEASEL_KBD(-23);\n");

  // Played events come at once, without waiting for ticks.
  const uint64_t t = headless_now();
  std::vector<Event> expected = {{EASEL_MOUSE, 10, -20, 0, t}};
  expected.insert(expected.end(), 37, Event{EASEL_PERIODIC, 0, 0, 0, t});
  expected.push_back({EASEL_KBD, 0, 0, 'q', t});
  expected.push_back({EASEL_KBD, 0, 0, static_cast<char>(233), t});
  EXPECT_EQ(play(40), expected);
  EXPECT_TRUE(checked(IDM_PLAYBACK));
  EXPECT_EQ(log_lines().size(), 0u);

  // The end of the script ends the playback with one message; the user is heard again.
  click_at(headless_now() + 500, 1, 2);
  EXPECT_EQ(wait().x, 1);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"EOF encountered in script file EASEL.SCR\n"});
  EXPECT_EQ(package.playing, 0);
  EXPECT_FALSE(checked(IDM_PLAYBACK));
}

TEST_F(EaselTest, RunsPendingAtTheEndOfARecordingAreWritten) {
  open();
  script_start_recording();
  EASEL_animate(EASEL_ANIM_RUN);
  wait();
  wait();
  EXPECT_EQ(package.periodic_count, 2);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_QUIT, 0);
  EXPECT_EQ(wait().kind, EASEL_QUIT);
  EXPECT_EQ(package.periodic_count, 0);
  wait();
  script_stop_recording();
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_PERIODIC(2);\nEASEL_PERIODIC(1);\n");
  // The playback that follows starts with the file's first line, with nothing left over.
  EASEL_animate(EASEL_ANIM_HALT);
  for (const Event& e : play(3)) EXPECT_EQ(e.kind, EASEL_PERIODIC);
  EXPECT_EQ(package.periodic_count, 0);
}

TEST_F(EaselTest, LinesAreReadByTheirKindLetterAndNumbers) {
  open();
  write_file("EASEL.SCR",
             "X12345M 7 8\n\n\nEASEL_PERIODIC(1);\nEASEL_PERIODIC(0);\n"
             "EASEL_KBD(-23);\nEASEL_MOUSE(-2147483648, 2147483647);\nEASEL_KBD(1);");
  const std::vector<Event> expected = {{EASEL_MOUSE, 7, 8, 0, 0},
                                       {EASEL_PERIODIC, 0, 0, 0, 0},
                                       {EASEL_PERIODIC, 0, 0, 0, 0},
                                       {EASEL_KBD, 0, 0, static_cast<char>(233), 0},
                                       {EASEL_MOUSE, INT32_MIN, INT32_MAX, 0, 0}};
  EXPECT_EQ(play(5), expected);
  // The last line lacks its newline: it is not played, the end is reported instead.
  EXPECT_EQ(script_read_event(), 0);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"EOF encountered in script file EASEL.SCR\n"});
}

TEST_F(EaselTest, LinesOutsideTheFormatProduceNothing) {
  open();
  const std::string garbage("EASEL_M\0\xff\x01 3 4\n", 15);
  write_file("EASEL.SCR",
             "EASEL_Q(1);\nEASEL\nEASEL_M(5);\nEASEL_KBD(x);\nEASEL_PERIODIC(-);\n"
             "EASEL_KBD(-123456789012);\nEASEL_MOUSE(4294967296, 1);\n" +
                 garbage + "EASEL_KBD(98);\n");
  package.event_kind = 77;
  package.event_key = 'z';
  for (int line = 1; line <= 8; ++line) {
    EXPECT_EQ(script_read_event(), line == 8 ? 1 : 0) << "line " << line;
    EXPECT_EQ(package.event_kind, line < 8 ? 77 : EASEL_MOUSE) << "line " << line;
  }
  EXPECT_EQ(package.event_y, 4);      // the garbage line has two numbers after its M
  EXPECT_EQ(package.event_key, 'z');  // untouched by the lines that could not be read
  EXPECT_EQ(script_read_event(), 1);
  EXPECT_EQ(package.event_key, 'b');
  EXPECT_EQ(log_lines().size(), 0u);
}

TEST_F(EaselTest, LongLinesComeInPiecesSignsAloneAreZeroAndCrLfEndsALine) {
  open();
  // A line of more than 511 characters is read 511 at a time, each piece a line of its own:
  // here the first piece is a key and the rest of the line a click. A run of minus signs
  // without a digit is the number 0. CR LF ends a line, so blank CR LF lines are skipped.
  const std::string piece = "EASEL_KBD(97);" + std::string(511 - 14, ' ');
  write_file("EASEL.SCR", piece + "EASEL_MOUSE(1, 2);\n" + "EASEL_KBD(-);\r\n\r\n\r\n" +
                              "EASEL_MOUSE(--5, 6);\r\nEASEL_PERIODIC(2);\r\n\r\n");
  const std::vector<Event> expected = {{EASEL_KBD, 0, 0, 'a', 0},    {EASEL_MOUSE, 1, 2, 0, 0},
                                       {EASEL_KBD, 0, 0, 0, 0},      {EASEL_MOUSE, 0, 6, 0, 0},
                                       {EASEL_PERIODIC, 0, 0, 0, 0}, {EASEL_PERIODIC, 0, 0, 0, 0}};
  EXPECT_EQ(play(6), expected);
  EXPECT_EQ(script_read_event(), 0);  // the blank CR LF line at the end is skipped too
  EXPECT_EQ(log_lines(), std::vector<std::string>{"EOF encountered in script file EASEL.SCR\n"});
}

TEST_F(EaselTest, MissingScriptEndsPlaybackWithOneMessage) {
  open();
  click_at(400, 5, 5);
  headless_ctrl_key(100, GRAPHICS, 'P');
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 5, 5, 0, 400}));  // the user is heard again
  EXPECT_EQ(log_lines(),
            std::vector<std::string>{"Cannot open script file EASEL.SCR for reading\n"});
  EXPECT_EQ(package.playing + package.play_one, 0);
  EXPECT_FALSE(checked(IDM_PLAYBACK));

  // A folder is no script either.
  std::filesystem::create_directory("EASEL.SCR");
  EXPECT_EQ(script_read_event(), 0);
  EXPECT_EQ(log_lines().back(), "Cannot open script file EASEL.SCR for reading\n");
  script_start_recording();  // nor can it be written
  click_at(500, 0, 0);
  wait();
  EXPECT_EQ(log_lines().back(), "Cannot open script file EASEL.SCR for writing\n");
  EXPECT_EQ(package.recording, 1);
}

TEST_F(EaselTest, PlayOneStepsThroughAndAQuitIsNeverLost) {
  open();
  write_file("EASEL.SCR", "EASEL_KBD(97);\nEASEL_KBD(98);\nEASEL_PERIODIC(1000);\n");
  EASEL_animate(EASEL_ANIM_RUN);
  headless_ctrl_key(30, GRAPHICS, 'O');
  EXPECT_EQ(wait().key, 'a');  // replaces the periodic event waiting for its tick
  EXPECT_EQ(package.running, 0);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_PLAY_ONE, 0);
  EXPECT_EQ(wait().key, 'b');
  // The window is closed while a long run plays: the quit still reaches the program.
  headless_ctrl_key(headless_now() + 10, GRAPHICS, 'P');
  EXPECT_EQ(wait().kind, EASEL_PERIODIC);
  PostMessageA(package.graphics_window, WM_CLOSE, 0, 0);
  int kind = 0;
  for (int i = 0; i < 10 && kind != EASEL_QUIT; ++i) kind = wait().kind;
  EXPECT_EQ(kind, EASEL_QUIT);
}

TEST_F(EaselTest, OneDirectionEndsTheOther) {
  open();
  write_file("EASEL.SCR", "EASEL_PERIODIC(5);\nEASEL_KBD(97);\n");
  // A recording started after play-one (the file still open for reading, a run still owed)
  // writes a new script from its first line and counts only its own events.
  script_play_one();
  EXPECT_EQ(wait().kind, EASEL_PERIODIC);
  EXPECT_EQ(package.periodic_count, 4);
  script_start_recording();
  headless_type(headless_now() + 10, GRAPHICS, 'x');
  wait();
  // Playback while recording: the recording is finished first and then played.
  script_start_playback();
  EXPECT_EQ(package.recording, 0);
  EXPECT_FALSE(checked(IDM_RECORD));
  EXPECT_EQ(wait().key, 'x');
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_KBD(120);\n");
  // Recording while playing: the playback stops and the script is replaced.
  script_start_recording();
  EXPECT_EQ(package.playing, 0);
  EXPECT_FALSE(checked(IDM_PLAYBACK));
  headless_type(headless_now() + 10, GRAPHICS, 'y');
  wait();
  script_stop_recording();
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_KBD(121);\n");
}
