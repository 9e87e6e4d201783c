// The SDL desktop host: start-up, the screen, the clock and the wait for input. The wait sleeps
// in SDL_WaitEventTimeout up to the next deadline, so an idle program uses no CPU; the input it
// wakes with is kept for next_input.
#include <cstdio>
#include <cstring>

#include "hosts/sdl/sdl_host.h"

namespace sdl_host {

Desktop& desktop() {
  static Desktop state;
  return state;
}

void report(const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, SDL_GetError());
}

bool open(const char** why) {
  Desktop& d = desktop();
  if (d.open) return true;
  // SDL's own reason, kept past SDL_Quit, which clears it.
  static char reason[256];
  const auto fail = [why](const char* text) {
    std::snprintf(reason, sizeof reason, "%s", text);
    if (why != nullptr) *why = reason;
    return false;
  };
  // The program ends on its own terms: Ctrl+C in a terminal must still stop it, so SDL must not
  // turn signals into quit events, which this host ignores.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A windowed program leaves the screen saver and the compositor alone.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A desktop only: without one SDL could take over a text console (KMS/DRM) instead of failing,
  // and the Wayland library would print its own complaint. SDL_VIDEODRIVER in the environment
  // still wins.
  if (SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
    const bool x11 = SDL_getenv("DISPLAY") != nullptr;
    // A Wayland socket name is found in XDG_RUNTIME_DIR; a path names the socket itself.
    const char* socket = SDL_getenv("WAYLAND_DISPLAY");
    const bool wayland = socket != nullptr && (socket[0] == '/' || SDL_getenv("XDG_RUNTIME_DIR"));
    if (!x11 && !wayland) return fail("no display");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 && wayland ? "x11,wayland" : x11 ? "x11" : "wayland");
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail(SDL_GetError());
  d.start_ticks = SDL_GetTicks64();
  if (SDL_GetDisplayUsableBounds(0, &d.usable) != 0 || d.usable.w <= 0 || d.usable.h <= 0) {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
      fail(SDL_GetError());
      SDL_Quit();
      return false;
    }
    d.usable = {0, 0, mode.w, mode.h};
  }
  d.scale = desktop_scale(d.usable);
  // On X11 a window's surface is a shared-memory image that the server shows as it is; SDL's
  // default puts an OpenGL texture behind it, which costs a GL context and, without a GPU,
  // a software rasteriser's threads.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  // Characters come as text events, after the user's layout and input method made them.
  SDL_StartTextInput();
  d.open = true;
  return true;
}

void screen_size(int* width, int* height) {
  const Desktop& d = desktop();
  if (width != nullptr) *width = d.open ? d.usable.w / d.scale : 0;
  if (height != nullptr) *height = d.open ? d.usable.h / d.scale : 0;
}

uint64_t now_ms() {
  const Desktop& d = desktop();
  if (!d.open) return 0;
  return SDL_GetTicks64() - d.start_ticks;
}

void wait(uint64_t deadline) {
  Desktop& d = desktop();
  if (!d.open || translate_pending()) return;
  // SDL's own timeout and SDL_GetTicks64 do not always agree to the millisecond (the tick count
  // can lag the timeout's clock by one), so the wait sleeps again for what is left until this
  // host's clock has reached the deadline; and an SDL event that is no input for the window
  // system (a window event of no interest) does not end it either. So the wait returns at or
  // after the deadline unless input arrived.
  SDL_Event event;
  for (;;) {
    int got = 0;
    if (deadline == NO_DEADLINE) {
      got = SDL_WaitEvent(&event);
      if (got != 1) return;  // SDL failed: the caller polls again rather than hang
    } else {
      const uint64_t now = now_ms();
      if (deadline <= now) return;
      const uint64_t left = deadline - now;
      got = SDL_WaitEventTimeout(&event, left > INT32_MAX ? INT32_MAX : int(left));
    }
    if (got == 1) {
      d.held.push_back(event);
      if (translate_pending()) return;
    }
  }
}

}  // namespace sdl_host

const host::HostDriver host::sdl_driver = {
    "sdl",
    sdl_host::open,
    sdl_host::screen_size,
    sdl_host::create_window,
    sdl_host::show_window,
    sdl_host::destroy_window,
    sdl_host::present,
    nullptr,  // copies every frame to its window's texture: lends nothing
    nullptr,
    sdl_host::now_ms,
    sdl_host::next_input,
    sdl_host::wait,
    nullptr,  // SDL's events queue up while the program runs; every look for input takes them
};
