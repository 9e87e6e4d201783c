// easel-grade's records: the runs of a class (every program on every script), what each run
// gave, and the three things made of them: the frames' comparison, the HTML report and the
// JUnit file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace grade {

namespace fs = std::filesystem;

// One program on one script.
struct Run {
  std::string program;       // the program's name in the report
  std::string program_path;  // what is run
  std::string script;        // the script's name: its file name without ".scr"
  fs::path script_path;
  fs::path expected;  // the script's expected frames
  fs::path folder;    // the run's own folder in the report: frames, log, output
  // Results.
  bool passed = false;
  std::string reason;          // why it failed, in one line (empty when it passed)
  std::string first_frame;     // the first frame that differs, if a frame differs
  int frames_matched = 0;      // frames equal to the expected ones
  int corrections = 0;         // lines of the log in which the package corrected an argument
  double seconds = 0;          // real time of the run
  std::string runner_summary;  // easel-run's last line
};

// Frames of a run against the expected ones: every expected frame made and equal, no frame
// more. On a difference sets run.reason and run.first_frame and writes the difference as
// `folder/diff-NNNNNN.png` (pixels that differ in red over a pale copy of the expected frame);
// copies of the expected frame sit beside it as `expected-NNNNNN.png` for the report.
void compare_frames(Run& run);

// report.html (thumbnails linked relative to the report folder, readable from the file system)
// and report.xml (JUnit) in `report`.
void write_html(const fs::path& report, const std::vector<std::string>& programs,
                const std::vector<std::string>& scripts, const std::vector<Run>& runs);
void write_junit(const fs::path& report, const std::vector<std::string>& programs,
                 const std::vector<Run>& runs);

}  // namespace grade
