// The program's process: started in a working folder of its own, in a process group of its own
// with the parent-death signal set, watched through a pidfd, a self-pipe that the stop signals
// write to and the report's progress counter (the stall watchdog), and ended with its whole
// group, so that no child it forked outlives the run.
#include "run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

volatile sig_atomic_t caught_signal = 0;
int signal_pipe[2] = {-1, -1};

void on_stop_signal(int signal) {
  if (caught_signal == 0) caught_signal = signal;
  const int saved = errno;
  const char byte = 1;
  (void)!write(signal_pipe[1], &byte, 1);
  errno = saved;
}

// In the child: its own group, death with the runner, the settings, then the program. A failed
// exec sends errno through the pipe.
[[noreturn]] void exec_program(const Options& options, const std::string& program,
                               const std::string& work, int report, int exec_pipe, pid_t runner) {
  setpgid(0, 0);
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != runner) _exit(127);  // the runner is already gone
  for (const char* name : RUN_ENVIRONMENT) unsetenv(name);
  unsetenv(STALL_ENV);
  setenv("EASEL_HOST", "headless", 1);
  setenv(RUN_ENV_REPORT, std::to_string(report).c_str(), 1);
  setenv(RUN_ENV_LIMIT, std::to_string(options.limit).c_str(), 1);
  setenv(RUN_ENV_EVERY, std::to_string(options.every).c_str(), 1);
  if (!options.script.empty()) setenv(RUN_ENV_PLAY, "1", 1);
  if (!options.frames.empty()) setenv(RUN_ENV_FRAMES, options.frames.c_str(), 1);
  if (!options.expect.empty()) setenv(RUN_ENV_EXPECT, options.expect.c_str(), 1);
  if (!options.log.empty()) setenv(RUN_ENV_LOG, options.log.c_str(), 1);
  std::error_code failure;
  setenv(RUN_ENV_DIFF,
         (options.frames.empty() ? fs::current_path(failure).string() : options.frames).c_str(), 1);
  // The stop signals' handlers go with exec; a mask or an ignored signal would not.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  std::vector<char*> argv;
  for (const std::string& arg : options.program) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  if (chdir(work.c_str()) == 0) execv(program.c_str(), argv.data());
  const int error = errno;
  (void)!write(exec_pipe, &error, sizeof error);
  _exit(127);
}

// Kills what is left of the program's group, then collects the program and the rest of the
// group. The program (the group's leader) is still unreaped when the group is killed, so the
// group's number cannot have been given to anyone else.
void end_group(pid_t leader, int* status) {
  kill(-leader, SIGKILL);
  while (waitpid(leader, status, 0) < 0 && errno == EINTR) {
  }
  while (waitpid(-leader, nullptr, 0) > 0 || errno == EINTR) {
  }
}

// Makes every folder under `path` (and `path`) writable by its owner again.
void make_writable(const fs::path& path) {
  std::error_code failure;
  if (!fs::is_directory(fs::symlink_status(path, failure))) return;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, failure);
  for (fs::directory_iterator entry(path, failure), end; !failure && entry != end;
       entry.increment(failure))
    make_writable(entry->path());
}

}  // namespace

void catch_stop_signals() {
  if (pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::fprintf(stderr, "easel-run: cannot watch for signals: %s\n", std::strerror(errno));
    std::exit(RUN_STATUS_FAILED);
  }
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

int stop_signal() {
  return caught_signal;
}

RunnerReport* make_report(int* descriptor) {
  *descriptor = memfd_create("easel-run-report", MFD_ALLOW_SEALING);
  if (*descriptor < 0 || ftruncate(*descriptor, sizeof(RunnerReport)) != 0 ||
      fcntl(*descriptor, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0)
    return nullptr;
  void* page =
      mmap(nullptr, sizeof(RunnerReport), PROT_READ | PROT_WRITE, MAP_SHARED, *descriptor, 0);
  return page == MAP_FAILED ? nullptr : static_cast<RunnerReport*>(page);
}

std::string make_work_dir(const std::string* script) {
  std::error_code failure;
  std::string work = (fs::temp_directory_path(failure) / "easel-run-XXXXXX").string();
  if (failure || mkdtemp(work.data()) == nullptr) {
    std::fprintf(stderr, "easel-run: cannot make a working directory: %s\n", std::strerror(errno));
    std::exit(RUN_STATUS_FAILED);
  }
  if (script) {
    const std::string path = work + "/EASEL.SCR";
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(script->data(), 1, script->size(), file) == script->size();
    ok = file && std::fclose(file) == 0 && ok;
    if (!ok) {
      std::fprintf(stderr, "easel-run: cannot write %s\n", path.c_str());
      remove_folder(work);
      std::exit(RUN_STATUS_FAILED);
    }
  }
  return work;
}

void remove_folder(const std::string& path) {
  std::error_code failure;
  fs::remove_all(path, failure);
  if (!failure) return;
  make_writable(path);
  failure.clear();
  fs::remove_all(path, failure);
  if (failure)
    std::fprintf(stderr, "easel-run: cannot remove the working folder %s: %s\n", path.c_str(),
                 failure.message().c_str());
}

Child run_program(const Options& options, const std::string& program, const std::string& work,
                  int report_fd, const RunnerReport* report) {
  Child child;
  int exec_pipe[2];
  if (pipe2(exec_pipe, O_CLOEXEC) != 0) {
    child.exec_error = std::strerror(errno);
    return child;
  }
  // Children the program leaves behind come back to the runner, which collects them.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  std::fflush(nullptr);
  const pid_t runner = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    close(exec_pipe[0]);
    exec_program(options, program, work, report_fd, exec_pipe[1], runner);
  }
  close(exec_pipe[1]);
  if (pid < 0) {
    child.exec_error = std::strerror(errno);
    close(exec_pipe[0]);
    return child;
  }
  setpgid(pid, pid);  // as the child does: whichever runs first
  int error = 0;
  ssize_t got;
  while ((got = read(exec_pipe[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  if (got == ssize_t(sizeof error)) child.exec_error = std::strerror(error);
  close(exec_pipe[0]);

  // Wait for the end, looking once a second whether the program still waits for events.
  const int watch = int(syscall(SYS_pidfd_open, pid, 0));
  uint64_t seen = report->progress.load(std::memory_order_relaxed);
  int64_t quiet = 0;
  for (;;) {
    siginfo_t info{};
    if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
      break;
    if (stop_signal() != 0 || child.stalled) {
      kill(-pid, SIGKILL);
      kill(pid, SIGKILL);
      if (watch < 0) break;
    }
    pollfd ready[2] = {{watch, POLLIN, 0}, {signal_pipe[0], POLLIN, 0}};
    const int count = poll(ready, 2, 1000);
    if (count < 0 && errno != EINTR) break;
    if (count != 0) {
      char drained[16];
      while (read(signal_pipe[0], drained, sizeof drained) > 0) {
      }
      continue;
    }
    const uint64_t now = report->progress.load(std::memory_order_relaxed);
    quiet = now == seen ? quiet + 1 : 0;
    seen = now;
    if (quiet >= options.stall) child.stalled = true;
  }
  if (watch >= 0) close(watch);
  end_group(pid, &child.status);
  child.stopped_by = stop_signal();
  return child;
}
