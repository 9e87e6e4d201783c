// Runs every case and then prints the ratios that matter, all from this one run: the game frame
// against the Cairo peer and against the memset floor, logging on against logging off, and the
// playback rate in events per second, each beside its target.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

// CPU time per iteration of each case, the fastest of its repetitions, and the events an
// iteration handles where the case counts them.
struct Measured {
  double seconds = 0;
  double events = 0;
};

std::map<std::string, Measured> measured;

void keep(const std::string& name, double seconds, double events) {
  auto it = measured.find(name);
  if (it == measured.end() || seconds < it->second.seconds) measured[name] = {seconds, events};
}

// Google Benchmark hands results only to a reporter: this one prints the usual table and keeps
// the fastest run of each case (the "min" aggregate, or the single run without repetitions).
struct RecordingReporter : benchmark::ConsoleReporter {
  explicit RecordingReporter(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool usable = run.run_type == Run::RT_Iteration || run.aggregate_name == "min";
      if (!usable || run.error_occurred || run.iterations == 0) continue;
      auto events = run.counters.find("events");
      // The runner cases time their child processes' CPU as their manual time.
      const bool child_cpu = run.counters.find("child_cpu") != run.counters.end();
      keep(run.run_name.function_name,
           (child_cpu ? run.real_accumulated_time : run.cpu_accumulated_time) /
               double(run.iterations),
           events != run.counters.end() ? events->second.value : 0);
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void print_ratio(const char* a, const char* b, double target) {
  auto x = measured.find(a), y = measured.find(b);
  if (x == measured.end() || y == measured.end()) return;
  const double ratio = x->second.seconds / y->second.seconds;
  std::printf("%-28s %10.1f us / %8.1f us = %6.3f   (target: at most %g, %s)\n",
              (std::string(a + 3) + " / " + (b + 3)).c_str(), x->second.seconds * 1e6,
              y->second.seconds * 1e6, ratio, target, ratio <= target ? "met" : "MISSED");
}

void print_rate(const char* name, double target) {
  auto x = measured.find(name);
  if (x == measured.end() || x->second.events <= 0) return;
  const double rate = x->second.events / x->second.seconds;
  std::printf("%-28s %10.0f events in %.3f s = %6.0f events/s   (target: at least %g, %s)\n",
              name + 3, x->second.events, x->second.seconds, rate, target,
              rate >= target ? "met" : "MISSED");
}

// The runner's cost per played event against one game frame plus one image copy.
void print_runner_ratio(const char* name, double target) {
  auto r = measured.find(name), frame = measured.find("BM_GameFrame"),
       copy = measured.find("BM_ImageCopy");
  if (r == measured.end() || frame == measured.end() || copy == measured.end() ||
      r->second.events <= 0)
    return;
  const double per_event = r->second.seconds / r->second.events;
  const double floor = frame->second.seconds + copy->second.seconds;
  const double ratio = per_event / floor;
  std::printf("%-28s %10.1f us / %8.1f us = %6.3f   (target: at most %g, %s)\n",
              (std::string(name + 3) + " / GameFrame+ImageCopy").c_str(), per_event * 1e6,
              floor * 1e6, ratio, target, ratio <= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Colours only on a terminal, so that a saved run reads cleanly.
  RecordingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nRatios of CPU time per iteration, each case's fastest repetition:\n");
  print_ratio("BM_GameFrame", "BM_CairoGameFrame", 0.5);
  print_ratio("BM_GameFrame", "BM_FillFloor", 4);
  print_ratio("BM_GameFrameLogging", "BM_GameFrame", 5);
  print_rate("BM_Playback", 5000);
  print_runner_ratio("BM_RunnerPlayback", 1.25);
  print_rate("BM_RunnerFrames", 200);
  return 0;
}
