// The package's test control (easel_testing.h): the reset, and the few views and actions that
// tests, benchmarks and fuzz targets need and that no program should: the record's start, the
// pump's image copy, the palette's colours, the newest log line and the script's playback.
#include <cstring>

#include "easel/easel_testing.h"
#include "internal.h"

void easel_testing_reset(void) {
  script_close();
  package = PackageState{};
  usage_reset();
}

void easel_testing_copy_image(void) {
  copy_image_to_screen();
}

unsigned long easel_testing_colour(int colour) {
  if (colour < 0 || colour >= COLOUR_COUNT) colour = ILLEGAL_COLOUR_REPLACEMENT;
  return colour_table[colour];
}

int easel_testing_last_log_line(char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (package.log_first < 0) return 0;
  const int slot = (package.log_next + LOG_CAPACITY - 1) % LOG_CAPACITY;
  const char* text = static_cast<const char*>(GlobalLock(package.log_lines[slot]));
  if (text == nullptr) return 0;
  const int length = static_cast<int>(strnlen(text, static_cast<size_t>(size) - 1));
  std::memcpy(buffer, text, static_cast<size_t>(length));
  buffer[length] = '\0';
  GlobalUnlock(package.log_lines[slot]);
  return length;
}

void easel_testing_play_script(void) {
  script_stop_playback();
  package.play_one = 0;
  package.periodic_count = 0;
  script_start_playback();
}

int easel_testing_playing(void) {
  return package.playing;
}
