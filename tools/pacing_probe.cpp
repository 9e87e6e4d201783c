// Measures how evenly the desktop delivers periodic events: opens EASEL, sets it running, draws
// a picture as costly as a game frame (sky, ground, a panel of labelled buttons, figures) on
// every periodic event, and after about ten seconds prints the mean interval between periodic
// events and the mean, largest and 95th-percentile deviation from the 100 ms period.
// With "baseline" it measures, at the same time, a plain thread that sleeps to the same 100 ms
// grid without any window system: the machine's own wake-up noise, to read the figures against.
// Usage: pacing_probe [baseline] [seconds]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "app/palette.h"
#include "app/panel.h"
#include "easel/easel.h"

namespace {

constexpr double PERIOD_MS = 100.0;
using Clock = std::chrono::steady_clock;

double ms_between(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void report(const char* what, const std::vector<double>& intervals) {
  if (intervals.empty()) {
    std::printf("%s: no intervals\n", what);
    return;
  }
  std::vector<double> deviations;
  double sum = 0, deviation_sum = 0;
  for (double interval : intervals) {
    sum += interval;
    deviations.push_back(std::fabs(interval - PERIOD_MS));
    deviation_sum += deviations.back();
  }
  std::sort(deviations.begin(), deviations.end());
  const double n = double(intervals.size());
  std::printf("%s: %zu intervals\n", what, intervals.size());
  std::printf("  mean interval: %.3f ms\n", sum / n);
  std::printf("  mean deviation: %.3f ms\n", deviation_sum / n);
  std::printf("  max deviation: %.3f ms\n", deviations.back());
  // A busy machine makes rare late wake-ups; the 95th percentile tells them from the rule.
  std::printf("  95th percentile deviation: %.3f ms\n",
              deviations[std::min(deviations.size() - 1, deviations.size() * 95 / 100)]);
}

// Sleeps to each point of a 100 ms grid until `end`, noting the intervals between wake-ups.
void sleep_to_grid(Clock::time_point end, std::vector<double>* intervals) {
  Clock::time_point due = Clock::now(), last = due;
  for (bool first = true; due < end; first = false) {
    due += std::chrono::milliseconds(100);
    std::this_thread::sleep_until(due);
    const Clock::time_point now = Clock::now();
    if (!first) intervals->push_back(ms_between(last, now));
    last = now;
  }
}

void draw_frame(int frame) {
  EASEL_rectangle(COLOUR_ICE_BLUE, -300, -250, 300, 250, 0);
  EASEL_rectangle(COLOUR_WHITE, -300, -250, 300, 0, 0);
  EASEL_rectangle(COLOUR_WHITE, -300, -5, 300, 5, 0);
  const int sun_x = 250 - (frame * 2) % 550;
  EASEL_circle(COLOUR_YELLOW, sun_x, 150, 20);
  EASEL_circle(COLOUR_BLACK, sun_x - 6, 155, 5);
  EASEL_circle(COLOUR_BLACK, sun_x + 6, 155, 5);
  EASEL_line(COLOUR_BLACK, sun_x - 4, 143, sun_x + 4, 143, 0);
  EASEL_printf_at(COLOUR_BLACK, -285, -220, 12, "Click a button to control the snowman.");
  EASEL_printf_at(COLOUR_BLACK, -285, -190, 12, "Pacing probe, frame %d", frame);
  draw_panel();  // the game's own panel
  for (int i = 0; i < 4; ++i) {
    const int x = 285 - ((frame * 8 + i * 60) % 560);
    EASEL_circle(COLOUR_WHITE, x, 50, 12);
    EASEL_rectangle(COLOUR_BLACK, x + 8, 62, x - 8, 74, 0);
    EASEL_triangle(COLOUR_ORANGE, x - 12, 49, x - 12, 51, x - 20, 50, 0);
    EASEL_circle(COLOUR_BLACK, x - 4, 52, 3);
    EASEL_circle(COLOUR_WHITE, x, 21, 18);
    EASEL_line(COLOUR_BROWN, x, 31, x - 16, 26, 2);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int seconds = 10;
  bool baseline = false;
  const char* arguments = command_line != nullptr ? command_line : "";
  if (std::strncmp(arguments, "baseline", 8) == 0) {
    baseline = true;
    arguments += 8;
  }
  if (std::atoi(arguments) > 0) seconds = std::clamp(std::atoi(arguments), 1, 600);

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_logging(0);
  EASEL_animate(EASEL_ANIM_RUN);

  const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<double> grid_intervals;
  std::thread grid;
  if (baseline) grid = std::thread(sleep_to_grid, end, &grid_intervals);

  std::vector<double> intervals;
  Clock::time_point last{};
  bool have_last = false;
  for (int frame = 0;;) {
    int32_t x = 0, y = 0;
    char key = 0;
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind != EASEL_PERIODIC) continue;
    const Clock::time_point now = Clock::now();
    if (have_last) intervals.push_back(ms_between(last, now));
    last = now;
    have_last = true;
    draw_frame(frame++);
    if (now >= end) break;
  }
  EASEL_close();
  if (grid.joinable()) grid.join();

  report("periodic events", intervals);
  if (baseline) report("plain sleeps to the same grid (no window system)", grid_intervals);
  return intervals.empty() ? 1 : 0;
}
