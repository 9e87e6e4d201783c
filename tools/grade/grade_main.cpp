// easel-grade: a class graded in one command. Every program runs on every script through
// easel-run (headless, virtual time, in a folder of its own), several at once; the frames are
// compared here with the expected ones, outside the program, and the results become a page, a
// JUnit file and one summary line.
//
//   easel-grade --scripts DIR --expect DIR [--jobs N] [--limit S] [--report DIR] [--sandbox]
//               [--memory MB] PROGRAM...
//   easel-grade --scripts DIR --expect DIR --record MODEL [--limit S]
//
// With --sandbox each program runs under bubblewrap: no network, the file system read-only but
// for its run's folder, the expected frames and the other runs out of sight, its address space
// capped.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <thread>

#include "grade.h"

extern char** environ;

namespace grade {
namespace {

constexpr const char* USAGE =
    "usage: easel-grade --scripts DIR --expect DIR [--jobs N] [--limit S] [--report DIR] "
    "[--sandbox] [--memory MB] PROGRAM...\n"
    "       easel-grade --scripts DIR --expect DIR --record MODEL [--limit S]";
constexpr const char* HELP =
    "Runs every PROGRAM on every script and compares its frames with the expected ones.\n"
    "  --scripts DIR   the scripts, DIR/NAME.scr (recorded with the Run menu's Record Script)\n"
    "  --expect DIR    the expected frames of each script, in DIR/NAME/\n"
    "  --record MODEL  make the expected frames by running the model answer MODEL\n"
    "  --jobs N        runs at once (default: the number of processors)\n"
    "  --limit S       seconds of virtual time each run may take (easel-run's --limit)\n"
    "  --report DIR    where report.html, report.xml and each run's folder go\n"
    "                  (default: easel-grade-report)\n"
    "  --sandbox       run each program under bubblewrap: no network, nothing writable but its\n"
    "                  own folder, the expected frames hidden\n"
    "  --memory MB     the address space a sandboxed program may use (default 1024)\n"
    "Status: 0 when every program passes every script, 1 when any run fails, 2 for bad input.";
constexpr int BAD_INPUT = 2;

struct Options {
  fs::path scripts, expect, report = "easel-grade-report";
  std::string record, limit;
  int64_t jobs = std::max(1U, std::thread::hardware_concurrency());
  int64_t memory_mb = 1024;
  bool sandbox = false;
  std::vector<std::string> programs;
};

[[noreturn]] void bad_input(const std::string& reason) {
  std::fprintf(stderr, "easel-grade: %s\n%s\n", reason.c_str(), USAGE);
  std::exit(BAD_INPUT);
}

int64_t whole_number(const std::string& option, const std::string& text) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || value < 1)
    bad_input(option + ": " + text + " is not a whole number of at least 1");
  return value;
}

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::printf("%s\n%s\n", USAGE, HELP);
      std::exit(0);
    }
    if (arg == "--sandbox") {
      options.sandbox = true;
      continue;
    }
    if (arg == "--") {
      options.programs.insert(options.programs.end(), argv + i + 1, argv + argc);
      break;
    }
    if (!arg.starts_with("--")) {
      options.programs.push_back(arg);
      continue;
    }
    if (i + 1 >= argc) bad_input(arg + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--scripts")
      options.scripts = value;
    else if (arg == "--expect")
      options.expect = value;
    else if (arg == "--report")
      options.report = value;
    else if (arg == "--record")
      options.record = value;
    else if (arg == "--limit")
      options.limit = std::to_string(whole_number(arg, value));
    else if (arg == "--jobs")
      options.jobs = whole_number(arg, value);
    else if (arg == "--memory")
      options.memory_mb = whole_number(arg, value);
    else
      bad_input("unknown option " + arg);
  }
  if (options.scripts.empty()) bad_input("--scripts DIR is needed");
  if (options.expect.empty()) bad_input("--expect DIR is needed");
  if (options.record.empty() && options.programs.empty()) bad_input("no PROGRAM to grade");
  if (!options.record.empty() && !options.programs.empty())
    bad_input("--record runs the model answer alone: give no other PROGRAM");
  return options;
}

bool executable(const std::string& path) {
  std::error_code failure;
  return fs::is_regular_file(path, failure) && access(path.c_str(), X_OK) == 0;
}

bool on_path(const char* name) {
  const char* search = std::getenv("PATH");
  std::string_view rest = search != nullptr ? search : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    if (executable(std::string(rest.substr(0, colon)) + "/" + name)) return true;
    rest = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
  }
  return false;
}

