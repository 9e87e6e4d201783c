// Input scheduled at virtual times: clicks at client or window points, keys with the characters
// they produce, Ctrl combinations, text without a key press, close requests and actions. Keys
// get the virtual-key code a desktop would report and a scan code that is stable per key.
#include <cctype>
#include <map>
#include <string>
#include <utility>

#include "hosts/headless/headless_state.h"
#include "src/testing_door.h"
#include "testing/host_windows.h"
#include "testing/raw_input.h"

using namespace headless;

int headless::host_window_id(const char* title) {
  HostState& s = state();
  if (!title) {
    HWND focus = plat::focus_window();
    for (auto& [id, w] : s.windows)
      if (focus && plat::window_from_host(id) == focus) return id;
    return 0;
  }
  for (auto& [id, w] : s.windows)
    if (w.title == title) return id;
  return 0;
}

namespace {

host::InputEvent event_of(host::InputKind kind) {
  host::InputEvent ev{};
  ev.kind = kind;
  return ev;
}

// The USB HID usage (the one scan numbering of every host) of the keys that have a virtual-key
// code here, as a US keyboard places them.
unsigned usb_scan_code(unsigned vk) {
  static const std::map<unsigned, unsigned> codes = [] {
    std::map<unsigned, unsigned> m;
    for (unsigned i = 0; i < 26; ++i) m['A' + i] = 0x04 + i;
    for (unsigned d = 1; d <= 9; ++d) m['0' + d] = 0x1E + d - 1;
    m['0'] = 0x27;
    for (unsigned f = 0; f < 12; ++f) m[VK_F1 + f] = 0x3A + f;
    const std::pair<unsigned, unsigned> named[] = {
        {VK_RETURN, 0x28}, {VK_ESCAPE, 0x29}, {VK_BACK, 0x2A}, {VK_TAB, 0x2B},
        {VK_SPACE, 0x2C},  {VK_INSERT, 0x49}, {VK_HOME, 0x4A}, {VK_PRIOR, 0x4B},
        {VK_DELETE, 0x4C}, {VK_END, 0x4D},    {VK_NEXT, 0x4E}, {VK_RIGHT, 0x4F},
        {VK_LEFT, 0x50},   {VK_DOWN, 0x51},   {VK_UP, 0x52},   {VK_CONTROL, 0xE0},
        {VK_SHIFT, 0xE1},  {VK_MENU, 0xE2},
    };
    for (const auto& [key, code] : named) m[key] = code;
    return m;
  }();
  auto it = codes.find(vk);
  return it == codes.end() ? 0 : it->second;
}

// A scan code for the key: its usage, or for other keys (and characters without a virtual-key
// code) one of the usages that name no key (0xA5-0xDF), each kept for its key.
unsigned scan_code(unsigned vk, int ch) {
  if (unsigned code = usb_scan_code(vk)) return code;
  HostState& s = state();
  unsigned key = vk ? vk : 0x10000u | unsigned(ch & 0xFF);
  auto it = s.spare_scan_codes.find(key);
  if (it != s.spare_scan_codes.end()) return it->second;
  unsigned code = s.next_spare_scan;
  s.next_spare_scan = s.next_spare_scan == LAST_SPARE_SCAN ? FIRST_SPARE_SCAN : code + 1;
  s.spare_scan_codes[key] = code;
  return code;
}

unsigned vk_of_character(int ch) {
  if (ch >= 'a' && ch <= 'z') return unsigned(ch - 'a' + 'A');
  if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return unsigned(ch);
  switch (ch) {
    case 13:
      return VK_RETURN;
    case 9:
      return VK_TAB;
    case 8:
      return VK_BACK;
    case 27:
      return VK_ESCAPE;
    case ' ':
      return VK_SPACE;
    default:
      return 0;
  }
}

host::InputEvent key_event(host::InputKind kind, unsigned vk, int ch, unsigned mods) {
  host::InputEvent ev = event_of(kind);
  ev.vk = vk;
  ev.scan = scan_code(vk, ch);
  ev.ch = kind == host::InputKind::KEY_DOWN ? ch : 0;
  ev.mods = mods;
  return ev;
}

// Events for a window named by title (null: the focus), handed to the host when the clock
// reaches their time, addressed to the window the name means then; dropped when there is none.
void schedule_events(uint64_t at, const char* window, std::vector<host::InputEvent> events,
                     bool client_points = false) {
  const bool to_focus = window == nullptr;
  std::string title = window ? window : "";
  schedule(at, [to_focus, title, events = std::move(events), client_points](uint64_t due) {
    int id = host_window_id(to_focus ? nullptr : title.c_str());
    if (id == 0) return;
    int dx = 0, dy = 0;
    RECT client{};
    if (client_points && plat::window_surface(plat::window_from_host(id), nullptr, &client)) {
      dx = client.left;
      dy = client.top;
    }
    for (host::InputEvent ev : events) {
      ev.window = id;
      ev.time = due;
      ev.x += dx;
      ev.y += dy;
      state().ready.push_back(ev);
    }
  });
}

host::InputEvent button(host::InputKind kind, int x, int y) {
  host::InputEvent ev = event_of(kind);
  ev.x = x;
  ev.y = y;
  ev.button = 1;
  return ev;
}

void click(uint64_t at, const char* window, int x, int y, bool client_points) {
  schedule_events(
      at, window,
      {button(host::InputKind::MOUSE_DOWN, x, y), button(host::InputKind::MOUSE_UP, x, y)},
      client_points);
}

// A modifier held around a letter key: modifier down, letter down (making ch), letter up,
// modifier up, all at `at`.
void chord(uint64_t at, const char* window, unsigned modifier, unsigned mods, char letter, int ch) {
  const unsigned vk = vk_of_character(static_cast<unsigned char>(letter));
  using host::InputKind;
  schedule_events(
      at, window,
      {key_event(InputKind::KEY_DOWN, modifier, 0, mods),
       key_event(InputKind::KEY_DOWN, vk, ch, mods), key_event(InputKind::KEY_UP, vk, ch, mods),
       key_event(InputKind::KEY_UP, modifier, 0, 0)});
}

}  // namespace

