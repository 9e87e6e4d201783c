// Calls made out of order, said plainly on standard error. A wait before EASEL_open or after
// EASEL_close could never return, so it ends the program with status 1; drawing before
// EASEL_open draws nothing and is said once; a program that closes without ever having waited
// hears why its window showed nothing (the picture reaches the screen only while it waits).
#include <cstdio>
#include <cstdlib>

#include "internal.h"

namespace {

struct Usage {
  bool opened;
  bool closed;
  bool waited;
  bool drew_before_open;
};

Usage usage;

}  // namespace

void usage_opened() {
  usage.opened = true;
  usage.closed = false;
}

void usage_closing() {
  if (usage.opened && !usage.waited) {
    std::fputs(
        "EASEL_close: nothing was shown, because the program never waited for an event: the "
        "picture reaches the screen while EASEL_await_event waits, so wait (for a key, say) "
        "before EASEL_close\n",
        stderr);
  }
  usage.closed = true;
}

void usage_wait_begins() {
  const char* problem = nullptr;
  if (!usage.opened) {
    problem = "EASEL_await_event called before EASEL_open: call EASEL_open first\n";
  } else if (usage.closed) {
    problem =
        "EASEL_await_event called after EASEL_close: wait only between EASEL_open and "
        "EASEL_close\n";
  }
  if (problem != nullptr) {
    std::fputs(problem, stderr);
    std::fflush(nullptr);
    std::exit(1);
  }
  usage.waited = true;
}

void usage_drawing(const char* call) {
  if (usage.opened || usage.drew_before_open) return;
  usage.drew_before_open = true;
  std::fprintf(stderr, "%s called before EASEL_open: nothing is drawn; call EASEL_open first\n",
               call);
}

void usage_reset() {
  usage = Usage{};
}
