// A session of easel-run inside the program it runs. EASEL_open attaches one when the runner's
// settings are in the environment (the program then runs on the headless host, in virtual
// time). The session plays "EASEL.SCR" through the package's own playback from the program's
// first event wait, as the Run menu's Playback would; closes the graphics window (a quit) when
// the script has ended; takes frame 0 at the first wait, a frame after every N-th event and the
// last picture however the program ends; keeps the package's log lines; and ends the program
// when it goes past the virtual-time limit, a played periodic event counting one timer tick.
// What happened is kept in the report page shared with the runner, which prints the summary.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "easel/runner_report.h"
#include "internal.h"
#include "platform/headless.h"
#include "runner_frames.h"

namespace {

struct RunnerSession {
  RunnerReport* report = nullptr;
  bool play = false;  // play the script from the first wait
  bool playback_started = false;
  bool closing = false;   // the window's close has been asked for
  bool finished = false;  // the last frame has been taken
  FrameSettings frames;
  bool takes_frames = false;
  int64_t every = 1;
  int64_t events = 0;       // events returned to the program
  int64_t last_frame = -1;  // number of the last frame taken
  uint64_t limit_ms = 0;    // 0: none
  FILE* log = nullptr;
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

// Takes the frame after the latest event (frame 0 before the first). A difference or a file
// that cannot be written ends the run.
void take_frame() {
  if (!session.takes_frames || session.last_frame == session.events) return;
  std::string message;
  const FrameResult result = runner_frame(session.frames, session.events, &message);
  if (result == FRAME_UNAVAILABLE) return;
  session.last_frame = session.events;
  session.report->last_frame = session.events;
  if (result == FRAME_WRITE_FAILED) end_run(RUN_WRITE_FAILED, message, RUN_STATUS_FAILED);
  if (!session.frames.frames_dir.empty()) session.report->frames += 1;
  if (result == FRAME_DIFFERS) {
    session.report->first_difference = session.events;
    end_run(RUN_DIFFERENCE, message, RUN_STATUS_FAILED);
  }
  if (!session.frames.expect_dir.empty()) session.report->compared += 1;
}

// The last picture, once, however the program ends: the frame after the last event.
void finish() {
  if (session.finished) return;
  session.finished = true;
  take_frame();
  if (session.log != nullptr) std::fflush(session.log);
}

void on_wait_begins() {
  session.report->progress.fetch_add(1, std::memory_order_relaxed);
  if (session.events % session.every == 0) take_frame();
  if (session.play && !session.playback_started) {
    session.playback_started = true;
    script_start_playback();
  }
}

void on_event_returned(int kind, bool from_script) {
  if (kind == EASEL_QUIT) return;
  // Played periodic events come at once, without the timer: each moves virtual time by its tick
  // here, so a script of endless periodic events ends at the limit as the clock's own would.
  if (from_script && kind == EASEL_PERIODIC) {
    if (session.limit_ms != 0 && headless_now() + RUN_PLAYED_PERIODIC_MS > session.limit_ms) {
      char why[128];
      std::snprintf(why, sizeof why,
                    "played periodic event %" PRId64 " would pass it at %" PRIu64 " ms",
                    session.events + 1, headless_now());
      finish();
      end_run(RUN_LIMIT, why, RUN_STATUS_PAST_LIMIT);
    }
    headless_advance(RUN_PLAYED_PERIODIC_MS);
  }
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

// Every log line, with the number of the event it came in (0: before the first).
void on_log_line(const char* text) {
  if (session.log == nullptr) return;
  size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n') length -= 1;
  std::fprintf(session.log, "event %" PRId64 ": %.*s\n", session.events, int(length), text);
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
  end_run(RUN_LIMIT, reason, RUN_STATUS_PAST_LIMIT);
}

// The report descriptor must be the runner's page: a memory file of the report's size, sealed
// against resizing. Anything else (a file the program opened under that number) is left alone.
RunnerReport* map_report(int descriptor) {
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size != off_t(sizeof(RunnerReport)))
    return nullptr;
  const int seals = fcntl(descriptor, F_GET_SEALS);
  if (seals < 0 || (seals & (F_SEAL_SHRINK | F_SEAL_GROW)) != (F_SEAL_SHRINK | F_SEAL_GROW))
    return nullptr;
  void* page =
      mmap(nullptr, sizeof(RunnerReport), PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
  return page == MAP_FAILED ? nullptr : static_cast<RunnerReport*>(page);
}

// The lines logged before the session attached (while the package opened).
void log_earlier_lines() {
  int slot = package.log_first;
  for (int count = 0; slot >= 0 && (slot != package.log_next || count == 0); ++count) {
    if (const char* text = static_cast<const char*>(GlobalLock(package.log_lines[slot]))) {
      on_log_line(text);
      GlobalUnlock(package.log_lines[slot]);
    }
    slot = (slot + 1) % LOG_CAPACITY;
  }
}

}  // namespace

void runner_session_attach() {
  int64_t descriptor = -1;
  const bool named = parse_number(setting(RUN_ENV_REPORT), &descriptor) && descriptor >= 0 &&
                     descriptor <= INT32_MAX;
  RunnerReport* report = named ? map_report(int(descriptor)) : nullptr;
  if (report == nullptr) {
    for (const char* name : RUN_ENVIRONMENT) unsetenv(name);
    return;
  }
  close(int(descriptor));
  session.report = report;
  session.report->magic = RUN_REPORT_MAGIC;
  session.report->last_frame = -1;

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
      limit_seconds < INT64_MAX / 1000) {
    session.limit_ms = uint64_t(limit_seconds) * 1000;
    headless_set_time_limit(session.limit_ms);
  }
  if (const char* path = setting(RUN_ENV_LOG)) {
    session.log = std::fopen(path, "a");
    if (session.log != nullptr) std::setvbuf(session.log, nullptr, _IOLBF, 0);
  }
  // Nothing of the run is handed on to the programs this program starts.
  for (const char* name : RUN_ENVIRONMENT) unsetenv(name);

  headless_set_failure_handler(on_wait_failed);
  // Frames are read only right after the session presents them.
  headless_keep_presented_frames(false);

  runner_hooks.wait_begins = on_wait_begins;
  runner_hooks.event_returned = on_event_returned;
  runner_hooks.playback_ended = on_playback_ended;
  runner_hooks.closing = on_closing;
  runner_hooks.log_line = on_log_line;
  log_earlier_lines();
  std::atexit(at_exit);
}