void headless_click(uint64_t at, const char* window, int client_x, int client_y) {
  click(at, window, client_x, client_y, true);
}

void headless_window_click(uint64_t at, const char* window, int x, int y) {
  click(at, window, x, y, false);
}

void headless_menu_click(uint64_t at, const char* window, int x) {
  click(at, window, x, plat::MENU_BAR_HEIGHT / 2, false);
}

void headless_key(uint64_t at, const char* window, unsigned vk, int ch) {
  schedule_events(at, window,
                  {key_event(host::InputKind::KEY_DOWN, vk, ch, 0),
                   key_event(host::InputKind::KEY_UP, vk, ch, 0)});
}

void headless_type(uint64_t at, const char* window, int ch) {
  headless_key(at, window, vk_of_character(ch), ch);
}

void headless_key_down(uint64_t at, const char* window, unsigned vk, int ch) {
  schedule_events(at, window, {key_event(host::InputKind::KEY_DOWN, vk, ch, 0)});
}

void headless_key_up(uint64_t at, const char* window, unsigned vk) {
  schedule_events(at, window, {key_event(host::InputKind::KEY_UP, vk, 0, 0)});
}

void headless_ctrl_key(uint64_t at, const char* window, char letter) {
  // The layout's text, as a host reports it: the window system makes Ctrl+letter's character.
  const int ch = std::tolower(static_cast<unsigned char>(letter));
  chord(at, window, VK_CONTROL, host::MOD_CTRL, letter, ch);
}

void headless_alt_key(uint64_t at, const char* window, char letter) {
  const int ch = std::isalpha(static_cast<unsigned char>(letter)) ? (letter | 32) : 0;
  chord(at, window, VK_MENU, host::MOD_ALT, letter, ch);
}

void headless_text(uint64_t at, const char* window, int ch) {
  host::InputEvent ev = event_of(host::InputKind::TEXT);
  ev.ch = ch;
  schedule_events(at, window, {ev});
}

void headless_close_request(uint64_t at, const char* window) {
  schedule_events(at, window, {event_of(host::InputKind::CLOSE)});
}

void headless_at(uint64_t at, std::function<void()> action) {
  schedule(at, [action = std::move(action)](uint64_t) {
    if (action) action();
  });
}

int headless_pending_input() {
  return int(state().schedule.size() + state().ready.size());
}

void headless_raw_input(uint64_t at, const char* window, const host::InputEvent& event) {
  schedule_events(at, window, {event});
}
