// Script playback into the real game: a script of 10,000 events (clicks on the panel's buttons
// and elsewhere, keys, runs of periodic events) played by the package's own playback into
// WinMain on the headless host, with the game's full redraw after every event. Reported as
// events per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/main.h"
#include "app/panel.h"
#include "bench_support.h"
#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "platform/headless.h"
#include "support/files.h"

namespace {

constexpr int SCRIPT_EVENTS = 10000;

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

void press(Script& s, PanelButton b) {
  click_at(s, panel_button_x(b), panel_button_y(b));
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
  press(s, BUTTON_ADD_SNOWMAN);
  periodic(s, 20);
  press(s, BUTTON_FASTER);
  periodic(s, 10);
  press(s, BUTTON_HOPPING);
  periodic(s, 15);
  press(s, BUTTON_GLIDING);
  press(s, BUTTON_SLOWER);
  press(s, BUTTON_NEW_COLOR);
  click_at(s, 100 + round % 50, 150 - round % 30);
  key(s, "chilly"[round % 6]);
  periodic(s, 5);
  press(s, BUTTON_SEND_ONE_AWAY);
  press(s, BUTTON_ADD_SNOWMAN);
  for (int i = 0; i < 4; ++i) press(s, BUTTON_CHANGE_SEASON);
  for (int i = 0; i < 3; ++i) press(s, BUTTON_CHANGE_SIZE);
  press(s, BUTTON_STOP);
  periodic(s, 5);
  press(s, BUTTON_GO);
}

std::string playback_script() {
  Script s;
  for (int round = 0; room(s) > 0; ++round) round_of_play(s, round);
  return s.text;
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
  // A private working directory holding the script as "EASEL.SCR" while the case runs.
  TemporaryDirectory dir("chilly-bench");
  if (!write_file(dir / "EASEL.SCR", playback_script()) || !dir.enter()) {
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
}
BENCHMARK(BM_Playback)->Unit(benchmark::kMillisecond)->Apply(bench_long_defaults);

}  // namespace

std::string bench_playback_script(int* events) {
  *events = SCRIPT_EVENTS;
  return playback_script();
}
