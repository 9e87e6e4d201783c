// The desktop's scale. An X11 session asks for one through GDK_SCALE or its Xft.dpi resource
// (192 is twice the 96 of scale 1); the host then places and sizes windows in device pixels
// times that scale and divides mouse positions by it. Desktops that scale windows themselves
// (Wayland, macOS) give a window's surface more pixels than its size instead.
#include <cstdlib>
#include <cstring>

#include "hosts/sdl/sdl_host.h"

namespace sdl_host {

namespace {

// A scale never leaves programs a screen smaller than this (in device pixels): what a windowed
// program of this era may expect to fit.
constexpr int MIN_SCREEN_WIDTH = 800;
constexpr int MIN_SCREEN_HEIGHT = 600;

// The session's resource database, read through Xlib, which SDL loads at run time too (so the
// host needs no Xlib of its own at link time).
int x11_resource_scale() {
  void* xlib = SDL_LoadObject("libX11.so.6");
  if (xlib == nullptr) return 1;
  using OpenDisplay = void* (*)(const char*);
  using ResourceString = char* (*)(void*);
  using CloseDisplay = int (*)(void*);
  auto open_display = reinterpret_cast<OpenDisplay>(SDL_LoadFunction(xlib, "XOpenDisplay"));
  auto resource_string =
      reinterpret_cast<ResourceString>(SDL_LoadFunction(xlib, "XResourceManagerString"));
  auto close_display = reinterpret_cast<CloseDisplay>(SDL_LoadFunction(xlib, "XCloseDisplay"));
  int scale = 1;
  if (open_display != nullptr && resource_string != nullptr && close_display != nullptr) {
    if (void* display = open_display(nullptr)) {
      scale = scale_from_resources(resource_string(display));
      close_display(display);
    }
  }
  SDL_UnloadObject(xlib);
  return scale;
}

}  // namespace

int scale_from_resources(const char* resources) {
  static const char NAME[] = "Xft.dpi:";
  for (const char* line = resources; line != nullptr && *line != 0;) {
    if (std::strncmp(line, NAME, sizeof NAME - 1) == 0) {
      const double dpi = std::strtod(line + sizeof NAME - 1, nullptr);
      // Whole numbers only: 1.5 times stays at 1, where everything fits.
      const int scale = dpi >= 96 && dpi < 96 * 16 ? int(dpi / 96 + 0.05) : 1;
      return scale < 1 ? 1 : scale;
    }
    line = std::strchr(line, '\n');
    if (line != nullptr) ++line;
  }
  return 1;
}

int desktop_scale(const SDL_Rect& usable) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return 1;
  int scale = 1;
  const char* gdk = SDL_getenv("GDK_SCALE");
  if (gdk != nullptr && *gdk != 0) {
    scale = std::atoi(gdk);
  } else {
    scale = x11_resource_scale();
  }
  scale = scale < 1 ? 1 : scale > 8 ? 8 : scale;
  while (scale > 1 && (usable.w / scale < MIN_SCREEN_WIDTH || usable.h / scale < MIN_SCREEN_HEIGHT))
    --scale;
  return scale;
}

int pixel_scale(const NativeWindow& window, int surface_width) {
  int units_w = 0, units_h = 0;
  SDL_GetWindowSize(window.window, &units_w, &units_h);
  const int ratio = units_w > 0 ? surface_width / units_w : 1;
  return desktop().scale * (ratio > 1 ? ratio : 1);
}

}  // namespace sdl_host
