// easel-run: runs any EASEL program, unchanged, on the headless host in virtual time.
//
//   easel-run [--script FILE] [--frames DIR] [--every N] [--limit SECONDS] [--expect DIR]
//             [--log FILE] PROGRAM [ARGS...]
//
// The program runs as a child process in a private working directory (holding FILE as
// "EASEL.SCR"), with EASEL_HOST=headless and the runner's settings in its environment; the
// package then attaches a runner session that plays the script, takes the frames and keeps the
// virtual-time limit (easel/runner_session.cpp). The session's report lives in a page shared
// with this process, so the summary is right even for a program that crashed. This file checks
// the input, prepares the folders and judges the run: every expected frame must have been made,
// every frame made must have been expected and matched, and the program must have attached.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <system_error>

#include "easel/runner_report.h"
#include "runner/run_options.h"
#include "runner/run_process.h"

namespace {

namespace fs = std::filesystem;

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

// The script, read whole: only a regular file of at most MAX_SCRIPT_BYTES. It is opened
// without waiting, so a FIFO is refused rather than waited on, and a device never read.
std::string read_script(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) refuse("cannot read script " + path + ": " + std::strerror(errno));
  struct stat info {};
  std::string why;
  if (fstat(file, &info) != 0)
    why = std::strerror(errno);
  else if (!S_ISREG(info.st_mode))
    why = S_ISDIR(info.st_mode) ? "is a directory" : "not a regular file";
  else if (info.st_size > MAX_SCRIPT_BYTES)
    why = "larger than " + std::to_string(MAX_SCRIPT_BYTES >> 20) + " MB";
  std::string content;
  if (why.empty()) {
    content.resize(size_t(info.st_size));
    size_t done = 0;
    while (done < content.size()) {
      const ssize_t count = read(file, content.data() + done, content.size() - done);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) {
        why = count < 0 ? std::strerror(errno) : "it shrank while read";
        break;
      }
      done += size_t(count);
    }
  }
  close(file);
  if (!why.empty()) refuse("cannot read script " + path + ": " + why);
  return content;
}

