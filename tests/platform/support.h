// Helpers shared by the window system's tests: a fixture that starts every test from a fresh
// headless host, and (support/artifacts.h) PNG dumps of a window or bitmap for pixel checks that
// failed.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "support/artifacts.h"

// Every test starts and ends with the whole window system reset.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { headless_reset(); }
  void TearDown() override { headless_reset(); }
};
