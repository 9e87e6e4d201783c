// A session of easel-run inside the program it runs. EASEL_open attaches one when the runner's
// settings are in the environment (the program then runs on the headless host, in virtual
// time). The session plays "EASEL.SCR" through the package's own playback from the program's
// first event wait, as the Run menu's Playback would; closes the graphics window (a quit) when
// the script has ended; takes a frame after every N-th event returned to the program and after
// the last; and ends the program when a wait goes past the virtual-time limit. What happened is
// kept in the report page shared with the runner, which prints the summary.
#include <sys/mman.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "easel/runner_report.h"
#include "internal.h"
#include "platform/headless.h"
#include "runner_frames.h"

namespace {

constexpr int EXIT_PAST_LIMIT = 124;
constexpr int EXIT_DIFFERENCE = 1;

struct RunnerSession {
  RunnerReport* report = nullptr;
  bool play = false;  // play the script from the first wait
  bool playback_started = false;
  bool closing = false;   // the window's close has been asked for
  bool finished = false;  // the last frame has been taken
  FrameSettings frames;
  bool takes_frames = false;
  int64_t every = 1;
  int64_t events = 0;      // events returned to the program
  int64_t last_frame = 0;  // number of the last frame taken
};

RunnerSession session;

const char* setting(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

bool parse_number(const char* text, int64_t* value) {
  if (text == nullptr) return false;
  const char* end = text + std::strlen(text);
  auto [rest, error] = std::from_chars(text, end, *value);
  return error == std::errc() && rest == end;
}

void set_message(const std::string& text) {
  const size_t length = std::min(text.size(), sizeof session.report->message - 1);
  std::memcpy(session.report->message, text.data(), length);
  session.report->message[length] = '\0';
}

// Ends the program now with this outcome; the runner prints the summary.
[[noreturn]] void end_run(RunOutcome outcome, const std::string& why, int status) {
  session.report->outcome = outcome;
  set_message(why);
  std::fflush(nullptr);
  _exit(status);
}

// Takes the frame after the latest event. A difference or a file that cannot be written ends
// the run.
void take_frame() {
  if (!session.takes_frames || session.events == 0 || session.last_frame == session.events) return;
  std::string message;
  const FrameResult result = runner_frame(session.frames, session.events, &message);
  if (result == FRAME_UNAVAILABLE) return;
  session.last_frame = session.events;
  if (result == FRAME_WRITE_FAILED) end_run(RUN_WRITE_FAILED, message, EXIT_DIFFERENCE);
  if (!session.frames.frames_dir.empty()) session.report->frames += 1;
  if (result == FRAME_DIFFERS) {
    session.report->first_difference = session.events;
    end_run(RUN_DIFFERENCE, message, EXIT_DIFFERENCE);
  }
}

// The last frame, once, however the program ends.
void finish() {
  if (session.finished) return;
  session.finished = true;
  take_frame();
}

void on_wait_begins() {
  session.report->progress.fetch_add(1, std::memory_order_relaxed);
  if (session.takes_frames && session.events > 0 && session.events % session.every == 0)
    take_frame();
  if (session.play && !session.playback_started) {
    session.playback_started = true;
    script_start_playback();
  }
}

void on_event_returned(int kind) {
  if (kind == EASEL_QUIT) return;
  session.events += 1;
  session.report->events = session.events;
}

// The script has ended (its end was met, or a line of no known form): the last frame is taken
// while the window still shows it, then the window is closed as its close box would.
void on_playback_ended() {
  if (!session.playback_started || session.closing) return;
  session.closing = true;
  finish();
  session.report->outcome = RUN_SCRIPT_ENDED;
  PostMessageA(package.graphics_window, WM_CLOSE, 0, 0);
}

void on_closing() {
  finish();
}

void at_exit() {
  finish();
}

// The headless host calls this when a wait would pass the limit or could never end.
void on_wait_failed(const char* reason) {
  finish();
  end_run(RUN_LIMIT, reason, EXIT_PAST_LIMIT);
}

}  // namespace

void runner_session_attach() {
  int64_t descriptor = -1;
  if (!parse_number(setting(RUN_ENV_REPORT), &descriptor) || descriptor < 0 ||
      descriptor > INT32_MAX)
    return;
  void* page =
      mmap(nullptr, sizeof(RunnerReport), PROT_READ | PROT_WRITE, MAP_SHARED, int(descriptor), 0);
  close(int(descriptor));
  if (page == MAP_FAILED) return;
  session.report = static_cast<RunnerReport*>(page);
  session.report->magic = RUN_REPORT_MAGIC;

  session.play = setting(RUN_ENV_PLAY) != nullptr;
  if (const char* dir = setting(RUN_ENV_FRAMES)) session.frames.frames_dir = dir;
  if (const char* dir = setting(RUN_ENV_EXPECT)) session.frames.expect_dir = dir;
  if (const char* dir = setting(RUN_ENV_DIFF)) session.frames.diff_dir = dir;
  if (session.frames.diff_dir.empty()) session.frames.diff_dir.assign(1, '.');
  session.takes_frames = !session.frames.frames_dir.empty() || !session.frames.expect_dir.empty();
  int64_t every = 1;
  if (parse_number(setting(RUN_ENV_EVERY), &every) && every >= 1) session.every = every;
  int64_t limit_seconds = 0;
  if (parse_number(setting(RUN_ENV_LIMIT), &limit_seconds) && limit_seconds > 0 &&
      limit_seconds < INT64_MAX / 1000)
    headless_set_time_limit(uint64_t(limit_seconds) * 1000);
  headless_set_failure_handler(on_wait_failed);
  // Frames are read only right after the session presents them.
  headless_keep_presented_frames(false);

  runner_hooks.wait_begins = on_wait_begins;
  runner_hooks.event_returned = on_event_returned;
  runner_hooks.playback_ended = on_playback_ended;
  runner_hooks.closing = on_closing;
  std::atexit(at_exit);
}
