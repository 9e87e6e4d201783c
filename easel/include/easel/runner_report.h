// What easel-run and the runner session inside the program it starts share: the names of the
// environment settings that attach a session, the runner's exit statuses, and the record the
// session keeps in a page of memory shared with the runner, so that the runner can say what
// happened even when the program crashed or had to be killed.
#pragma once

#include <atomic>
#include <cstdint>

// The runner's settings, passed in the program's environment. EASEL_RUN_REPORT (the number of an
// open file descriptor holding one RunnerReport) is what attaches a session; the others are read
// only then. The session removes them all from the environment as it attaches, so a program the
// program starts is never attached to the same run.
constexpr const char* RUN_ENV_REPORT = "EASEL_RUN_REPORT";
constexpr const char* RUN_ENV_PLAY = "EASEL_RUN_PLAY";      // "1": play EASEL.SCR from the start
constexpr const char* RUN_ENV_FRAMES = "EASEL_RUN_FRAMES";  // directory for frame-NNNNNN.png
constexpr const char* RUN_ENV_EVERY = "EASEL_RUN_EVERY";    // a frame after every N-th event
constexpr const char* RUN_ENV_EXPECT = "EASEL_RUN_EXPECT";  // directory of expected frames
constexpr const char* RUN_ENV_DIFF = "EASEL_RUN_DIFF";      // directory for diff-NNNNNN.png
constexpr const char* RUN_ENV_LIMIT = "EASEL_RUN_LIMIT";    // virtual seconds
constexpr const char* RUN_ENV_LOG = "EASEL_RUN_LOG";        // file for the package's log lines
constexpr const char* RUN_ENVIRONMENT[] = {RUN_ENV_REPORT, RUN_ENV_PLAY,   RUN_ENV_FRAMES,
                                           RUN_ENV_EVERY,  RUN_ENV_EXPECT, RUN_ENV_DIFF,
                                           RUN_ENV_LIMIT,  RUN_ENV_LOG};

// The runner's exit statuses (a program's own status, or 128 + a signal, otherwise).
constexpr int RUN_STATUS_PASSED = 0;
constexpr int RUN_STATUS_FAILED = 1;     // a difference, a frame not written, no session
constexpr int RUN_STATUS_BAD_INPUT = 2;  // a bad option, script, folder or program
constexpr int RUN_STATUS_PAST_LIMIT =
    124;  // the virtual-time limit or the stall watchdog, as timeout(1)

// A played periodic event stands for one tick of the package's timer.
constexpr uint64_t RUN_PLAYED_PERIODIC_MS = 100;

// How the session ended the run, when it did.
enum RunOutcome : int32_t {
  RUN_GOING = 0,     // nothing decided by the session: the program ends as it will
  RUN_SCRIPT_ENDED,  // the script was played to its end and the window closed
  RUN_LIMIT,         // a wait went past the limit, or could never end
  RUN_DIFFERENCE,    // a frame differs from the expected one
  RUN_WRITE_FAILED,  // a frame or diff file could not be written
};

constexpr uint32_t RUN_REPORT_MAGIC = 0x45524e32;  // "ERN2"

struct RunnerReport {
  uint32_t magic;                  // set by the session when it attaches
  int32_t outcome;                 // RunOutcome
  std::atomic<uint64_t> progress;  // bumped at every event wait; the runner's watchdog reads it
  int64_t events;                  // events returned to the program (quits not counted)
  int64_t frames;                  // frame files written
  int64_t compared;                // frames compared with an expected frame, all matching
  int64_t last_frame;              // number of the last frame taken, -1 for none
  int64_t first_difference;        // number of the first frame that differs, 0 for none
  char message[512];               // the reason behind the outcome, one line without newline
};
