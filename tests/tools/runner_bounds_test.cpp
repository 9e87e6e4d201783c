// What bounds an easel-run run: every run ends (the limit counts played periodic events; a
// script that is not a regular file or is too large is refused), bad input is refused with its
// reason, nothing is left behind (no process, no folder, even on SIGTERM), a program the
// program starts is not part of the run, and scripted events stay whole whatever the user does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

#include "runner_fixture.h"

namespace {

namespace fs = std::filesystem;

bool process_gone(pid_t pid) {
  return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
}

// The process numbers a misbehave run wrote, once it has written them whole.
std::vector<pid_t> read_pids(const fs::path& path) {
  std::vector<pid_t> pids;
  std::istringstream text(read_file(path));
  for (pid_t pid = 0; text >> pid;) pids.push_back(pid);
  return pids;
}

TEST_F(Runner, EveryRunEndsAndWhatCannotEndIsRefused) {
  // A key, then two thousand million periodic events: ten seconds' worth are played.
  const std::string endless =
      script("endless.scr", "EASEL_KBD(32);\nEASEL_PERIODIC(2147483647);\n");
  const Outcome limited = run("--limit 10 --script " + endless + " " + MISBEHAVE + " echo");
  EXPECT_EQ(limited.status, 124);
  EXPECT_EQ(limited.out,
            "101 events played, 0 frames written; stopped at the limit of 10 s of virtual time "
            "(played periodic event 102 would pass it at 10000 ms)\n");

  mkfifo(out("fifo").c_str(), 0600);
  for (const std::string& path : {std::string("/dev/zero"), out("fifo")}) {
    const Outcome refused = run("--script " + path + " " + MISBEHAVE);
    EXPECT_EQ(refused.status, 2) << path;
    EXPECT_EQ(refused.err, "easel-run: cannot read script " + path + ": not a regular file\n");
  }
  const int big = open(out("big.scr").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_EQ(ftruncate(big, (int64_t(64) << 20) + 1), 0);
  close(big);
  const Outcome huge = run("--script " + out("big.scr") + " " + MISBEHAVE);
  EXPECT_EQ(huge.status, 2);
  EXPECT_EQ(huge.err, "easel-run: cannot read script " + out("big.scr") + ": larger than 64 MB\n");

  const Outcome stall = run(std::string(MISBEHAVE), "EASEL_RUN_STALL=0");
  EXPECT_EQ(stall.status, 2);
  EXPECT_EQ(stall.err, "easel-run: EASEL_RUN_STALL: 0 is not a whole number of at least 1\n");
}

// The package's own playback never waits on a FIFO as "EASEL.SCR": one line, and the playback
// ends (which, under the runner, closes the window).
TEST_F(Runner, ThePackageRefusesAFifoAsItsScript) {
  const Outcome fifo =
      run("--log " + out("fifo.log") + " --script " + script("one.scr", "EASEL_PERIODIC(1);\n") +
              " " + MISBEHAVE + " fifo",
          "EASEL_RUN_STALL=5");
  EXPECT_EQ(fifo.status, 0) << fifo.out << fifo.err;
  EXPECT_EQ(fifo.out, "0 events played, 0 frames written\n");
  EXPECT_EQ(read_file(dir_ / "fifo.log"),
            "event 0: Cannot open script file EASEL.SCR for reading\n");
}

TEST_F(Runner, BadInputEndsWithTheUsageAndItsReason) {
  const std::string ok = script("ok.scr", "EASEL_PERIODIC(1);\n");
  const std::string program = MISBEHAVE;
  const std::string usage =
      "usage: easel-run [--script FILE] [--frames DIR] [--every N] [--limit SECONDS] "
      "[--expect DIR] [--log FILE] PROGRAM [ARGS...]\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "no PROGRAM given"},
      {"--script " + ok, "no PROGRAM given"},
      {"--every 0 " + program, "--every: 0 is not a whole number of at least 1"},
      {"--every x " + program, "--every: x is not a whole number of at least 1"},
      {"--limit -5 " + program, "--limit: -5 is not a whole number from 1 to 86400"},
      {"--limit 9223372036854775 " + program,
       "--limit: 9223372036854775 is not a whole number from 1 to 86400"},
      {"--script " + ok + " --script " + ok + " " + program, "--script given twice"},
      {"--fast " + program, "unknown option --fast"},
      {"--frames", "--frames needs a value"},
  };
  for (const auto& [arguments, reason] : cases) {
    const Outcome bad = run(arguments);
    EXPECT_EQ(bad.status, 2) << arguments;
    EXPECT_EQ(bad.err, "easel-run: " + reason + "\n" + usage) << arguments;
    EXPECT_EQ(bad.out, "") << arguments;
  }

  const Outcome missing = run("--script " + out("no-such.scr") + " " + program);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "easel-run: cannot read script " + out("no-such.scr") +
                             ": No such file or directory\n");
  const Outcome no_program = run("--script " + ok + " " + out("no-such-program"));
  EXPECT_EQ(no_program.status, 2);
  EXPECT_EQ(no_program.err, "easel-run: cannot run " + out("no-such-program") + ": no such file\n");
  const Outcome frames = run("--frames " + ok + "/frames " + program);
  EXPECT_EQ(frames.status, 2);
  EXPECT_EQ(frames.err.rfind("easel-run: cannot make frames directory " + ok + "/frames: ", 0), 0u)
      << frames.err;
  EXPECT_EQ(std::count(frames.err.begin(), frames.err.end(), '\n'), 1);

