// The browser host, the host table's "web" driver (built only with emscripten): the window
// system's windows drawn into canvases on the page, the browser's clock, and input from the
// page's mouse and key events. The page side lives in web_host.js;
// these functions are the C++ half of the door. The wait suspends the program (ASYNCIFY) on a
// promise that the next input or the deadline resolves, so an idle page runs no code at all;
// a program that runs on without waiting is suspended for one turn of the page now and then.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "hosts/host.h"
#include "hosts/host_door.h"

namespace {

// The page's half, reached through Module.easelHost (web_host.js).
EM_JS(int, js_open, (), { return Module.easelHost.open() ? 1 : 0; });
EM_JS(int, js_create_window, (const char* title, int x, int y, int width, int height), {
  return Module.easelHost.createWindow(Module.easelHost.latin1(title), x, y, width, height);
});
EM_JS(void, js_show_window, (int id, int show), { Module.easelHost.showWindow(id, show != 0); });
EM_JS(void, js_destroy_window, (int id), { Module.easelHost.destroyWindow(id); });
// Rows [top, bottom) changed since the window's canvas was last drawn.
EM_JS(void, js_present, (int id, const uint8_t* rgba, int width, int height, int top, int bottom),
      { Module.easelHost.present(id, rgba, width, height, top, bottom); });
EM_JS(int, js_observed, (), { return Module.easelHost.onPresent ? 1 : 0; });
EM_JS(double, js_now, (), { return Module.easelHost.now(); });
// Fills the twelve numbers of one input record; 0 when there is none.
EM_JS(int, js_take_input, (double* out), { return Module.easelHost.take(out) ? 1 : 0; });
EM_ASYNC_JS(void, js_wait, (double deadline), { await Module.easelHost.wait(deadline); });
// Whether the program has run long enough since the page last had the browser, and one turn of
// the browser's event loop for the page.
EM_JS(int, js_turn_due, (), { return Module.easelHost.turnDue() ? 1 : 0; });
EM_ASYNC_JS(void, js_take_turn, (), { await Module.easelHost.takeTurn(); });

// The screen the window system lays its windows out on: the log window takes its lower third.
constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;

bool opened = false;

// Per window, the picture in the canvas's byte order (R, G, B, A), kept between frames so that
// presenting allocates nothing, and the band of rows that changed since it was last shown: only
// those go to the canvas (a game frame moves a few figures; the canvas copy is the page's
// costliest step).
struct Picture {
  std::vector<uint32_t> rgba;
  int width = 0;
  int height = 0;
  int changed_top = 0;  // changed rows: [changed_top, changed_bottom)
  int changed_bottom = 0;
};

std::map<int, Picture>& pictures() {
  static std::map<int, Picture> all;
  return all;
}

// A frame presented but not yet put on its canvas. The page shows nothing new until the program
// waits, so only the last frame before a wait is worth the conversion and the canvas: a program
// that draws many frames in one run (a script playing) pays for one. A frame of the window's own
// pixels is only pointed at; the core announces before those pixels change, and every changed
// window is presented again before the program waits.
struct PendingFrame {
  const uint32_t* lent = nullptr;  // the window's own pixels, or null: converted already
  int width = 0;
  int height = 0;
  // The window's own pixels changed after this frame: it is presented again before the
  // program waits, but a turn of the page (next_input) may come first and shows them as they
  // stand.
  bool changed = false;
};

std::map<int, PendingFrame>& pending() {
  static std::map<int, PendingFrame> all;
  return all;
}

// 0x00RRGGBB to the bytes R, G, B, 255 of a little-endian word, noting the rows that change.
void convert(int id, const uint32_t* pixels, int width, int height) {
  Picture& picture = pictures()[id];
  const size_t row = size_t(width);
  if (picture.width != width || picture.height != height) {
    picture.rgba.assign(row * size_t(height), 0);
    picture.width = width;
    picture.height = height;
    picture.changed_top = 0;
    picture.changed_bottom = height;
  }
  int top = height, bottom = 0;  // the rows this frame changes
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = pixels + size_t(y) * row;
    uint32_t* out = picture.rgba.data() + size_t(y) * row;
    uint32_t difference = 0;
    for (size_t x = 0; x < row; ++x) {
      const uint32_t p = in[x];
      const uint32_t v = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
      difference |= out[x] ^ v;
      out[x] = v;
    }
    if (difference != 0) {
      top = std::min(top, y);
      bottom = y + 1;
    }
  }
  if (top >= bottom) return;
  const bool none_yet = picture.changed_top >= picture.changed_bottom;
  picture.changed_top = none_yet ? top : std::min(picture.changed_top, top);
  picture.changed_bottom = std::max(picture.changed_bottom, bottom);
}

void show_picture(int id) {
  Picture& picture = pictures()[id];
  js_present(id, reinterpret_cast<const uint8_t*>(picture.rgba.data()), picture.width,
             picture.height, picture.changed_top, picture.changed_bottom);
  picture.changed_top = picture.changed_bottom = 0;
}

