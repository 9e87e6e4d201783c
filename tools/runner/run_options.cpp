// easel-run's command line: options before PROGRAM, each given at most once; numbers are whole
// numbers within their bounds; a bad one is refused with its reason and the usage line.
#include "run_options.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "easel/runner_report.h"

namespace {

constexpr const char* USAGE =
    "usage: easel-run [--script FILE] [--frames DIR] [--every N] [--limit SECONDS] "
    "[--expect DIR] [--log FILE] PROGRAM [ARGS...]";

constexpr const char* HELP =
    "Runs an EASEL program without a display, in virtual time, and ends with its status.\n"
    "  --script FILE    play FILE (a regular file of at most 64 MB) from the first wait, as\n"
    "                   the Run menu's Playback would; its end closes the window\n"
    "  --frames DIR     write frame-NNNNNN.png, the picture after event N, to DIR: frame 0 at\n"
    "                   the first wait, every N-th event, and the last picture however the\n"
    "                   program ends (named after the last event); the package's log goes to\n"
    "                   DIR/easel-run.log; files of an earlier run there are removed first\n"
    "  --every N        a frame after every N-th event only (default 1)\n"
    "  --limit SECONDS  stop at this much virtual time, 1 to 86400 (default 3600): status 124;\n"
    "                   each periodic event played from the script counts 100 ms\n"
    "  --expect DIR     compare each frame with DIR's frame of the same name: status 1 at the\n"
    "                   first difference, a frame missing or a frame too many (diff-NNNNNN.png\n"
    "                   in the frames folder, or here); not the frames folder itself\n"
    "  --log FILE       write every log line, with the number of the event it came in\n"
    "Status: the program's own, 1 for a difference, a frame not written or a program that\n"
    "never opened the package, 2 for bad input, 124 past the limit, 128+N for signal N.\n"
    "EASEL_RUN_STALL=S: real seconds without an event wait before the program is stopped "
    "(10).";

[[noreturn]] void bad_option(const std::string& reason) {
  std::fprintf(stderr, "easel-run: %s\n%s\n", reason.c_str(), USAGE);
  std::exit(RUN_STATUS_BAD_INPUT);
}

// A whole number from `low` to `high`, or the reason it is not.
bool parse_count(const char* text, int64_t low, int64_t high, int64_t* value, std::string* reason) {
  const char* end = text + std::strlen(text);
  int64_t number = 0;
  auto [rest, error] = std::from_chars(text, end, number);
  if (error == std::errc() && rest == end && *text != '\0' && number >= low && number <= high) {
    *value = number;
    return true;
  }
  *reason = std::string(text) + " is not a whole number " +
            (high == INT64_MAX ? "of at least " + std::to_string(low)
                               : "from " + std::to_string(low) + " to " + std::to_string(high));
  return false;
}

}  // namespace

void refuse(const std::string& line) {
  std::fprintf(stderr, "easel-run: %s\n", line.c_str());
  std::exit(RUN_STATUS_BAD_INPUT);
}

Options parse_options(int argc, char** argv) {
  Options options;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s\n%s\n", USAGE, HELP);
    std::exit(RUN_STATUS_PASSED);
  }
  std::vector<std::string> seen;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.empty() || arg[0] != '-') break;
    if (arg != "--script" && arg != "--frames" && arg != "--expect" && arg != "--log" &&
        arg != "--every" && arg != "--limit")
      bad_option("unknown option " + arg);
    for (const std::string& earlier : seen)
      if (earlier == arg) bad_option(arg + " given twice");
    seen.push_back(arg);
    if (i + 1 >= argc) bad_option(arg + " needs a value");
    const char* value = argv[++i];
    std::string reason;
    if (arg == "--every" || arg == "--limit") {
      const bool every = arg == "--every";
      if (!parse_count(value, 1, every ? INT64_MAX : MAX_LIMIT_SECONDS,
                       every ? &options.every : &options.limit, &reason))
        bad_option(arg + ": " += reason);
      continue;
    }
    if (*value == '\0') bad_option(arg + ": the value is empty");
    std::string* into = arg == "--script"   ? &options.script
                        : arg == "--frames" ? &options.frames
                        : arg == "--expect" ? &options.expect
                                            : &options.log;
    *into = value;
  }
  for (; i < argc; ++i) options.program.emplace_back(argv[i]);
  if (options.program.empty() || options.program[0].empty()) bad_option("no PROGRAM given");

  if (const char* stall = std::getenv(STALL_ENV)) {
    std::string reason;
    if (!parse_count(stall, 1, INT64_MAX, &options.stall, &reason))
      refuse(std::string(STALL_ENV) + ": " + reason);
  }
  return options;
}
