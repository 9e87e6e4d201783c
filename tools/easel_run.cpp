// easel-run: runs any EASEL program, unchanged, on the headless host in virtual time.
//
//   easel-run [--script FILE] [--frames DIR] [--every N] [--limit SECONDS] [--expect DIR]
//             PROGRAM [ARGS...]
//
// The program runs as a child process in a private working directory (holding FILE as
// "EASEL.SCR"), with EASEL_HOST=headless and the runner's settings in its environment; the
// package then attaches a runner session that plays the script, takes the frames and keeps the
// virtual-time limit (easel/runner_session.cpp). The session's report lives in a page shared
// with this process, so the summary is right even for a program that crashed. A watchdog ends a
// program that stops waiting for events altogether, which virtual time alone cannot end.
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "easel/runner_report.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* USAGE =
    "usage: easel-run [--script FILE] [--frames DIR] [--every N] [--limit SECONDS] "
    "[--expect DIR] PROGRAM [ARGS...]";
constexpr int BAD_INPUT = 2;
constexpr int PAST_LIMIT = 124;
constexpr int64_t DEFAULT_LIMIT_SECONDS = 3600;
// Real seconds without a single event wait after which a program counts as stuck. An EASEL
// program waits for an event at least once per frame; the setting is there for tests.
constexpr int64_t DEFAULT_STALL_SECONDS = 10;
constexpr const char* STALL_ENV = "EASEL_RUN_STALL";

struct Options {
  std::string script, frames, expect;
  int64_t every = 1;
  int64_t limit = DEFAULT_LIMIT_SECONDS;
  std::vector<std::string> program;  // PROGRAM and its ARGS
};

bool parse_count(const char* text, int64_t* value) {
  const char* end = text + std::strlen(text);
  auto [rest, error] = std::from_chars(text, end, *value);
  return error == std::errc() && rest == end && *value >= 1;
}

// Options come before PROGRAM; everything from PROGRAM on is the program's own.
bool parse_arguments(int argc, char** argv, Options* options) {
  bool seen_script = false, seen_frames = false, seen_expect = false, seen_every = false,
       seen_limit = false;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.empty() || arg[0] != '-') break;
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    auto text_once = [value](bool* seen, std::string* into) {
      if (*seen || *value == '\0') return false;
      *seen = true;
      *into = value;
      return true;
    };
    auto count_once = [value](bool* seen, int64_t* into) {
      if (*seen || !parse_count(value, into)) return false;
      *seen = true;
      return true;
    };
    bool ok = false;
    if (arg == "--script")
      ok = text_once(&seen_script, &options->script);
    else if (arg == "--frames")
      ok = text_once(&seen_frames, &options->frames);
    else if (arg == "--expect")
      ok = text_once(&seen_expect, &options->expect);
    else if (arg == "--every")
      ok = count_once(&seen_every, &options->every);
    else if (arg == "--limit")
      ok = count_once(&seen_limit, &options->limit);
    if (!ok) return false;
  }
  for (; i < argc; ++i) options->program.push_back(argv[i]);
  return !options->program.empty() && !options->program[0].empty();
}

[[noreturn]] void refuse(const std::string& line) {
  std::fprintf(stderr, "easel-run: %s\n", line.c_str());
  std::exit(BAD_INPUT);
}

// The program as an absolute path: a name with a slash is a path, anything else is looked up
// in PATH, as a shell would.
std::string find_program(const std::string& name) {
  auto runnable = [](const fs::path& path) {
    std::error_code failure;
    return fs::is_regular_file(path, failure) && access(path.c_str(), X_OK) == 0;
  };
  std::error_code failure;
  if (name.find('/') != std::string::npos) {
    const fs::path path = fs::absolute(name, failure);
    if (failure || !runnable(path))
      refuse("cannot run " + name + ": " +
             (fs::exists(path, failure) ? "not an executable file" : "no such file"));
    return path.string();
  }
  const char* search = std::getenv("PATH");
  std::string dirs = search ? search : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    const size_t end = dirs.find(':', start);
    const std::string_view piece =
        std::string_view(dirs).substr(start, end == std::string::npos ? end : end - start);
    const fs::path dir = piece.empty() ? fs::path(".") : fs::path(piece);
    const fs::path path = fs::absolute(dir / name, failure);
    if (!failure && runnable(path)) return path.string();
    if (end == std::string::npos) break;
    start = end + 1;
  }
  refuse("cannot run " + name + ": not found in PATH");
}

