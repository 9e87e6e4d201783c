// Fuzz target: the input decoded into a short sequence of calls of the drawing primitives, the
// text calls, the clear, the log, the logging switch and the run mode, with any colours,
// coordinates, radii, widths, sizes and strings (any bytes, newlines, thousands of characters).
// Now and then an event is taken, so the image is also copied to the window.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <string>

#include "fuzz_support.h"

namespace {

constexpr int MAX_CALLS = 16;
constexpr size_t MAX_STRING = 1500;
constexpr int MAX_REPEAT = 3000;

// Mostly numbers near the image, some near the ends of the int range, some anything at all.
int number(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return input.ConsumeIntegralInRange<int>(-1000, 1000);
    case 1:
      return INT_MIN + input.ConsumeIntegralInRange<int>(0, 1000);
    case 2:
      return INT_MAX - input.ConsumeIntegralInRange<int>(0, 1000);
    default:
      return input.ConsumeIntegral<int>();
  }
}

// Any bytes, or a short piece repeated into a long text.
std::string text(FuzzedDataProvider& input) {
  if (input.ConsumeBool()) return input.ConsumeRandomLengthString(MAX_STRING);
  const int repeat = input.ConsumeIntegralInRange<int>(0, MAX_REPEAT);
  const std::string piece = input.ConsumeRandomLengthString(8);
  std::string whole;
  for (int i = 0; i < repeat; ++i) whole += piece;
  return whole;
}

void one_call(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 10)) {
    case 0: {
      const int colour = number(input), x = number(input), y = number(input);
      EASEL_circle(colour, x, y, number(input));
      break;
    }
    case 1: {
      const int colour = number(input), x1 = number(input), y1 = number(input);
      const int x2 = number(input), y2 = number(input), x3 = number(input), y3 = number(input);
      EASEL_triangle(colour, x1, y1, x2, y2, x3, y3, number(input));
      break;
    }
    case 2: {
      const int colour = number(input), x1 = number(input), y1 = number(input);
      const int x2 = number(input), y2 = number(input);
      EASEL_rectangle(colour, x1, y1, x2, y2, number(input));
      break;
    }
    case 3: {
      const int colour = number(input), x1 = number(input), y1 = number(input);
      const int x2 = number(input), y2 = number(input);
      EASEL_line(colour, x1, y1, x2, y2, number(input));
      break;
    }
    case 4: {
      const int colour = number(input), x = number(input), y = number(input);
      const int size = number(input);
      EASEL_text(colour, x, y, size, text(input).c_str());
      break;
    }
    case 5: {
      const int colour = number(input), x = number(input), y = number(input);
      const int size = number(input);
      EASEL_printf_at(colour, x, y, size, "%s", text(input).c_str());
      break;
    }
    case 6:
      EASEL_clear();
      break;
    case 7:
      EASEL_logging(input.ConsumeBool());
      break;
    case 8:
      EASEL_printf("%s", text(input).c_str());
      break;
    case 9: {
      int32_t x = 0;
      int32_t y = 0;
      char key = 0;
      EASEL_animate(EASEL_ANIM_STEP);
      EASEL_await_event(&x, &y, &key);
      break;
    }
    default: {
      // Run modes outside the five known ones are ignored.
      const int mode = number(input);
      EASEL_animate(mode);
      EASEL_animate(EASEL_ANIM_HALT);
      // A quit is for ever; later inputs must not inherit it.
      if (mode == EASEL_ANIM_QUIT) fuzz_open_package();
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  EASEL_logging(input.ConsumeBool());
  for (int call = 0; call < MAX_CALLS && input.remaining_bytes() > 0; ++call) one_call(input);
  return 0;
}
