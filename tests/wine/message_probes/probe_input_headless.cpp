// Our side of the probes' input: the headless host's scheduled input, due at the current
// virtual time, so the next look at the queue finds it.
#include <string>

#include "platform/headless.h"
#include "probe_input.h"

namespace {
std::string title_of(HWND hwnd) {
  (void)hwnd;
  return "Probe";
}
}  // namespace

void probe_start(void) {
  headless_reset();
}

void probe_key(HWND hwnd, unsigned vk, int ch, int down) {
  if (down)
    headless_key_down(headless_now(), title_of(hwnd).c_str(), vk, ch);
  else
    headless_key_up(headless_now(), title_of(hwnd).c_str(), vk);
}

void probe_click(HWND hwnd, int x, int y) {
  headless_click(headless_now(), title_of(hwnd).c_str(), x, y);
}

void probe_menu_click(HWND hwnd, int x) {
  headless_menu_click(headless_now(), title_of(hwnd).c_str(), x);
}