std::string read_script(const std::string& path) {
  std::error_code failure;
  if (fs::is_directory(path, failure)) refuse("cannot read script " + path + ": is a directory");
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) refuse("cannot read script " + path + ": " + std::strerror(errno));
  std::string content;
  char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) refuse("cannot read script " + path + ": " + std::strerror(error));
  return content;
}

std::string make_frames_dir(const std::string& dir) {
  std::error_code failure;
  const fs::path path = fs::absolute(dir, failure);
  if (!failure) fs::create_directories(path, failure);
  if (failure || !fs::is_directory(path) || access(path.c_str(), W_OK) != 0)
    refuse("cannot make frames directory " + dir + ": " +
           (failure ? failure.message() : "not a writable directory"));
  return path.string();
}

std::string expect_dir(const std::string& dir) {
  std::error_code failure;
  const fs::path path = fs::absolute(dir, failure);
  if (failure || !fs::is_directory(path, failure))
    refuse("cannot read expected frames directory " + dir + ": not a directory");
  return path.string();
}

// The working directory of the program: the script as "EASEL.SCR" and nothing else.
std::string make_work_dir(const std::string* script) {
  std::error_code failure;
  std::string work = (fs::temp_directory_path(failure) / "easel-run-XXXXXX").string();
  if (failure || mkdtemp(work.data()) == nullptr) {
    std::fprintf(stderr, "easel-run: cannot make a working directory: %s\n", std::strerror(errno));
    std::exit(1);
  }
  if (script) {
    const std::string path = work + "/EASEL.SCR";
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(script->data(), 1, script->size(), file) == script->size();
    ok = file && std::fclose(file) == 0 && ok;
    if (!ok) {
      std::fprintf(stderr, "easel-run: cannot write %s\n", path.c_str());
      fs::remove_all(work, failure);
      std::exit(1);
    }
  }
  return work;
}

// The page the session reports into, shared through an inherited descriptor.
RunnerReport* make_report(int* descriptor) {
  *descriptor = memfd_create("easel-run-report", 0);
  if (*descriptor < 0 || ftruncate(*descriptor, sizeof(RunnerReport)) != 0) return nullptr;
  void* page =
      mmap(nullptr, sizeof(RunnerReport), PROT_READ | PROT_WRITE, MAP_SHARED, *descriptor, 0);
  return page == MAP_FAILED ? nullptr : static_cast<RunnerReport*>(page);
}

struct Child {
  pid_t pid = -1;
  int status = 0;
  bool stalled = false;
  std::string exec_error;  // why the program could not be started
};

// In the child: the settings, then the program. A failed exec sends errno through the pipe.
[[noreturn]] void exec_program(const Options& options, const std::string& program,
                               const std::string& work, int report, int exec_pipe) {
  for (const char* name : {RUN_ENV_PLAY, RUN_ENV_FRAMES, RUN_ENV_EVERY, RUN_ENV_EXPECT,
                           RUN_ENV_DIFF, RUN_ENV_LIMIT, STALL_ENV})
    unsetenv(name);
  setenv("EASEL_HOST", "headless", 1);
  setenv(RUN_ENV_REPORT, std::to_string(report).c_str(), 1);
  setenv(RUN_ENV_LIMIT, std::to_string(options.limit).c_str(), 1);
  setenv(RUN_ENV_EVERY, std::to_string(options.every).c_str(), 1);
  if (!options.script.empty()) setenv(RUN_ENV_PLAY, "1", 1);
  if (!options.frames.empty()) setenv(RUN_ENV_FRAMES, options.frames.c_str(), 1);
  if (!options.expect.empty()) setenv(RUN_ENV_EXPECT, options.expect.c_str(), 1);
  std::error_code failure;
  setenv(RUN_ENV_DIFF,
         (options.frames.empty() ? fs::current_path(failure).string() : options.frames).c_str(), 1);
  std::vector<char*> argv;
  for (const std::string& arg : options.program) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  int error = 0;
  if (chdir(work.c_str()) == 0) execv(program.c_str(), argv.data());
  error = errno;
  (void)!write(exec_pipe, &error, sizeof error);
  _exit(127);
}

