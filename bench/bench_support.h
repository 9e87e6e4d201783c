// What the benchmark cases share: the EASEL package opened once on the headless host, the game
// state of the frame they all draw, and the size of the image.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "app/game_state.h"

constexpr int BENCH_IMAGE_WIDTH = 601;
constexpr int BENCH_IMAGE_HEIGHT = 540;
constexpr const char* BENCH_GRAPHICS = "EASEL Graphics";

// Opens the package (logging off, image cleared) unless it is open already. Cases that run the
// whole game on a fresh host call bench_forget_package afterwards, so the next case opens anew.
void bench_open_package();
void bench_forget_package();

// The frame every frame case draws: winter by day, ten snowmen spread over the track.
GameState bench_frame_state();

// The script of BM_Playback (10,000 events of play that keeps the game going), and its length.
std::string bench_playback_script(int* events);

// Every case runs several short times; besides mean and median it reports the fastest run,
// "min", which is what the ratios use: the least disturbed by whatever else the machine is doing.
// The playback case, two seconds a run, runs fewer times.
constexpr int BENCH_REPETITIONS = 10;
constexpr double BENCH_MIN_SECONDS = 0.2;
constexpr int BENCH_LONG_REPETITIONS = 5;
void bench_defaults(benchmark::internal::Benchmark* b);
void bench_long_defaults(benchmark::internal::Benchmark* b);
