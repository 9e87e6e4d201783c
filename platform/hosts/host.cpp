// The host table: which driver the window system talks to, picked once per process (by
// select(), the EASEL_HOST environment variable, or the first compiled in), and the host::
// operations that the core calls, each a plain call through the chosen driver's record.
#include "hosts/host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace host {

namespace {

// In order of preference: the first is the default.
const HostDriver* const DRIVERS[] = {
#ifdef __EMSCRIPTEN__
    &web_driver,
#endif
#ifdef EASEL_HOST_SDL
    &sdl_driver,
#endif
    &headless_driver,
};

const HostDriver* chosen = nullptr;
bool picked_in_process = false;  // by select(): its caller opens the host when it needs to
bool opened = false;

const HostDriver* find_driver(const char* name) {
  for (const HostDriver* driver : DRIVERS)
    if (std::strcmp(driver->name, name) == 0) return driver;
  return nullptr;
}

// "EASEL_HOST is "x"; valid values: sdl, headless", kept for the life of the process.
const char* unknown_driver_reason(const char* value) {
  static std::string reason;
  reason = "EASEL_HOST is \"" + std::string(value) + "\"; valid values:";
  const char* separator = " ";
  for (const HostDriver* driver : DRIVERS) {
    reason += separator;
    reason += driver->name;
    separator = ", ";
  }
  return reason.c_str();
}

// The driver that EASEL_HOST names, or the default; null (with *why) for an unknown name.
const HostDriver* choose(const char** why) {
  if (chosen != nullptr) return chosen;
  const char* wanted = std::getenv("EASEL_HOST");
  if (wanted == nullptr || *wanted == 0) return chosen = DRIVERS[0];
  chosen = find_driver(wanted);
  if (chosen == nullptr && why != nullptr) *why = unknown_driver_reason(wanted);
  return chosen;
}

// The driver for an operation: opened first unless select() picked it.
const HostDriver& active() {
  if (chosen == nullptr || (!opened && !picked_in_process)) {
    const char* why = "no display";
    if (!open(&why)) {
      report_open_failure(why);
      std::fflush(nullptr);
      std::exit(1);
    }
  }
  return *chosen;
}

}  // namespace

void report_open_failure(const char* why) {
  std::fprintf(stderr, "cannot open a window: %s\n", why);
  // Said to someone who typed the program's name in a terminal without a desktop: what works.
  if (std::strcmp(why, "no display") == 0) {
    std::fputs(
        "without a display, run it headless with easel-run (see docs/API.md), on a virtual "
        "display with xvfb-run, or as a page in the browser (make web)\n",
        stderr);
  }
}

bool select(const char* name) {
  const HostDriver* driver = name != nullptr ? find_driver(name) : nullptr;
  if (driver == nullptr || (chosen != nullptr && chosen != driver && opened)) return false;
  chosen = driver;
  picked_in_process = true;
  return true;
}

const char* driver_name() {
  const HostDriver* driver = choose(nullptr);
  return driver != nullptr ? driver->name : nullptr;
}

bool open(const char** why) {
  if (choose(why) == nullptr) return false;
  if (opened) return true;
  opened = chosen->open(why);
  return opened;
}

void screen_size(int* width, int* height) {
  active().screen_size(width, height);
}

int create_window(const char* title, int x, int y, int width, int height, bool resizable) {
  return active().create_window(title, x, y, width, height, resizable);
}

void show_window(int id, bool show) {
  active().show_window(id, show);
}

void destroy_window(int id) {
  active().destroy_window(id);
}

void present(int id, const uint32_t* pixels, int width, int height) {
  active().present(id, pixels, width, height);
}

bool lend_frame(int id, const uint32_t* pixels, int width, int height) {
  const HostDriver& driver = active();
  if (driver.lend_frame == nullptr || driver.reclaim_frame == nullptr) return false;
  driver.lend_frame(id, pixels, width, height);
  return true;
}

void reclaim_frame(int id) {
  const HostDriver& driver = active();
  if (driver.reclaim_frame != nullptr) driver.reclaim_frame(id);
}

uint64_t now_ms() {
  return active().now_ms();
}

bool next_input(InputEvent* event) {
  return active().next_input(event);
}

void wait(uint64_t deadline) {
  active().wait(deadline);
}

void take_turn() {
  const HostDriver& driver = active();
  if (driver.take_turn != nullptr) driver.take_turn();
}

}  // namespace host
