// Frames of a runner session. A frame is the whole graphics window as presented (menu bar and
// client area), taken the moment the program asks for its next event (or ends): by then it has
// drawn everything it will draw for the last one. Frames are compared pixel by pixel; a difference
// is shown as the frame dimmed, with every differing pixel red.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "internal.h"
#include "platform/headless.h"
#include "runner_frames.h"

namespace {

constexpr uint32_t DIFF_MARK = 0xFF0000;

std::string numbered(const char* stem, int64_t number) {
  char name[48];
  std::snprintf(name, sizeof name, "%s-%06" PRId64 ".png", stem, number);
  return name;
}

// The dimmed picture with the differing pixels (and every pixel outside the expected image)
// marked; the count of differing pixels.
int64_t make_diff(const std::vector<uint32_t>& actual, int width, int height,
                  const std::vector<uint32_t>& expected, int expected_width, int expected_height,
                  std::vector<uint32_t>* diff) {
  diff->assign(actual.size(), 0);
  int64_t differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = size_t(y) * size_t(width) + size_t(x);
      const bool inside = x < expected_width && y < expected_height;
      const uint32_t pixel = actual[at];
      if (!inside || expected[size_t(y) * size_t(expected_width) + size_t(x)] != pixel) {
        (*diff)[at] = DIFF_MARK;
        ++differing;
      } else {
        // A third of each channel, so the red marks stand out on any picture.
        (*diff)[at] =
            ((pixel >> 16 & 0xFF) / 3) << 16 | ((pixel >> 8 & 0xFF) / 3) << 8 | (pixel & 0xFF) / 3;
      }
    }
  }
  // An expected image larger than the frame differs too, though no pixel of the frame shows it.
  if (expected_width > width || expected_height > height)
    differing = std::max<int64_t>(1, differing);
  return differing;
}

FrameResult compare(const FrameSettings& settings, int64_t number,
                    const std::vector<uint32_t>& pixels, int width, int height,
                    std::string* message) {
  const std::string name = numbered("frame", number);
  const std::string expected_path = settings.expect_dir + "/" + name;
  // A frame the model answer never made is a difference in itself: no picture to compare.
  std::error_code failure;
  if (!std::filesystem::exists(expected_path, failure) && !failure) {
    *message = name + " made, but not expected: " + settings.expect_dir + " has no such frame";
    return FRAME_DIFFERS;
  }
  std::vector<uint32_t> expected;
  int expected_width = 0, expected_height = 0;
  const bool readable =
      headless_read_png(expected_path, &expected, &expected_width, &expected_height);
  if (!readable) expected_width = expected_height = 0;
  std::vector<uint32_t> diff;
  const int64_t differing =
      make_diff(pixels, width, height, expected, expected_width, expected_height, &diff);
  if (differing == 0) return FRAME_DONE;

  const std::string diff_path = settings.diff_dir + "/" + numbered("diff", number);
  if (!headless_write_png(diff_path, diff, width, height)) {
    *message = "cannot write " + diff_path;
    return FRAME_WRITE_FAILED;
  }
  char count[32];
  std::snprintf(count, sizeof count, "%" PRId64, differing);
  *message = readable ? name + " differs from " + expected_path + " in " + count + " pixels, see " +
                            diff_path
                      : name + " differs: " + expected_path + " cannot be read, see " + diff_path;
  return FRAME_DIFFERS;
}

}  // namespace

FrameResult runner_frame(const FrameSettings& settings, int64_t number, std::string* message) {
  // What the wait's first pass would do: the picture drawn since the last wait goes to the
  // window, and the next poll presents it.
  if (package.dirty && package.graphics_window != nullptr) {
    BitBlt(package.screen_dc, 0, 0, IMAGE_WIDTH, IMAGE_HEIGHT, package.offscreen_dc, 0, 0, SRCCOPY);
    package.dirty = 0;
  }
  MSG ignored;
  PeekMessageA(&ignored, nullptr, 0, 0, PM_NOREMOVE);

  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!headless_window_pixels("EASEL Graphics", &pixels, &width, &height)) return FRAME_UNAVAILABLE;

  if (!settings.frames_dir.empty()) {
    const std::string path = settings.frames_dir + "/" + numbered("frame", number);
    if (!headless_write_png(path, pixels, width, height)) {
      *message = "cannot write " + path;
      return FRAME_WRITE_FAILED;
    }
  }
  if (settings.expect_dir.empty()) return FRAME_DONE;
  return compare(settings, number, pixels, width, height, message);
}