  const Outcome help = run("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--script", "--frames", "--every", "--limit", "--expect", "--log"})
    EXPECT_NE(help.out.find("\n  " + std::string(option) + " "), std::string::npos) << option;
}

// A run ends with every process of the program's, and its working folder, gone: at the end of
// the script, and when the runner itself is stopped by a signal.
TEST_F(Runner, NothingIsLeftBehind) {
  ASSERT_TRUE(fs::create_directory(dir_ / "tmp"));
  const std::string tmp = "TMPDIR='" + out("tmp") + "'";
  const Outcome forked = run("--script " + script("two.scr", "EASEL_PERIODIC(2);\n") + " " +
                                 MISBEHAVE + " fork " + out("fork.pid"),
                             tmp);
  EXPECT_EQ(forked.status, 0) << forked.err;
  const std::vector<pid_t> child = read_pids(dir_ / "fork.pid");
  ASSERT_EQ(child.size(), 1u);
  EXPECT_TRUE(process_gone(child[0]));
  EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));

  // The program hangs with a child and a read-only folder: SIGTERM to the runner ends both
  // processes and removes the folder.
  const pid_t runner = fork();
  if (runner == 0) {
    setenv("TMPDIR", out("tmp").c_str(), 1);
    const std::string pids = out("hang.pid");
    execl(EASEL_RUN, "easel-run", MISBEHAVE, "hang", pids.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(runner, 0);
  std::vector<pid_t> hung;
  for (int tries = 0; hung.size() < 2 && tries < 60000; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // polling, not timing
    hung = read_pids(dir_ / "hang.pid");
  }
  ASSERT_EQ(hung.size(), 2u);
  EXPECT_FALSE(fs::is_empty(dir_ / "tmp"));
  kill(runner, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(runner, &status, 0), runner);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << status;
  for (const pid_t pid : hung) {
    EXPECT_TRUE(process_gone(pid)) << pid;
    kill(pid, SIGKILL);  // whatever the runner left, the test does not leave
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
  for (const auto& entry : fs::directory_iterator(dir_ / "tmp"))
    fs::permissions(entry.path() / "locked", fs::perms::owner_all, fs::perm_options::add);
}

// A program started by the program under the runner runs on its own: the report's number,
// now a file of the program's, is not taken for the runner's page.
TEST_F(Runner, TheSessionIsNotInherited) {
  const Outcome nested = run("--script " + script("one.scr", "EASEL_PERIODIC(1);\n") + " " +
                             MISBEHAVE + " nest " + out("user.txt"));
  EXPECT_EQ(nested.status, 0) << nested.out << nested.err;
  EXPECT_EQ(nested.out, "1 events played, 0 frames written\n");
  EXPECT_EQ(read_file(dir_ / "user.txt"), std::string(200, 'u'));
}

// The user clicks at (100, 160) and types z before every wait: a scripted key still has x and
// y 0, a scripted click key 0, a scripted periodic event nothing. The user's input after the
// script is the program's again.
TEST_F(Runner, ScriptedEventsAreWholeWhateverTheUserDoes) {
  const std::string mixed = script("mixed.scr",
                                   "EASEL_KBD(97);\nEASEL_MOUSE(5, 6);\nEASEL_KBD(98);\n"
                                   "EASEL_MOUSE(7, 8);\nEASEL_PERIODIC(2);\nEASEL_KBD(99);\n");
  const Outcome echoed =
      run("--log " + out("echo.log") + " --script " + mixed + " " + MISBEHAVE + " echo");
  EXPECT_EQ(echoed.status, 0) << echoed.err;
  const std::string log = read_file(dir_ / "echo.log");
  EXPECT_EQ(log.substr(0, log.find("EOF")),
            "event 1: 2 0 0 97\n"
            "event 2: 1 5 6 0\n"
            "event 3: 2 0 0 98\n"
            "event 4: 1 7 8 0\n"
            "event 5: 3 0 0 0\n"
            "event 6: 3 0 0 0\n"
            "event 7: 2 0 0 99\n"
            "event 7: ")
      << log;
}

}  // namespace