// The window's pixels are about to change: a frame lent from them is superseded by the present
// that follows the change (a frame of the moment, a menu drawn over the window, stays).
void note_window_change(int id) {
  PendingFrame& frame = pending()[id];
  if (frame.lent != nullptr || frame.width == 0) frame = PendingFrame{nullptr, 0, 0, true};
}

// The window's own pixels as they stand, asked of the core afresh (they may have moved).
bool current_pixels(int id, PendingFrame* frame) {
  RECT outer{};
  frame->lent = plat::window_own_pixels(id);
  if (frame->lent == nullptr ||
      !plat::window_surface(plat::window_from_host(id), nullptr, &outer)) {
    return false;
  }
  frame->width = outer.right;
  frame->height = outer.bottom;
  return frame->width > 0 && frame->height > 0;
}

// Puts every pending frame on its canvas; called as the program starts to wait (when every
// window changed has been presented again) or takes a turn (when the windows changed since
// their last present are shown as they stand).
void show_pending_frames(bool turn) {
  for (auto& [id, frame] : pending()) {
    if (frame.changed && (!turn || !current_pixels(id, &frame))) continue;
    if (frame.lent != nullptr) convert(id, frame.lent, frame.width, frame.height);
    show_picture(id);
  }
  pending().clear();
}

}  // namespace

namespace web_host {

using host::InputEvent;
using host::InputKind;
using host::NO_DEADLINE;

bool open(const char** why) {
  if (opened) return true;
  if (js_open() == 0) {
    if (why != nullptr) *why = "no page to draw on";
    return false;
  }
  opened = true;
  return true;
}

void screen_size(int* width, int* height) {
  if (width != nullptr) *width = opened ? SCREEN_WIDTH : 0;
  if (height != nullptr) *height = opened ? SCREEN_HEIGHT : 0;
}

int create_window(const char* title, int x, int y, int width, int height, bool /*resizable*/) {
  if (!opened || width <= 0 || height <= 0) return 0;
  return js_create_window(title != nullptr ? title : "", x, y, width, height);
}

void show_window(int id, bool show) {
  js_show_window(id, show ? 1 : 0);
}

void destroy_window(int id) {
  pending().erase(id);
  pictures().erase(id);
  js_destroy_window(id);
}

void present(int id, const uint32_t* pixels, int width, int height) {
  // Canvases take at most 16384 pixels a side in every browser.
  constexpr int MAX_EXTENT = 16384;
  if (pixels == nullptr || width <= 0 || height <= 0 || width > MAX_EXTENT || height > MAX_EXTENT) {
    return;
  }
  // An observer of the page (the browser tests) sees every frame as it is presented.
  if (js_observed() != 0) {
    pending().erase(id);
    convert(id, pixels, width, height);
    show_picture(id);
    return;
  }
  PendingFrame& frame = pending()[id];
  frame.width = width;
  frame.height = height;
  frame.changed = false;
  if (pixels == plat::window_own_pixels(id)) {
    frame.lent = pixels;
    plat::before_window_change = note_window_change;
  } else {
    // Anything else (a menu drawn over the window) is a buffer of the moment: converted now.
    frame.lent = nullptr;
    convert(id, pixels, width, height);
  }
}

uint64_t now_ms() {
  if (!opened) return 0;
  const double now = js_now();
  return now > 0 ? uint64_t(std::floor(now)) : 0;
}

bool next_input(InputEvent* event) {
  if (!opened || event == nullptr) return false;
  // The page's input arrives only while the browser runs, which it does only while the program
  // is suspended. A program that looks for input without ever waiting (a script played back
  // takes its events from the file) lets the page have a turn every few frames' time, with the
  // frames so far shown: the page keeps answering, and a Ctrl key or the close box reaches the
  // program as it does on the desktop.
  if (js_turn_due() != 0) {
    show_pending_frames(true);
    js_take_turn();
  }
  double record[13];
  if (js_take_input(record) == 0) return false;
  *event = InputEvent{};
  event->kind = InputKind(int(record[0]));
  event->window = int(record[1]);
  event->x = int(record[2]);
  event->y = int(record[3]);
  event->button = int(record[4]);
  event->vk = unsigned(record[5]);
  event->scan = unsigned(record[6]);
  event->mods = unsigned(record[7]);
  event->ch = int(record[8]);
  event->width = int(record[9]);
  event->height = int(record[10]);
  event->time = record[11] > 0 ? uint64_t(record[11]) : 0;
  event->extended = record[12] != 0;
  return true;
}

void wait(uint64_t deadline) {
  if (!opened) return;
  show_pending_frames(false);
  js_wait(deadline == NO_DEADLINE ? -1.0 : double(deadline));
}

}  // namespace web_host

const host::HostDriver host::web_driver = {
    "web",
    web_host::open,
    web_host::screen_size,
    web_host::create_window,
    web_host::show_window,
    web_host::destroy_window,
    web_host::present,
    web_host::now_ms,
    web_host::next_input,
    web_host::wait,
};
