// Script playback into the real game: a script of 10,000 events (clicks on the panel's buttons
// and elsewhere, keys, runs of periodic events) played by the package's own playback into
// WinMain on the headless host, with the game's full redraw after every event. Reported as
// events per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/main.h"
#include "bench_support.h"
#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "platform/headless.h"

namespace {

constexpr int SCRIPT_EVENTS = 10000;

// Panel rows, top to bottom; a click lands on the middle of its row.
enum Button {
  GO,
  STOP,
  FASTER,
  SLOWER,
  GLIDING,
  HOPPING,
  NEW_COLOR,
  CHANGE_SIZE,
  ADD_SNOWMAN,
  SEND_ONE_AWAY,
  CHANGE_SEASON,
};

struct Script {
  std::string text;
  int events = 0;
};

int room(const Script& s) {
  return SCRIPT_EVENTS - s.events;
}

void click_at(Script& s, int x, int y) {
  if (room(s) < 1) return;
  s.text += "EASEL_MOUSE(" + std::to_string(x) + ", " + std::to_string(y) + ");\n";
  s.events += 1;
}

void press(Script& s, Button b) {
  click_at(s, -250, 245 - 25 * b - 12);
}

void key(Script& s, char ch) {
  if (room(s) < 1) return;
  s.text += "EASEL_KBD(" + std::to_string(int(ch)) + ");\n";
  s.events += 1;
}

void periodic(Script& s, int run) {
  run = std::min(run, room(s));
  if (run < 1) return;
  s.text += "EASEL_PERIODIC(" + std::to_string(run) + ");\n";
  s.events += run;
}

// A round of play that keeps the game going: ten snowmen in winter, speed and hopping changed
// and changed back, a trip through the seasons whose melting "Change Size" makes good again
// (so no key ever meets the melted screen), clicks off the panel and keys.
void round_of_play(Script& s, int round) {
  press(s, ADD_SNOWMAN);
  periodic(s, 20);
  press(s, FASTER);
  periodic(s, 10);
  press(s, HOPPING);
  periodic(s, 15);
  press(s, GLIDING);
  press(s, SLOWER);
  press(s, NEW_COLOR);
  click_at(s, 100 + round % 50, 150 - round % 30);
  key(s, "chilly"[round % 6]);
  periodic(s, 5);
  press(s, SEND_ONE_AWAY);
  press(s, ADD_SNOWMAN);
  for (int i = 0; i < 4; ++i) press(s, CHANGE_SEASON);
  for (int i = 0; i < 3; ++i) press(s, CHANGE_SIZE);
  press(s, STOP);
  periodic(s, 5);
  press(s, GO);
}

std::string playback_script() {
  Script s;
  for (int round = 0; room(s) > 0; ++round) round_of_play(s, round);
  return s.text;
}

// A private working directory holding the script as "EASEL.SCR" while the case runs.
struct ScriptDirectory {
  std::filesystem::path home;
  std::filesystem::path dir;
};

bool enter_script_directory(ScriptDirectory* d) {
  std::error_code failure;
  std::string pattern =
      (std::filesystem::temp_directory_path(failure) / "chilly-bench-XXXXXX").string();
  d->home = std::filesystem::current_path(failure);
  if (failure || !mkdtemp(pattern.data())) return false;
  d->dir = pattern;
  std::ofstream script(d->dir / "EASEL.SCR", std::ios::binary);
  script << playback_script();
  script.close();
  if (script.fail()) return false;
  std::filesystem::current_path(d->dir, failure);
  return !failure;
}

void leave_script_directory(const ScriptDirectory& d) {
  std::error_code ignored;
  std::filesystem::current_path(d.home, ignored);
  std::filesystem::remove_all(d.dir, ignored);
}

// The newest line in the log ring.
std::string last_log_line() {
  char line[256];
  easel_testing_last_log_line(line, sizeof line);
  return line;
}

// The title gets its key at 10 ms, Ctrl+P starts the playback at 20 ms, and the whole script
// plays at that moment of virtual time (scripted events do not wait for ticks); the window is
// closed at 30 ms, once the script has ended.
void BM_Playback(benchmark::State& state) {
  constexpr uint64_t TITLE_KEY_AT = 10, PLAYBACK_AT = 20, CLOSE_AT = 30;
  ScriptDirectory dir;
  if (!enter_script_directory(&dir)) {
    leave_script_directory(dir);
    state.SkipWithError("cannot make a working directory for the script");
    return;
  }
  bench_forget_package();
  for (auto _ : state) {
    headless_reset();
    easel_testing_reset();
    headless_set_time_limit(60000);
    headless_type(TITLE_KEY_AT, BENCH_GRAPHICS, ' ');
    headless_ctrl_key(PLAYBACK_AT, BENCH_GRAPHICS, 'P');
    headless_close_request(CLOSE_AT, BENCH_GRAPHICS);
    WinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    if (headless_now() != CLOSE_AT ||
        last_log_line() != "EOF encountered in script file EASEL.SCR\n") {
      state.SkipWithError("the game did not play the whole script");
      break;
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * SCRIPT_EVENTS);
  state.counters["events"] = SCRIPT_EVENTS;
  headless_reset();
  easel_testing_reset();
  leave_script_directory(dir);
}
BENCHMARK(BM_Playback)->Unit(benchmark::kMillisecond)->Apply(bench_long_defaults);

}  // namespace

std::string bench_playback_script(int* events) {
  *events = SCRIPT_EVENTS;
  return playback_script();
}
