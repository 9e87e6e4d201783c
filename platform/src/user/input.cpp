// Raw host input turned into window messages: mouse buttons in the client area, keys to the
// focus window (Alt, Alt+key and F10 as system keys), text without a key press, close requests,
// exposure, resizing and focus. The rules every host shares live here and nowhere else: the
// modifier state, the characters that keys make whatever the layout (Enter, Tab, Backspace, Esc,
// Ctrl+letter), and the merging of mouse moves. Mouse, key and close input is offered to the menus
// in order as it is routed, which happens only once what came before it has been retrieved: a lone
// Alt opens the menu in DefWindowProcA, and the keys typed after it are then the menu's.
// TranslateMessage lives here too: it makes the character of the press that the program retrieved
// last for the message's scan code.
#include "key_message.h"
#include "user/user_state.h"

namespace plat {

namespace {

// Mouse-message key-state flags of wParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

// A host that floods the window system with input must not make it grow without bound.
constexpr size_t MAX_INPUT_MESSAGES = 10000;

// Queues a message, or (message 0) a raw event whose message is made when it is routed.
void push_input(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, const host::InputEvent& ev) {
  UserState& u = user();
  if (u.input.size() >= MAX_INPUT_MESSAGES) return;
  u.arrivals += 1;
  InputMessage in;
  in.msg.hwnd = hwnd;
  in.msg.message = message;
  in.msg.wParam = wparam;
  in.msg.lParam = lparam;
  in.msg.time = DWORD(ev.time);
  in.raw = ev;
  u.input.push_back(in);
}

// The message of a mouse button event that no menu took; false when it makes none.
bool mouse_button(InputMessage& in) {
  const host::InputEvent& ev = in.raw;
  bool down = ev.kind == host::InputKind::MOUSE_DOWN;
  UINT message;
  WPARAM keys = 0;
  if (ev.button == 1) {
    message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    if (down) keys |= MK_LBUTTON;
  } else if (ev.button == 3) {
    message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    if (down) keys |= MK_RBUTTON;
  } else {
    return false;
  }
  Window* w = find_window(in.msg.hwnd);
  if (!w) return false;
  int x = ev.x;
  int y = ev.y - menu_rows(*w);
  // A left press on the menu bar is the program's WM_NCLBUTTONDOWN, which DefWindowProcA turns
  // into opening the menu. Win32 gives its point in screen coordinates; here in the window's
  // (the host places windows on the screen).
  if (down && ev.button == 1 && y < 0 && ev.y >= 0 && x >= 0 && x < w->width) {
    in.msg.message = WM_NCLBUTTONDOWN;
    in.msg.wParam = HTMENU;
    in.msg.lParam = MAKELPARAM(ev.x, ev.y);
    return true;
  }
  // Other presses on the menu bar that no menu took, or outside the window, make no message.
  if (x < 0 || y < 0 || x >= client_width(*w) || y >= client_height(*w)) return false;
  // The modifier state was settled when the event arrived (convert_input).
  if (ev.mods & host::MOD_SHIFT) keys |= MK_SHIFT;
  if (ev.mods & host::MOD_CTRL) keys |= MK_CONTROL;
  in.msg.message = message;
  in.msg.wParam = keys;
  in.msg.lParam = MAKELPARAM(x, y);
  return true;
}

// Keys that a PC keyboard sends with the 0xE0 prefix, and Win32 with bit 24 of lParam: those
// whose virtual-key code says so; right Ctrl, right Alt and keypad Enter share their codes with
// keys that are not extended, so the host says which it was.
bool extended_key(const host::InputEvent& ev) {
  switch (ev.vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_SNAPSHOT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_DIVIDE:
    case VK_NUMLOCK:
      return true;
    default:
      return ev.extended;
  }
}

bool is_latin1_character(int ch) {
  return ch >= 1 && ch <= 255;
}

// The modifiers held at an event: those its host reports, and the Shift, Ctrl and Alt keys that
// went down here and have not come up (a host that cannot tell, or tells late, is made up for).
unsigned modifier_state(const host::InputEvent& ev) {
  const UserState& u = user();
  unsigned mods = ev.mods;
  if (u.keys_held.test(VK_SHIFT)) mods |= host::MOD_SHIFT;
  if (u.keys_held.test(VK_CONTROL)) mods |= host::MOD_CTRL;
  if (u.keys_held.test(VK_MENU)) mods |= host::MOD_ALT;
  return mods;
}

// The character of a key press: Enter, Tab, Backspace and Esc make theirs whatever the layout
// says, Ctrl with a letter makes 1..26 and with any other key nothing; otherwise it is the one
// the host's layout typed. Ctrl with Alt is AltGr on many keyboards, which types real characters.
int press_character(const host::InputEvent& ev) {
  switch (ev.vk) {
    case VK_RETURN:
      return 13;
    case VK_TAB:
      return 9;
    case VK_BACK:
      return 8;
    case VK_ESCAPE:
      return 27;
    default:
      break;
  }
  if ((ev.mods & host::MOD_CTRL) && !(ev.mods & host::MOD_ALT))
    return ev.vk >= 'A' && ev.vk <= 'Z' ? int(ev.vk - 'A') + 1 : 0;
  return is_latin1_character(ev.ch) ? ev.ch : 0;
}

// A move into the queue: only the latest position matters, as with Win32's mouse-move messages,
// so a move not yet routed to the same window is replaced rather than joined.
void push_move(HWND hwnd, const host::InputEvent& ev) {
  std::deque<InputMessage>& input = user().input;
  if (!input.empty()) {
    InputMessage& last = input.back();
    if (!last.routed && last.raw.kind == host::InputKind::MOUSE_MOVE && last.msg.hwnd == hwnd) {
      last.raw = ev;
      last.msg.time = DWORD(ev.time);
      return;
    }
  }
  push_input(hwnd, 0, 0, 0, ev);
}

// As on Win32: a key pressed with Alt held (and Ctrl not, which makes it AltGr), Alt itself and
// F10 are system keys; a release is one when its press was.
void convert_key(HWND hwnd, const host::InputEvent& ev) {
  UserState& u = user();
  bool down = ev.kind == host::InputKind::KEY_DOWN;
  size_t slot = ev.vk & 0xFF;
  bool tracked = ev.vk < 256;
  bool held = tracked && u.keys_held.test(slot);
  bool alt = (ev.mods & host::MOD_ALT) || ev.vk == VK_MENU;
  bool ctrl = (ev.mods & host::MOD_CTRL) || ev.vk == VK_CONTROL;
  bool system;
  if (down) {
    system = (alt || ev.vk == VK_F10) && !ctrl;
    if (tracked) {
      u.keys_held.set(slot);
      u.system_presses.set(slot, system);
    }
    u.text_of_system_key = system;
  } else {
    system = tracked && u.system_presses.test(slot);
    if (tracked) {
      u.keys_held.reset(slot);
      u.system_presses.reset(slot);
    }
    u.text_of_system_key = false;
  }
  DWORD bits = KEY_REPEAT_ONE | ((ev.scan & 0xFFu) << KEY_SCAN_SHIFT);
  if (extended_key(ev)) bits |= KEY_EXTENDED;
  if (alt && !ctrl && (down || system)) bits |= KEY_ALT_DOWN;
  if (!down) bits |= KEY_WAS_DOWN | KEY_RELEASED;
  if (down && held) bits |= KEY_WAS_DOWN;
  UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  push_input(hwnd, message, ev.vk, LPARAM(bits), ev);
}

void convert_input(const host::InputEvent& raw) {
  using host::InputKind;
  host::InputEvent ev = raw;
  if (ev.kind != InputKind::TEXT) ev.mods = modifier_state(ev);
  if (ev.kind == InputKind::KEY_DOWN)
    ev.ch = press_character(ev);
  else if (ev.kind != InputKind::TEXT)
    ev.ch = 0;
  HWND hwnd = window_from_host(ev.window);
  bool keyboard =
      ev.kind == InputKind::KEY_DOWN || ev.kind == InputKind::KEY_UP || ev.kind == InputKind::TEXT;
  if (keyboard) {
    // Keys arrive at the window that has the keyboard; without one named, at the focus window.
    if (hwnd)
      set_focus_window(hwnd);
    else
      hwnd = focus_window();
  }
  if (!hwnd) return;

  // Mouse, key and close input is queued in order and offered to the menus as it is routed;
  // the rest acts at once.
  switch (ev.kind) {
    case InputKind::MOUSE_DOWN:
    case InputKind::MOUSE_UP:
      push_input(hwnd, 0, 0, 0, ev);
      break;
    case InputKind::MOUSE_MOVE:
      push_move(hwnd, ev);
      break;
    case InputKind::KEY_DOWN:
    case InputKind::KEY_UP:
      convert_key(hwnd, ev);
      break;
    case InputKind::TEXT:
      if (user().text_of_system_key) break;
      if (is_latin1_character(ev.ch)) push_input(hwnd, WM_CHAR, WPARAM(ev.ch), 1, ev);
      break;
    case InputKind::CLOSE:
      push_input(hwnd, WM_CLOSE, 0, 0, ev);
      break;
    case InputKind::EXPOSE:
      window_changed(hwnd);
      break;
    case InputKind::RESIZE:
      resize_window(hwnd, ev.width, ev.height);
      break;
    case InputKind::FOCUS:
      menu_handle_input(hwnd, ev);
      set_focus_window(hwnd);
      // Keys held while another program had the keyboard (Alt of an Alt+Tab) are let go here,
      // so that a release lost elsewhere cannot leave every later key a system key.
      user().keys_held.reset();
      user().system_presses.reset();
      break;
  }
}

}  // namespace

void pull_host_input() {
  host::InputEvent ev{};
  while (host::next_input(&ev)) convert_input(ev);
}

void route_input(const MessageFilter& filter) {
  std::deque<InputMessage>& input = user().input;
  for (size_t i = 0; i < input.size();) {
    InputMessage& in = input[i];
    if (!in.routed) {
      const host::InputKind kind = in.raw.kind;
      bool keep = !menu_handle_input(in.msg.hwnd, in.raw);
      if (keep && (kind == host::InputKind::MOUSE_DOWN || kind == host::InputKind::MOUSE_UP)) {
        keep = mouse_button(in);
      }
      if (!keep || kind == host::InputKind::MOUSE_MOVE) {
        input.erase(input.begin() + std::ptrdiff_t(i));
        continue;
      }
      in.routed = true;
    }
    // Routing stops at the first message the caller would take; input behind a message it
    // leaves waiting (a filtered peek) is routed too, as Win32 routes input as it arrives.
    if (filter.passes(in.msg)) return;
    ++i;
  }
}

void note_retrieved_key(const InputMessage& input) {
  UINT message = input.msg.message;
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return;
  int ch = input.raw.ch;
  user().scan_chars[input.raw.scan & 0xFF] = is_latin1_character(ch) ? uint8_t(ch) : 0;
}

}  // namespace plat

using namespace plat;

BOOL WINAPI TranslateMessage(const MSG* msg) {
  // As on Win32, every key message counts as translated, whether or not a character results.
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return TRUE;
  // The scan code in bits 16-23 names the key, and the character is that of the press retrieved
  // last: a copy re-posted while handling the press translates the same.
  uint8_t ch = user().scan_chars[key_scan(msg->lParam)];
  if (ch != 0)
    PostMessageA(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, ch, msg->lParam);
  return TRUE;
}
