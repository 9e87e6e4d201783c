// The browser host, the host table's "web" driver (built only with emscripten): the window
// system's windows drawn into canvases on the page, the browser's clock, and input from the
// page's mouse and key events. The page side lives in web_host.js;
// these functions are the C++ half of the door. The wait suspends the program (ASYNCIFY) on a
// promise that the next input or the deadline resolves, so an idle page runs no code at all.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "hosts/host.h"

namespace {

// The input record that the page fills for each input (web_host.js take()): one number per
// field, in this order. The page learns the order, and the names and numbers of the input kinds
// and modifier bits, from here when the host opens, so that both sides are built from these
// lists.
// clang-format off
#define WEB_INPUT_FIELDS(FIELD) \
  FIELD(kind) FIELD(window) FIELD(x) FIELD(y) FIELD(button) FIELD(vk) FIELD(scan) FIELD(mods) \
  FIELD(ch) FIELD(width) FIELD(height) FIELD(time) FIELD(extended)
// clang-format on

enum InputField {
#define WEB_INPUT_FIELD_ENUM(name) FIELD_##name,
  WEB_INPUT_FIELDS(WEB_INPUT_FIELD_ENUM)
#undef WEB_INPUT_FIELD_ENUM
      FIELD_COUNT
};

#define WEB_NAME_OF(name) #name " "
constexpr char FIELD_NAMES[] = WEB_INPUT_FIELDS(WEB_NAME_OF);
constexpr char KIND_NAMES[] = HOST_INPUT_KINDS(WEB_NAME_OF);
#undef WEB_NAME_OF
#define WEB_COUNT_KIND(name) +1
constexpr int KIND_COUNT = 0 HOST_INPUT_KINDS(WEB_COUNT_KIND);
#undef WEB_COUNT_KIND

// The page's half, reached through Module.easelHost (web_host.js).
EM_JS(int, js_open, (const char* fields, const char* kinds, int shift, int ctrl, int alt), {
  const host = Module.easelHost;
  return host.open(host.latin1(fields), host.latin1(kinds), shift, ctrl, alt) ? 1 : 0;
});
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
// Fills the FIELD_COUNT numbers of one input record; 0 when there is none.
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

// Puts every pending frame on its canvas; called as the program starts to wait or takes a
// turn, when every changed window has just been presented.
void show_pending_frames() {
  for (const auto& [id, frame] : pending()) {
    if (frame.lent != nullptr) convert(id, frame.lent, frame.width, frame.height);
    show_picture(id);
  }
  pending().clear();
}

// A number of the page's record as an int: held to int's range (a double beyond it does not
// convert), 0 for one that is no number.
int whole(double value) {
  if (!(value == value)) return 0;
  return int(std::clamp(value, double(INT32_MIN), double(INT32_MAX)));
}

}  // namespace

namespace web_host {

using host::InputEvent;
using host::InputKind;
using host::NO_DEADLINE;

bool open(const char** why) {
  if (opened) return true;
  if (js_open(FIELD_NAMES, KIND_NAMES, int(host::MOD_SHIFT), int(host::MOD_CTRL),
              int(host::MOD_ALT)) == 0) {
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

namespace {

// A frame shown: lent (the window's own pixels, pointed at until reclaim_frame) or converted now.
void show_frame(int id, const uint32_t* pixels, int width, int height, bool lend) {
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
  frame.lent = lend ? pixels : nullptr;
  // Anything else (a menu drawn over the window) is a buffer of the moment: converted now.
  if (!lend) convert(id, pixels, width, height);
}

}  // namespace

void present(int id, const uint32_t* pixels, int width, int height) {
  show_frame(id, pixels, width, height, false);
}

void lend_frame(int id, const uint32_t* pixels, int width, int height) {
  show_frame(id, pixels, width, height, true);
}

// The window's pixels are about to change: a frame lent from them is superseded by the present
// that follows the change.
void reclaim_frame(int id) {
  auto it = pending().find(id);
  if (it != pending().end() && it->second.lent != nullptr) pending().erase(it);
}

uint64_t now_ms() {
  if (!opened) return 0;
  const double now = js_now();
  return now > 0 ? uint64_t(std::floor(now)) : 0;
}

bool next_input(InputEvent* event) {
  if (!opened || event == nullptr) return false;
  double record[FIELD_COUNT];
  for (;;) {
    if (js_take_input(record) == 0) return false;
    const double kind = record[FIELD_kind];
    if (kind >= 0 && kind < KIND_COUNT) break;  // a record of no kind is dropped
  }
  *event = InputEvent{};
  event->kind = InputKind(int(record[FIELD_kind]));
  event->window = whole(record[FIELD_window]);
  event->x = whole(record[FIELD_x]);
  event->y = whole(record[FIELD_y]);
  event->button = whole(record[FIELD_button]);
  event->vk = unsigned(whole(record[FIELD_vk]));
  event->scan = unsigned(whole(record[FIELD_scan]));
  event->mods = unsigned(whole(record[FIELD_mods]));
  event->ch = whole(record[FIELD_ch]);
  event->width = whole(record[FIELD_width]);
  event->height = whole(record[FIELD_height]);
  const double time = record[FIELD_time];
  event->time = time > 0 && time < 1e18 ? uint64_t(time) : 0;
  event->extended = record[FIELD_extended] != 0;
  return true;
}

void wait(uint64_t deadline) {
  if (!opened) return;
  show_pending_frames();
  js_wait(deadline == NO_DEADLINE ? -1.0 : double(deadline));
}

// The page's input arrives only while the browser runs, which it does only while the program is
// suspended. A program that looks for input without ever waiting (a script played back takes
// its events from the file) lets the page have a turn every few frames' time, with the frames so
// far shown: the page keeps answering, and a Ctrl key or the close box reaches the program as it
// does on the desktop.
void take_turn() {
  if (!opened || js_turn_due() == 0) return;
  show_pending_frames();
  js_take_turn();
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
    web_host::lend_frame,
    web_host::reclaim_frame,
    web_host::now_ms,
    web_host::next_input,
    web_host::wait,
    web_host::take_turn,
};