// A frame or diff file of the runner's own naming: frame-NNNNNN.png, diff-NNNNNN.png.
bool frame_number(const std::string& name, const char* stem, int64_t* number) {
  const std::string prefix = std::string(stem) + "-";
  const std::string_view suffix = ".png";
  if (name.size() < prefix.size() + 6 + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const char* first = name.data() + prefix.size();
  const char* last = name.data() + name.size() - suffix.size();
  auto [rest, error] = std::from_chars(first, last, *number);
  return error == std::errc() && rest == last && *number >= 0;
}

constexpr const char* FOLDER_LOG = "easel-run.log";

// The frames folder, made if need be and cleared of an earlier run's frames, diffs and log;
// never the folder of expected frames.
std::string make_frames_dir(const std::string& dir, const std::string& expect) {
  std::error_code failure;
  const fs::path path = fs::absolute(dir, failure);
  if (!failure) fs::create_directories(path, failure);
  if (failure || !fs::is_directory(path) || access(path.c_str(), W_OK) != 0)
    refuse("cannot make frames directory " + dir + ": " +
           (failure ? failure.message() : "not a writable directory"));
  if (!expect.empty() && fs::equivalent(path, expect, failure))
    refuse("--frames and --expect name the same folder " + dir +
           ": the expected frames would be overwritten");
  for (fs::directory_iterator entry(path, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    const std::string name = entry->path().filename().string();
    int64_t number = 0;
    std::error_code kept;
    if (entry->is_regular_file(kept) && (frame_number(name, "frame", &number) ||
                                         frame_number(name, "diff", &number) || name == FOLDER_LOG))
      fs::remove(entry->path(), kept);
  }
  return path.string();
}

std::string expect_dir(const std::string& dir) {
  std::error_code failure;
  const fs::path path = fs::absolute(dir, failure);
  if (failure || !fs::is_directory(path, failure))
    refuse("cannot read expected frames directory " + dir + ": not a directory");
  return path.string();
}

// The log file, emptied now, so that a program that never attaches leaves it empty.
std::string make_log(const std::string& file) {
  std::error_code failure;
  std::string path = fs::absolute(file, failure).string();
  const int log = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (failure || log < 0)
    refuse("cannot write log " + file + ": " +
           (failure ? failure.message() : std::strerror(errno)));
  close(log);
  return path;
}

// The frame numbers of the run: frame 0, every N-th, and the last.
bool frame_made(int64_t number, int64_t every, int64_t last) {
  return last >= 0 && number <= last && (number == 0 || number == last || number % every == 0);
}

// The first expected frame the run did not make, or "" when there is none.
std::string missing_frame(const Options& options, const RunnerReport& report) {
  std::set<int64_t> expected;
  std::error_code failure;
  for (fs::directory_iterator entry(options.expect, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    int64_t number = 0;
    if (frame_number(entry->path().filename().string(), "frame", &number)) expected.insert(number);
  }
  for (const int64_t number : expected) {
    if (frame_made(number, options.every, report.last_frame)) continue;
    char name[48];
    std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(number));
    if (number > report.last_frame)
      return std::string(name) + " expected, but the program ended after event " +
             std::to_string(report.events);
    return std::string(name) + " expected, but not made with a frame after every " +
           std::to_string(options.every) + " events";
  }
  return "";
}

// The summary line and the runner's status.
int summarise(const Options& options, const Child& child, const RunnerReport& report) {
  const bool attached = report.magic == RUN_REPORT_MAGIC;
  std::string line = std::to_string(attached ? report.events : 0) + " events played, " +
                     std::to_string(attached ? report.frames : 0) + " frames written";
  const std::string message(report.message, strnlen(report.message, sizeof report.message));
  const std::string& name = options.program[0];
  int status = RUN_STATUS_PASSED;
  std::string missing;
  if (child.stalled) {
    line += "; stopped: " + name + " waited for no event in " + std::to_string(options.stall) +
            " s of real time";
    status = RUN_STATUS_PAST_LIMIT;
  } else if (attached && report.outcome == RUN_LIMIT) {
    line += "; stopped at the limit of " + std::to_string(options.limit) + " s of virtual time (" +
            message + ")";
    status = RUN_STATUS_PAST_LIMIT;
  } else if (attached && report.outcome == RUN_DIFFERENCE) {
    line += "; first difference: " + message;
    status = RUN_STATUS_FAILED;
  } else if (attached && report.outcome == RUN_WRITE_FAILED) {
    line += "; " + message;
    status = RUN_STATUS_FAILED;
  } else if (WIFSIGNALED(child.status)) {
    const int signal = WTERMSIG(child.status);
    line +=
        "; " + name + " ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    status = 128 + signal;
  } else if (WIFEXITED(child.status) && WEXITSTATUS(child.status) != 0) {
    status = WEXITSTATUS(child.status);
    line += "; " + name + " ended with status " + std::to_string(status);
  } else if (!attached) {
    line += "; " + name + " never opened the EASEL package under the runner: nothing was played" +
            (options.expect.empty() ? "" : " or compared");
    status = RUN_STATUS_FAILED;
  } else if (!options.expect.empty() && !(missing = missing_frame(options, report)).empty()) {
    line += "; first difference: " + missing;
    status = RUN_STATUS_FAILED;
  } else if (!options.expect.empty()) {
    line += "; " + std::to_string(report.compared) + " frames match";
  }
  std::printf("%s\n", line.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  catch_stop_signals();
  Options options = parse_options(argc, argv);
  const std::string program = find_program(options.program[0]);
  std::string script;
  if (!options.script.empty()) script = read_script(options.script);
  if (!options.expect.empty()) options.expect = expect_dir(options.expect);
  if (!options.frames.empty()) {
    options.frames = make_frames_dir(options.frames, options.expect);
    if (options.log.empty()) options.log = options.frames + "/" + FOLDER_LOG;
  }
  if (!options.log.empty()) options.log = make_log(options.log);

  int report_fd = -1;
  RunnerReport* report = make_report(&report_fd);
  if (report == nullptr) {
    std::fprintf(stderr, "easel-run: cannot share a report page: %s\n", std::strerror(errno));
    return RUN_STATUS_FAILED;
  }
  const std::string work = make_work_dir(options.script.empty() ? nullptr : &script);
  Child child;
  if (stop_signal() == 0) child = run_program(options, program, work, report_fd, report);
  remove_folder(work);
  if (const int signal = stop_signal()) {
    std::fprintf(stderr, "easel-run: stopped by signal %d (%s)\n", signal, strsignal(signal));
    return 128 + signal;
  }
  if (!child.exec_error.empty()) {
    std::fprintf(stderr, "easel-run: cannot run %s: %s\n", options.program[0].c_str(),
                 child.exec_error.c_str());
    return RUN_STATUS_BAD_INPUT;
  }
  return summarise(options, child, *report);
}
