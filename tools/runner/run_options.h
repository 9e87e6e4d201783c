// The options of easel-run: parsed once, each bad one refused with its reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A run is bounded by this much virtual time at most.
constexpr int64_t MAX_LIMIT_SECONDS = 86400;
constexpr int64_t DEFAULT_LIMIT_SECONDS = 3600;
// A script larger than this is refused rather than copied.
constexpr int64_t MAX_SCRIPT_BYTES = int64_t(64) << 20;
// Real seconds without a single event wait after which a program counts as stuck. An EASEL
// program waits for an event at least once per frame; the setting is there for tests.
constexpr int64_t DEFAULT_STALL_SECONDS = 10;
constexpr const char* STALL_ENV = "EASEL_RUN_STALL";

struct Options {
  std::string script, frames, expect, log;
  int64_t every = 1;
  int64_t limit = DEFAULT_LIMIT_SECONDS;
  int64_t stall = DEFAULT_STALL_SECONDS;
  std::vector<std::string> program;  // PROGRAM and its ARGS
};

// Reads the command line and EASEL_RUN_STALL. Prints the help and exits 0 for --help; prints
// the reason and the usage line and exits with the bad-input status for anything wrong.
Options parse_options(int argc, char** argv);

// One line on stderr, then the bad-input status.
[[noreturn]] void refuse(const std::string& line);
