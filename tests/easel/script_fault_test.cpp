// Faults of the script file: a working directory where "EASEL.SCR" cannot be created, a full
// disk or a file that stops taking lines during a recording, a script cut in the middle of a
// line, and a recording killed by a signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support.h"

namespace {

const std::string CANNOT_OPEN = "Cannot open script file EASEL.SCR for writing\n";
const std::string CANNOT_WRITE = "Cannot write script file EASEL.SCR\n";
const std::string END_OF_SCRIPT = "EOF encountered in script file EASEL.SCR\n";

Event type(char c) {
  headless_type(headless_now() + 10, GRAPHICS, static_cast<unsigned char>(c));
  return EaselTest::wait();
}

void periodic_events(int count) {
  EASEL_animate(EASEL_ANIM_RUN);
  for (int i = 0; i < count; ++i) EXPECT_EQ(EaselTest::wait().kind, EASEL_PERIODIC);
  EASEL_animate(EASEL_ANIM_HALT);
}

// Every event that the script yields from its top, read until the reader reports its end.
std::vector<Event> script_events() {
  std::vector<Event> events;
  while (script_read_event() == 1) {
    events.push_back({package.event_kind, package.event_x, package.event_y, package.event_key, 0});
    package.event_x = package.event_y = package.event_key = 0;
  }
  script_stop_playback();
  return events;
}

}  // namespace

TEST_F(EaselTest, ScriptThatCannotBeCreatedLosesOnlyItsOwnLines) {
  open();
  const std::filesystem::path directory = std::filesystem::current_path();
  // A working directory that is gone: nothing can be created in it, not even by root.
  std::filesystem::remove_all(directory);
  script_start_recording();
  click_at(100, 10, 20);
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 10, 20, 0, 100}));
  EXPECT_EQ(type('a').key, 'a');
  periodic_events(3);
  click_at(headless_now() + 50, -5, -5);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  // One message per line that could not be written: click, key, the run of three, click.
  EXPECT_EQ(log_lines(), std::vector<std::string>(4, CANNOT_OPEN));
  EXPECT_EQ(package.recording, 1);
  EXPECT_TRUE(checked(IDM_RECORD));
  EXPECT_EQ(package.script_file, nullptr);

  // Once the file can be made, the recording goes on with the next event.
  std::filesystem::create_directories(directory);
  std::filesystem::current_path(directory);
  EXPECT_EQ(type('b').key, 'b');
  script_stop_recording();
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_KBD(98);\n");
  EXPECT_EQ(log_lines().size(), 4u);
}

TEST_F(EaselTest, LinesThatCannotBeWrittenAreReportedOnce) {
  open();
  // A full disk from the first line on: the lines are lost, and the log says so once.
  ASSERT_EQ(symlink("/dev/full", "EASEL.SCR"), 0);
  script_start_recording();
  for (char c : std::string("abc")) EXPECT_EQ(type(c).key, c);
  periodic_events(2);
  click_at(headless_now() + 10, 1, 1);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  script_stop_recording();
  EXPECT_EQ(log_lines(), std::vector<std::string>{CANNOT_WRITE});
  // A new recording into the same full disk is told again, once.
  script_start_recording();
  type('d');
  type('e');
  script_stop_recording();
  EXPECT_EQ(log_lines(), std::vector<std::string>(2, CANNOT_WRITE));

  // A file that stops taking lines in the middle of a recording, and takes them again later:
  // the lines before and after are on the disk, the ones in between are reported once.
  std::filesystem::remove("EASEL.SCR");
  script_start_recording();
  type('f');
  const int file = fileno(package.script_file);
  const int writable = dup(file);
  const int read_only = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(dup2(read_only, file), 0);
  type('g');
  type('h');
  EXPECT_EQ(log_since(2), std::vector<std::string>{CANNOT_WRITE});
  ASSERT_GE(dup2(writable, file), 0);
  type('i');
  ASSERT_GE(dup2(read_only, file), 0);
  type('j');
  ASSERT_GE(dup2(writable, file), 0);
  script_stop_recording();
  close(writable);
  close(read_only);
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_KBD(102);\nEASEL_KBD(105);\n");
  EXPECT_EQ(log_since(2), std::vector<std::string>(2, CANNOT_WRITE));
}

TEST_F(EaselTest, ScriptCutInTheMiddleOfALinePlaysOnlyItsWholeLines) {
  open();
  const std::string script = "EASEL_MOUSE(-120, 45);\nEASEL_PERIODIC(3);\nEASEL_KBD(-23);\n";
  const std::vector<Event> lines[] = {
      {{EASEL_MOUSE, -120, 45, 0, 0}},
      std::vector<Event>(3, {EASEL_PERIODIC, 0, 0, 0, 0}),
      {{EASEL_KBD, 0, 0, static_cast<char>(233), 0}},
  };
  for (size_t cut = 0; cut <= script.size(); ++cut) {
    SCOPED_TRACE("cut after " + std::to_string(cut) + " characters");
    write_file("EASEL.SCR", script.substr(0, cut));
    std::vector<Event> expected;
    size_t whole_lines = 0;
    for (size_t i = 0; i < cut; ++i) whole_lines += script[i] == '\n' ? 1 : 0;
    for (size_t line = 0; line < whole_lines; ++line) {
      expected.insert(expected.end(), lines[line].begin(), lines[line].end());
    }
    EXPECT_EQ(script_events(), expected);
    EXPECT_EQ(log_lines().back(), END_OF_SCRIPT);
  }
}

TEST_F(EaselTest, RecordingKilledBySignalLosesAtMostThePendingRun) {
  open();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    script_start_recording();
    click_at(headless_now() + 10, 10, -20);
    wait();
    periodic_events(5);
    type('k');
    periodic_events(3);  // the pending run, written only when the next event comes
    if (write(ready[1], "r", 1) == 1) pause();
    _exit(1);
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_MOUSE(10, -20);\nEASEL_PERIODIC(5);\nEASEL_KBD(107);\n");
  std::vector<Event> expected = {{EASEL_MOUSE, 10, -20, 0, 0}};
  expected.insert(expected.end(), 5, {EASEL_PERIODIC, 0, 0, 0, 0});
  expected.push_back({EASEL_KBD, 0, 0, 'k', 0});
  EXPECT_EQ(script_events(), expected);
}

TEST_F(EaselTest, ClosingThePackageWhileRecordingKeepsThePendingRun) {
  open();
  script_start_recording();
  type('k');
  periodic_events(4);
  EXPECT_EQ(EASEL_close(), 1);
  EXPECT_EQ(package.recording, 0);
  EXPECT_EQ(package.script_file, nullptr);
  EXPECT_EQ(read_file("EASEL.SCR"), "EASEL_KBD(107);\nEASEL_PERIODIC(4);\n");
}

TEST_F(EaselTest, ScriptWithoutEndEndsThePlaybackInsteadOfHanging) {
  open();
  // The full-disk device reads as zero bytes for ever: it is not a regular file, so it is not
  // read at all, and each playback says so once.
  ASSERT_EQ(symlink("/dev/full", "EASEL.SCR"), 0);
  alarm(60);  // a hang fails the test rather than holding it for ever
  for (int playback = 0; playback < 2; ++playback) {
    script_start_playback();
    click_at(headless_now() + 10, 3, 4);
    EXPECT_EQ(wait().kind, EASEL_MOUSE);
    EXPECT_EQ(package.playing, 0);
  }
  alarm(0);
  const std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines)  // a repaint draws a stored line without its newline
    EXPECT_EQ(line.rfind("Cannot open script file EASEL.SCR for reading", 0), 0u) << line;
}