// easel-run beside this program (the build tree, an installation), else on PATH.
std::string runner_path() {
  std::error_code failure;
  const fs::path self = fs::read_symlink("/proc/self/exe", failure);
  if (!failure && executable((self.parent_path() / "easel-run").string()))
    return (self.parent_path() / "easel-run").string();
  return "easel-run";
}

std::vector<fs::path> find_scripts(const fs::path& folder) {
  std::vector<fs::path> scripts;
  std::error_code failure;
  for (const auto& entry : fs::directory_iterator(folder, failure))
    if (entry.path().extension() == ".scr" && entry.is_regular_file())
      scripts.push_back(entry.path());
  if (failure)
    bad_input("cannot read the scripts folder " + folder.string() + ": " + failure.message());
  if (scripts.empty()) bad_input("no scripts (*.scr) in " + folder.string());
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

// Each program's name in the report: its file name, or with its folder where two share one.
std::vector<std::string> program_names(const std::vector<std::string>& paths) {
  std::map<std::string, int> uses;
  for (const std::string& path : paths) ++uses[fs::path(path).filename().string()];
  std::vector<std::string> names;
  for (const std::string& path : paths) {
    const fs::path p = fs::absolute(path);
    std::string name = p.filename().string();
    if (uses[name] > 1) name.insert(0, p.parent_path().filename().string() + "/");
    while (std::find(names.begin(), names.end(), name) != names.end()) name += "+";
    names.push_back(name);
  }
  return names;
}

// Runs argv with stdout and stderr into `output` (or passed on when empty) and extra environment
// variables; the exit status, or 128 + signal.
int run_command(const std::vector<std::string>& args, const fs::path& output,
                const std::vector<std::string>& extra_environment) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> environment = extra_environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    const std::string name = text.substr(0, text.find('='));
    if (std::none_of(extra_environment.begin(), extra_environment.end(),
                     [&](const std::string& e) { return e.starts_with(name + "="); }))
      environment.push_back(text);
  }
  std::vector<char*> envp;
  envp.reserve(environment.size() + 1);
  for (const std::string& variable : environment)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!output.empty()) {
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  }
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return 127;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string last_line(const fs::path& path) {
  std::ifstream file(path);
  std::string line, last;
  while (std::getline(file, line))
    if (!line.empty()) last = line;
  return last;
}

int count_corrections(const fs::path& log) {
  std::ifstream file(log);
  std::string line;
  int count = 0;
  while (std::getline(file, line))
    if (line.find("not possible, using") != std::string::npos ||
        line.find("Illegal color") != std::string::npos)
      ++count;
  return count;
}

// The program as easel-run starts it: itself, or inside bubblewrap with its address space capped.
std::vector<std::string> program_command(const Options& options, const Run& run) {
  const std::string program = fs::absolute(run.program_path).string();
  if (!options.sandbox) return {program};
  const std::string run_folder = fs::absolute(run.folder).string();
  std::vector<std::string> box = {"bwrap", "--ro-bind", "/",      "/",
                                  "--dev", "/dev",      "--proc", "/proc"};
  // No network, no other process or shared memory in sight, and gone with the runner.
  box.insert(box.end(), {"--unshare-net", "--unshare-pid", "--unshare-ipc", "--die-with-parent"});
  // The expected frames and the other runs hidden; only the run's own folder writable.
  box.insert(box.end(), {"--tmpfs", fs::absolute(options.expect).string(), "--tmpfs",
                         fs::absolute(options.report).string(), "--bind", run_folder, run_folder});
  box.insert(box.end(),
             {"--", "prlimit", "--as=" + std::to_string(options.memory_mb << 20), "--", program});
  return box;
}

void grade_one(const Options& options, const std::string& runner, Run& run) {
  std::error_code ignored;
  fs::remove_all(run.folder, ignored);
  fs::create_directories(run.folder / "tmp", ignored);
  std::vector<std::string> args = {runner,
                                   "--script",
                                   run.script_path.string(),
                                   "--frames",
                                   (run.folder / "frames").string(),
                                   "--log",
                                   (run.folder / "log.txt").string()};
  if (!options.limit.empty()) args.insert(args.end(), {"--limit", options.limit});
  for (std::string& part : program_command(options, run)) args.push_back(std::move(part));
  const auto start = std::chrono::steady_clock::now();
  const int status =
      run_command(args, run.folder / "output.txt", {"TMPDIR=" + (run.folder / "tmp").string()});
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.runner_summary = last_line(run.folder / "output.txt");
  run.corrections = count_corrections(run.folder / "log.txt");
  run.passed = true;
  compare_frames(run);
  if (status != 0 && run.passed) {
    run.passed = false;
    run.reason =
        "easel-run ended with status " + std::to_string(status) + ": " + run.runner_summary;
  }
  fs::remove_all(run.folder / "tmp", ignored);
}

