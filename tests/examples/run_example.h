// Runs one example program with one of its scripts and returns the last frame of its graphics
// window; `events` is the number of events the script holds, which the run must have played.
#pragma once

#include <string>

#include "support/drawing_point.h"

Frame run_example(const std::string& program, const std::string& script, int events);
