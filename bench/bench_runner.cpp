// easel-run on the game, as a user runs it: the runner process, the game as its child on the
// headless host, the script played by the package's own playback. The time of a case is the CPU
// time of the runner and the game together (from getrusage of the children), so the figures
// compare with the in-process cases whatever else the machine is doing. With frames off the
// cost per event is set beside one game frame plus one image copy; with frames on the rate of
// PNG frames written.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "support/files.h"

namespace {

// The title of the game waits for a key before the play of the script.
constexpr const char* TITLE_KEY = "EASEL_KBD(32);\n";
constexpr int FRAME_EVENTS = 300;

double children_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The playback script's lines up to about `events` events, cut at a line; *taken = how many.
std::string first_events(const std::string& script, int events, int* taken_events) {
  size_t at = 0;
  int taken = 0;
  while (taken < events && at < script.size()) {
    const size_t end = script.find('\n', at);
    const std::string line = script.substr(at, end - at);
    int count = 1;
    if (line.rfind("EASEL_PERIODIC(", 0) == 0) count = std::atoi(line.c_str() + 15);
    if (taken + count > events) break;
    taken += count;
    at = end + 1;
  }
  *taken_events = taken;
  return script.substr(0, at);
}

// Runs easel-run once per iteration; the manual time of an iteration is the CPU time it took.
void run_runner(benchmark::State& state, const std::string& script, int events, bool frames) {
  const TemporaryDirectory dir("easel-run-bench");
  write_file(dir / "script.scr", TITLE_KEY + script);
  const std::string command = std::string("'") + EASEL_RUN + "' --script '" +
                              (dir / "script.scr").string() + "'" +
                              (frames ? " --frames '" + (dir / "frames").string() + "'" : "") +
                              " '" + BENCH_GAME + "' >'" + (dir / "summary").string() + "'";
  const std::string expected = std::to_string(events + 1) + " events played, " +
                               std::to_string(frames ? events + 1 : 0) + " frames written\n";
  for (auto _ : state) {
    const double before = children_cpu_seconds();
    const int status = std::system(command.c_str());
    state.SetIterationTime(children_cpu_seconds() - before);
    const std::string summary = read_file(dir / "summary");
    if (status != 0 || summary != expected) {
      state.SkipWithError(("easel-run did not play the script: " + summary).c_str());
      break;
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * (events + 1));
  state.counters["events"] = events + 1;
  state.counters["child_cpu"] = 1;
}

void BM_RunnerPlayback(benchmark::State& state) {
  int events = 0;
  const std::string script = bench_playback_script(&events);
  run_runner(state, script, events, false);
}
BENCHMARK(BM_RunnerPlayback)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Apply(bench_long_defaults);

void BM_RunnerFrames(benchmark::State& state) {
  int events = 0;
  const std::string script = first_events(bench_playback_script(&events), FRAME_EVENTS, &events);
  run_runner(state, script, events, true);
}
BENCHMARK(BM_RunnerFrames)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Apply(bench_long_defaults);

}  // namespace