int record(const Options& options, const std::vector<fs::path>& scripts) {
  if (!executable(options.record)) bad_input(options.record + " is not an executable file");
  const std::string runner = runner_path();
  for (const fs::path& script : scripts) {
    const fs::path folder = options.expect / script.stem();
    std::vector<std::string> args = {runner, "--script", script.string(), "--frames",
                                     folder.string()};
    if (!options.limit.empty()) args.insert(args.end(), {"--limit", options.limit});
    args.push_back(fs::absolute(options.record).string());
    std::printf("%s: ", script.filename().c_str());
    std::fflush(stdout);
    const int status = run_command(args, {}, {});
    if (status != 0) {
      std::fprintf(stderr,
                   "easel-grade: the model answer failed on %s (status %d): no frames kept\n",
                   script.filename().c_str(), status);
      return 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace grade

int main(int argc, char** argv) {
  using namespace grade;
  const Options options = parse(argc, argv);
  const std::vector<fs::path> scripts = find_scripts(options.scripts);
  if (!options.record.empty()) return record(options, scripts);

  for (const fs::path& script : scripts) {
    const fs::path folder = options.expect / script.stem();
    std::error_code failure;
    bool any = false;
    for (const auto& entry : fs::directory_iterator(folder, failure))
      any = any || entry.path().extension() == ".png";
    if (!any)
      bad_input("no expected frames for " + script.filename().string() + " in " + folder.string() +
                ": make them with --record MODEL");
  }
  for (const std::string& program : options.programs)
    if (!executable(program)) bad_input(program + " is not an executable file");
  if (options.sandbox && !on_path("bwrap"))
    bad_input(
        "--sandbox needs bubblewrap (bwrap), which is not installed: apt-get install bubblewrap");

  const std::vector<std::string> names = program_names(options.programs);
  std::vector<std::string> script_names;
  script_names.reserve(scripts.size());
  for (const fs::path& script : scripts) script_names.push_back(script.stem().string());
  std::error_code failure;
  fs::create_directories(options.report, failure);
  if (failure) bad_input("cannot make the report folder " + options.report.string());
  fs::remove_all(options.report / "runs", failure);

  std::vector<Run> runs;
  for (size_t p = 0; p < names.size(); ++p) {
    std::string folder_name = names[p];
    std::replace(folder_name.begin(), folder_name.end(), '/', '_');
    for (const fs::path& script : scripts) {
      Run run;
      run.program = names[p];
      run.program_path = options.programs[p];
      run.script = script.stem().string();
      run.script_path = fs::absolute(script);
      run.expected = fs::absolute(options.expect / script.stem());
      run.folder = fs::absolute(options.report / "runs" / folder_name / run.script);
      runs.push_back(std::move(run));
    }
  }
  const std::string runner = runner_path();
  std::atomic<size_t> next{0};
  std::vector<std::thread> workers;
  for (int64_t j = 0; j < std::min<int64_t>(options.jobs, int64_t(runs.size())); ++j) {
    workers.emplace_back([&] {
      for (size_t i = next++; i < runs.size(); i = next++) grade_one(options, runner, runs[i]);
    });
  }
  for (std::thread& worker : workers) worker.join();

  write_html(options.report, names, script_names, runs);
  write_junit(options.report, names, runs);
  int failed_runs = 0, passing_programs = 0;
  for (size_t p = 0; p < names.size(); ++p) {
    bool all = true;
    for (const Run& run : runs)
      if (run.program == names[p]) all = all && run.passed;
    passing_programs += all ? 1 : 0;
  }
  for (const Run& run : runs) failed_runs += run.passed ? 0 : 1;
  std::printf("%d of %zu programs pass all %zu scripts; %d of %zu runs failed; report: %s\n",
              passing_programs, names.size(), scripts.size(), failed_runs, runs.size(),
              (options.report / "report.html").c_str());
  return failed_runs == 0 ? 0 : 1;
}