Child run_program(const Options& options, const std::string& program, const std::string& work,
                  int report_fd, const RunnerReport* report) {
  Child child;
  int exec_pipe[2];
  if (pipe2(exec_pipe, O_CLOEXEC) != 0) {
    child.exec_error = std::strerror(errno);
    return child;
  }
  std::fflush(nullptr);
  child.pid = fork();
  if (child.pid == 0) {
    close(exec_pipe[0]);
    exec_program(options, program, work, report_fd, exec_pipe[1]);
  }
  close(exec_pipe[1]);
  if (child.pid < 0) {
    child.exec_error = std::strerror(errno);
    close(exec_pipe[0]);
    return child;
  }
  int error = 0;
  if (read(exec_pipe[0], &error, sizeof error) == ssize_t(sizeof error))
    child.exec_error = std::strerror(error);
  close(exec_pipe[0]);

  // Wait for the end, looking once a second whether the program still waits for events.
  int64_t stall_seconds = DEFAULT_STALL_SECONDS;
  if (const char* text = std::getenv(STALL_ENV)) parse_count(text, &stall_seconds);
  const int watch = int(syscall(SYS_pidfd_open, child.pid, 0));
  uint64_t seen = report->progress.load(std::memory_order_relaxed);
  int64_t quiet = 0;
  while (watch >= 0 && waitpid(child.pid, &child.status, WNOHANG) == 0) {
    pollfd ended{watch, POLLIN, 0};
    if (poll(&ended, 1, 1000) != 0) continue;
    const uint64_t now = report->progress.load(std::memory_order_relaxed);
    quiet = now == seen ? quiet + 1 : 0;
    seen = now;
    if (quiet >= stall_seconds) {
      child.stalled = true;
      kill(child.pid, SIGKILL);
    }
  }
  if (watch < 0) waitpid(child.pid, &child.status, 0);
  if (watch >= 0) close(watch);
  return child;
}

// The summary line and the runner's status.
int summarise(const Options& options, const Child& child, const RunnerReport& report) {
  const bool attached = report.magic == RUN_REPORT_MAGIC;
  std::string line = std::to_string(attached ? report.events : 0) + " events played, " +
                     std::to_string(attached ? report.frames : 0) + " frames written";
  const std::string message(report.message, strnlen(report.message, sizeof report.message));
  int status = 0;
  if (child.stalled) {
    line += "; stopped: " + options.program[0] + " waited for no event in " +
            std::to_string(std::getenv(STALL_ENV) ? std::atoll(std::getenv(STALL_ENV))
                                                  : DEFAULT_STALL_SECONDS) +
            " s of real time";
    status = PAST_LIMIT;
  } else if (attached && report.outcome == RUN_LIMIT) {
    line += "; stopped at the limit of " + std::to_string(options.limit) + " s of virtual time (" +
            message + ")";
    status = PAST_LIMIT;
  } else if (attached && report.outcome == RUN_DIFFERENCE) {
    line += "; first difference: " + message;
    status = 1;
  } else if (attached && report.outcome == RUN_WRITE_FAILED) {
    line += "; " + message;
    status = 1;
  } else if (WIFSIGNALED(child.status)) {
    const int signal = WTERMSIG(child.status);
    line += "; " + options.program[0] + " ended by signal " + std::to_string(signal) + " (" +
            strsignal(signal) + ")";
    status = 128 + signal;
  } else if (WIFEXITED(child.status)) {
    status = WEXITSTATUS(child.status);
    if (status != 0)
      line += "; " + options.program[0] + " ended with status " + std::to_string(status);
  }
  std::printf("%s\n", line.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::puts(USAGE);
    return 0;
  }
  Options options;
  if (!parse_arguments(argc, argv, &options)) {
    std::fprintf(stderr, "%s\n", USAGE);
    return BAD_INPUT;
  }
  const std::string program = find_program(options.program[0]);
  std::string script;
  if (!options.script.empty()) script = read_script(options.script);
  if (!options.expect.empty()) options.expect = expect_dir(options.expect);
  if (!options.frames.empty()) options.frames = make_frames_dir(options.frames);

  int report_fd = -1;
  RunnerReport* report = make_report(&report_fd);
  if (report == nullptr) {
    std::fprintf(stderr, "easel-run: cannot share a report page: %s\n", std::strerror(errno));
    return 1;
  }
  const std::string work = make_work_dir(options.script.empty() ? nullptr : &script);
  const Child child = run_program(options, program, work, report_fd, report);
  std::error_code ignored;
  fs::remove_all(work, ignored);
  if (!child.exec_error.empty()) {
    std::fprintf(stderr, "easel-run: cannot run %s: %s\n", options.program[0].c_str(),
                 child.exec_error.c_str());
    return BAD_INPUT;
  }
  return summarise(options, child, *report);
}
