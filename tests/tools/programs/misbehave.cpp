// A small EASEL program that misbehaves on request, for the runner's tests. The first word of
// its command line names the way, the rest is a path where it needs one:
//   crash        aborts at the first key
//   spin         draws for ever without waiting for an event
//   tick         runs the animation for ever, a dot moving one step per event
//   echo         logs every event it gets, and types a key and clicks while a script plays
//   correct      draws each dot in an illegal colour, which the package corrects in its log
//   draw         draws and ends without waiting
//   fifo         puts a FIFO in the place of its EASEL.SCR before it opens the package
//   unset        removes the runner's report setting before it opens the package, then draws
//   block        makes frame 1 impossible to write (a folder in its place), then as by default
//   nest PATH    writes PATH, runs itself as "draw" (an EASEL program started by this one)
//   fork PATH    leaves a child behind that waits for ever, its number in PATH
//   hang PATH    as fork, and then waits for ever itself (both numbers in PATH), leaving a
//                read-only folder in its working folder
// By default, and after the above, a periodic event draws the next dot, a quit ends it with
// status 0 and any other key or click with status 3.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "easel/easel.h"
#include "platform/headless.h"

namespace {

void write_text(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  FILE* file = std::fopen(partial.c_str(), "w");
  if (file == nullptr) std::abort();
  std::fputs(text.c_str(), file);
  std::fclose(file);
  std::rename(partial.c_str(), path.c_str());  // whole, or not at all
}

// A child that outlives this program unless someone ends it.
pid_t leave_child() {
  const pid_t child = fork();
  if (child == 0) {
    for (;;) pause();
  }
  return child;
}

// Runs this program again as "draw": with the runner's settings still in the environment it
// would attach to a report under the descriptor number that `path` now has.
void run_nested(const std::string& path) {
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  const std::string data(200, 'u');
  if (file < 0 || write(file, data.data(), data.size()) != ssize_t(data.size())) std::abort();
  const pid_t nested = fork();
  if (nested == 0) {
    execl("/proc/self/exe", "misbehave", "draw", static_cast<char*>(nullptr));
    _exit(127);
  }
  waitpid(nested, nullptr, 0);
  close(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  const std::string line = command_line != nullptr ? command_line : "";
  const std::string way = line.substr(0, line.find(' '));
  const std::string path =
      line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
  if (way == "unset") unsetenv("EASEL_RUN_REPORT");
  if (way == "fifo" && (unlink("EASEL.SCR") != 0 || mkfifo("EASEL.SCR", 0600) != 0)) return 4;
  if (way == "block") {
    const char* frames = std::getenv("EASEL_RUN_FRAMES");
    if (frames == nullptr || mkdir((std::string(frames) + "/frame-000001.png").c_str(), 0755) != 0)
      return 4;
  }
  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_clear();
  if (way == "draw" || way == "unset") {
    EASEL_circle(3, 0, 0, 40);
    return 0;
  }
  if (way == "nest") run_nested(path);
  if (way == "fork") write_text(path, std::to_string(leave_child()));
  if (way == "hang") {
    mkdir("locked", 0755);
    write_text("locked/inside", "x");
    chmod("locked", 0500);
    write_text(path, std::to_string(leave_child()) + " " + std::to_string(getpid()));
    for (;;) pause();
  }
  if (way == "spin") {
    for (int i = 0;; i = (i + 1) % 500) EASEL_circle(i % 24, i - 250, 0, 5);
  }
  if (way == "tick") EASEL_animate(EASEL_ANIM_RUN);
  int32_t x = 0, y = 0;
  char key = 0;
  for (int step = 0;; ++step) {
    if (way == "echo") {
      // The user's input, at the moment the next wait begins.
      headless_click(headless_now(), "EASEL Graphics", 100, 160);
      headless_type(headless_now(), "EASEL Graphics", 'z');
    }
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (way == "echo") {
      EASEL_printf("%d %d %d %d", kind, int(x), int(y), int(key));
      continue;
    }
    if (kind == EASEL_KBD && way == "crash") std::abort();
    if (kind != EASEL_PERIODIC) {
      EASEL_close();
      return 3;
    }
    EASEL_circle(way == "correct" ? 99 + step : step % 24, step % 500 - 250, 0, 5);
  }
  EASEL_close();
  return 0;
}
