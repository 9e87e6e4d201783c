// The frames of a runner session: the graphics window as the program's last event left it,
// written as frame-NNNNNN.png and compared with an expected frame, with a diff image where they
// differ.
#pragma once

#include <cstdint>
#include <string>

struct FrameSettings {
  std::string frames_dir;  // where frames are written; empty: not written
  std::string expect_dir;  // where the expected frames are; empty: no comparison
  std::string diff_dir;    // where a diff image goes
};

enum FrameResult {
  FRAME_DONE,          // written and/or matching
  FRAME_DIFFERS,       // *message names the frame and the diff image
  FRAME_WRITE_FAILED,  // *message names the file
  FRAME_UNAVAILABLE,   // the graphics window is gone or was never shown
};

// Shows the picture the program has drawn since its last wait (as the wait's first pass would)
// and takes the graphics window's frame as the frame after event `number`.
FrameResult runner_frame(const FrameSettings& settings, int64_t number, std::string* message);
