// Raw host input for tests of the window system's input conversion: schedules one host event
// exactly as given (x, y in the window's outer area), for kinds the public scheduling calls do
// not make, such as resizing, exposure, focus and other mouse buttons. The event's window and
// time are filled in on delivery.
#pragma once

#include <cstdint>

#include "hosts/host.h"

void headless_raw_input(uint64_t at, const char* window, const host::InputEvent& event);
