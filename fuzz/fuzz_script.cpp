// Fuzz target: arbitrary bytes written as "EASEL.SCR" and played back, every event pulled
// through EASEL_await_event until the playback ends, while the user clicks and types at the
// same time (which clicks and keys, and when, also come from the bytes). The package runs
// meanwhile, so the wait that follows the end of the script ends on the next tick instead of
// waiting for the user. Whatever the user does, an event carries only its own fields.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "platform/headless.h"
#include "platform/win32.h"
#include "support/files.h"

namespace {

// Bounds one input's playback: a periodic line may owe two thousand million repeats.
constexpr int MAX_EVENTS = 2000;
constexpr const char* GRAPHICS = "EASEL Graphics";

void write_script(const uint8_t* data, size_t size) {
  if (!write_file("EASEL.SCR", std::string_view(reinterpret_cast<const char*>(data), size)))
    __builtin_trap();
}

// Nothing but the three kinds a script can hold may come out (no quit was asked for), each
// with only its own fields.
void check_event() {
  int32_t x = 0;
  int32_t y = 0;
  char key = 0;
  const int kind = EASEL_await_event(&x, &y, &key);
  if (kind != EASEL_MOUSE && kind != EASEL_KBD && kind != EASEL_PERIODIC) __builtin_trap();
  if (kind != EASEL_MOUSE && (x != 0 || y != 0)) __builtin_trap();
  if (kind != EASEL_KBD && key != 0) __builtin_trap();
}

// The user's input before a wait, chosen by one byte: a click in the client area, a letter
// typed, both or neither (plain letters only: Ctrl and Alt keys are the Run menu's).
void user_input(uint8_t choice) {
  const uint64_t now = headless_now();
  if (choice & 1) headless_click(now, GRAPHICS, 20 + choice * 2, 40 + choice);
  if (choice & 2) headless_type(now, GRAPHICS, 'a' + choice % 26);
}

bool input_waiting() {
  MSG message;
  return headless_pending_input() > 0 || PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every input starts from a closed script with no repeats owed by the previous one.
  write_script(data, size);
  easel_testing_play_script();
  EASEL_animate(EASEL_ANIM_RUN);
  for (int i = 0; i < MAX_EVENTS && easel_testing_playing(); ++i) {
    if (size > 0) user_input(data[size_t(i) % size] >> 2);
    check_event();
  }
  // The user's input still queued is taken now, so that the next input starts with none.
  for (int i = 0; i < 4 * MAX_EVENTS && input_waiting(); ++i) check_event();
  EASEL_animate(EASEL_ANIM_HALT);
  return 0;
}
