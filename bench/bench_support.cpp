// The package opened once for the frame cases, and the state of the frame they draw.
#include "bench_support.h"

#include <algorithm>
#include <vector>

#include "app/main.h"
#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "platform/headless.h"

namespace {

bool package_open = false;

}  // namespace

void bench_open_package() {
  if (package_open) return;
  headless_reset();
  easel_testing_reset();
  EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
  EASEL_logging(0);
  EASEL_clear();
  package_open = true;
}

void bench_forget_package() {
  package_open = false;
}

GameState bench_frame_state() {
  GameState game;
  init_game_state(game);
  game.snow_count = MAX_SNOWMEN;
  for (int i = 0; i < MAX_SNOWMEN; ++i) game.snow_x[i] = 285 - 57 * i;
  game.sun_x = 120;
  game.sun_y = 165;
  return game;
}

namespace {

double fastest(const std::vector<double>& v) {
  return *std::min_element(v.begin(), v.end());
}

}  // namespace

void bench_defaults(benchmark::internal::Benchmark* b) {
  b->Repetitions(BENCH_REPETITIONS)
      ->MinTime(BENCH_MIN_SECONDS)
      ->ReportAggregatesOnly(true)
      ->ComputeStatistics("min", fastest);
}

void bench_long_defaults(benchmark::internal::Benchmark* b) {
  b->Repetitions(BENCH_LONG_REPETITIONS)
      ->ReportAggregatesOnly(true)
      ->ComputeStatistics("min", fastest);
}
