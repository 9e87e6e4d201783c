// Fuzz target: arbitrary bytes written as "EASEL.SCR" and played back, every event pulled
// through EASEL_await_event until the playback ends. The package runs meanwhile, so the wait
// that follows the end of the script ends on the next tick instead of waiting for the user.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "support/files.h"

namespace {

// Bounds one input's playback: a periodic line may owe two thousand million repeats.
constexpr int MAX_EVENTS = 2000;

void write_script(const uint8_t* data, size_t size) {
  if (!write_file("EASEL.SCR", std::string_view(reinterpret_cast<const char*>(data), size)))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every input starts from a closed script with no repeats owed by the previous one.
  write_script(data, size);
  easel_testing_play_script();
  EASEL_animate(EASEL_ANIM_RUN);
  for (int i = 0; i < MAX_EVENTS && easel_testing_playing(); ++i) {
    int32_t x = 0;
    int32_t y = 0;
    char key = 0;
    const int kind = EASEL_await_event(&x, &y, &key);
    // Nothing but the three kinds a script can hold may come out; no quit was asked for.
    if (kind != EASEL_MOUSE && kind != EASEL_KBD && kind != EASEL_PERIODIC) __builtin_trap();
    if (kind != EASEL_MOUSE && (x != 0 || y != 0)) __builtin_trap();
    if (kind != EASEL_KBD && key != 0) __builtin_trap();
  }
  EASEL_animate(EASEL_ANIM_HALT);
  return 0;
}
