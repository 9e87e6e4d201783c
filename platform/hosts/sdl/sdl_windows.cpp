// Native windows of the SDL host: one SDL window per top-level window, placed and sized in device
// pixels times the desktop's scale, and the presenting of a window's framebuffer: one copy into
// the window's surface (a shared-memory image on X11), with sharp pixels where it is scaled.
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "hosts/sdl/sdl_host.h"

namespace sdl_host {

namespace {

std::map<int, std::unique_ptr<NativeWindow>>& windows() {
  static std::map<int, std::unique_ptr<NativeWindow>> all;
  return all;
}

int next_id = 1;

// Titles come as Latin-1 (Win32's ANSI code page); SDL takes UTF-8.
std::string utf8_from_latin1(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p < 0x80) {
      out += char(*p);
    } else {
      out += char(0xC0 | (*p >> 6));
      out += char(0x80 | (*p & 0x3F));
    }
  }
  return out;
}

// The largest window SDL is asked for, in desktop pixels, and the largest picture shown.
constexpr int MAX_EXTENT = 16384;

// A program coordinate on the desktop: scaled and offset, clamped to what SDL takes.
int desktop_coordinate(int value, int scale, int offset) {
  const int64_t v = int64_t(value) * scale + offset;
  return int(std::clamp<int64_t>(v, -MAX_EXTENT, MAX_EXTENT));
}

int desktop_extent(int value, int scale) {
  const int64_t v = int64_t(value) * scale;
  return int(std::clamp<int64_t>(v, 1, MAX_EXTENT));
}

}  // namespace

NativeWindow* find_window(int id) {
  auto it = windows().find(id);
  return it == windows().end() ? nullptr : it->second.get();
}

int window_from_sdl(uint32_t sdl_window_id) {
  SDL_Window* window = SDL_GetWindowFromID(sdl_window_id);
  if (window == nullptr) return 0;
  for (const auto& [id, native] : windows()) {
    if (native->window == window) return id;
  }
  return 0;
}

int create_window(const char* title, int x, int y, int width, int height, bool resizable) {
  const Desktop& d = desktop();
  if (!d.open || width <= 0 || height <= 0) return 0;
  const int s = d.scale;
  const int left = desktop_coordinate(x, s, d.usable.x);
  const int top = desktop_coordinate(y, s, d.usable.y);
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (resizable) flags |= SDL_WINDOW_RESIZABLE;
  const std::string name = utf8_from_latin1(title);
  auto native = std::make_unique<NativeWindow>();
  native->window = SDL_CreateWindow(name.c_str(), left, top, desktop_extent(width, s),
                                    desktop_extent(height, s), flags);
  if (native->window == nullptr) {
    report("cannot create a window");
    return 0;
  }
  native->id = next_id++;
  const int id = native->id;
  windows()[id] = std::move(native);
  return id;
}

void show_window(int id, bool show) {
  NativeWindow* native = find_window(id);
  if (native == nullptr) return;
  if (show) {
    SDL_ShowWindow(native->window);
  } else {
    SDL_HideWindow(native->window);
  }
}

void destroy_window(int id) {
  auto& all = windows();
  auto it = all.find(id);
  if (it == all.end()) return;
  NativeWindow& native = *it->second;
  SDL_DestroyWindow(native.window);
  all.erase(it);
  // Input of the window that is still queued now names a window that is gone.
  auto& ready = desktop().ready;
  ready.erase(std::remove_if(ready.begin(), ready.end(),
                             [id](const InputEvent& event) { return event.window == id; }),
              ready.end());
}

void present(int id, const uint32_t* pixels, int width, int height) {
  NativeWindow* native = find_window(id);
  if (native == nullptr || pixels == nullptr || width <= 0 || height <= 0 || width > MAX_EXTENT ||
      height > MAX_EXTENT) {
    return;
  }
  // The surface follows the window's size; SDL makes it again after a resize.
  SDL_Surface* target = SDL_GetWindowSurface(native->window);
  SDL_Surface* source =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                         width * int(sizeof(uint32_t)), SDL_PIXELFORMAT_RGB888);
  bool shown = target != nullptr && source != nullptr;
  if (shown) {
    const int s = pixel_scale(*native, target->w);
    SDL_Rect area = {0, 0, width * s, height * s};
    // Whatever the picture does not cover (a window being resized) is white, like the
    // windows' own background.
    if (area.w < target->w || area.h < target->h) {
      SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 255, 255, 255));
    }
    shown = (s == 1 ? SDL_BlitSurface(source, nullptr, target, &area)
                    : SDL_BlitScaled(source, nullptr, target, &area)) == 0 &&
            SDL_UpdateWindowSurface(native->window) == 0;
  }
  if (source != nullptr) SDL_FreeSurface(source);
  if (!shown && !native->reported_failure) {
    report("cannot show a window's picture");
    native->reported_failure = true;
  }
}

}  // namespace sdl_host
