// The rasteriser through the package's four primitives: one case draws a fixed set of circles,
// triangles, rectangles and lines of every width the package allows in its image, filled and
// outlined, so that a change to how GDI turns shapes into pixels shows in its cost.
#include <benchmark/benchmark.h>

#include "app/palette.h"
#include "bench_support.h"
#include "easel/easel.h"

namespace {

void draw_shape_set() {
  for (int i = 0; i < 12; ++i) {
    const int x = -260 + 45 * i, colour = COLOUR_RED + i % 8;
    EASEL_circle(colour, x, 180, 3 + 5 * i);
    EASEL_triangle(colour, x, 40, x + 30, 90, x - 25, 120, i % 4);
    EASEL_rectangle(colour, x, -20, x + 20 + 3 * i, -60 - 4 * i, i % 3 == 0 ? 0 : i % 5 + 1);
    EASEL_line(colour, x, -100, x + 40 - 7 * i, -240, 1 + i % 9);
    EASEL_line(colour, -290, -120 - 8 * i, 290, -180 + 5 * i, 1 + (i * 5) % 9);
  }
}

void BM_Shapes(benchmark::State& state) {
  bench_open_package();
  for (auto _ : state) draw_shape_set();
}
BENCHMARK(BM_Shapes)->Apply(bench_defaults);

}  // namespace
