// The program's process and what the runner makes around it: the report page, the working
// folder, the program in its own process group that dies with the runner, and the runner's own
// end on SIGTERM, SIGINT or SIGHUP with nothing left behind.
#pragma once

#include <string>

#include "easel/runner_report.h"
#include "run_options.h"

struct Child {
  int status = 0;
  bool stalled = false;
  int stopped_by = 0;      // the signal that stopped the runner, 0 for none
  std::string exec_error;  // why the program could not be started
};

// Catches SIGTERM, SIGINT and SIGHUP from now on: the run in progress is ended and cleaned up.
void catch_stop_signals();
// The signal caught so far, 0 for none.
int stop_signal();

// The page the session reports into, shared through an inherited descriptor: a memory file
// sealed against resizing, so that the session can tell it from any other file.
RunnerReport* make_report(int* descriptor);

// The program's working folder holding the script as "EASEL.SCR" (nothing for none).
std::string make_work_dir(const std::string* script);
// Removes a folder, making what the program made read-only writable first; says in one line
// what could not be removed.
void remove_folder(const std::string& path);

// Runs the program to its end (or the watchdog's, or the runner's stop signal), then ends every
// process left in its group.
Child run_program(const Options& options, const std::string& program, const std::string& work,
                  int report_fd, const RunnerReport* report);
