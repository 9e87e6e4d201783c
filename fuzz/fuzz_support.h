// What the fuzz targets share: the package, opened once per process before the first input on
// the headless host, in a private temporary working directory (where "EASEL.SCR" lives), so
// that all inputs reuse one package. Text is drawn into both windows at that time too, so the
// font library's one-time start-up happens outside the per-input leak checks.
#pragma once

#include "easel/easel.h"
#include "easel/easel_testing.h"

// Opens the package afresh on a reset window system (logging off, image cleared): for an input
// that asked the package to quit, which is for ever.
void fuzz_open_package();
