// The package's own cost: one game frame drawn through the real EASEL calls into the off-screen
// image (logging off, and logging on with the log window drawing every line), the title screen,
// one text call, the pump's copy of the image to the window, and the floor under all of them:
// one memset of an image of the same size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/main.h"
#include "app/palette.h"
#include "bench_support.h"
#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "platform/headless.h"

namespace {

void BM_FillFloor(benchmark::State& state) {
  std::vector<uint32_t> image(size_t(BENCH_IMAGE_WIDTH) * BENCH_IMAGE_HEIGHT);
  unsigned value = 0;
  for (auto _ : state) {
    std::memset(image.data(), int(value++ & 0xFF), image.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size() * sizeof(uint32_t)));
}
BENCHMARK(BM_FillFloor)->Apply(bench_defaults);

void BM_ImageCopy(benchmark::State& state) {
  bench_open_package();
  for (auto _ : state) {
    easel_testing_copy_image();
  }
}
BENCHMARK(BM_ImageCopy)->Apply(bench_defaults);

// Each label lands on fresh background, as the panel's labels do in a frame: it moves over a
// grid of places, and the image is cleared, off the clock, once the grid is used up.
void BM_TextCall(benchmark::State& state) {
  constexpr int COLUMNS = 7, ROWS = 36;
  bench_open_package();
  EASEL_clear();
  int place = 0;
  for (auto _ : state) {
    if (place == COLUMNS * ROWS) {
      state.PauseTiming();
      EASEL_clear();
      place = 0;
      state.ResumeTiming();
    }
    const int x = -295 + 85 * (place % COLUMNS), y = 240 - 14 * (place / COLUMNS);
    EASEL_printf_at(COLOUR_FOREST_GREEN, x, y, 11, "Change Size");
    ++place;
  }
}
BENCHMARK(BM_TextCall)->Apply(bench_defaults);

// The title screen as the game shows it: drawn, then put on the screen by the wait that takes
// the key (a character typed at the current virtual time, so the wait never sleeps).
void BM_TitleScreen(benchmark::State& state) {
  bench_open_package();
  for (auto _ : state) {
    headless_text(headless_now(), BENCH_GRAPHICS, ' ');
    show_title_screen();
  }
}
BENCHMARK(BM_TitleScreen)->Apply(bench_defaults);

void BM_GameFrame(benchmark::State& state) {
  bench_open_package();
  const GameState game = bench_frame_state();
  for (auto _ : state) draw_game(game);
}
BENCHMARK(BM_GameFrame)->Apply(bench_defaults);

// Every drawing call describes itself in the log window: one more line each, scrolled in.
void BM_GameFrameLogging(benchmark::State& state) {
  bench_open_package();
  const GameState game = bench_frame_state();
  EASEL_logging(1);
  for (auto _ : state) draw_game(game);
  EASEL_logging(0);
}
BENCHMARK(BM_GameFrameLogging)->Apply(bench_defaults);

}  // namespace
