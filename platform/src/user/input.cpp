// Raw host input turned into window messages: every event is first offered to the menus; then
// mouse buttons in the client area, keys to the focus window, text without a key press, close
// requests, exposure, resizing and focus. TranslateMessage lives here too, because it reads the
// character that each key press produced, remembered per scan code.
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

void push_input(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, uint64_t time) {
  UserState& u = user();
  if (u.input.size() >= MAX_INPUT_MESSAGES) return;
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wparam;
  m.lParam = lparam;
  m.time = DWORD(time);
  u.input.push_back(m);
}

void mouse_button(HWND hwnd, const host::InputEvent& ev) {
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
    return;
  }
  Window* w = find_window(hwnd);
  int x = ev.x;
  int y = ev.y - menu_rows(*w);
  // Presses on the menu bar that no menu took, or outside the window, make no message.
  if (x < 0 || y < 0 || x >= client_width(*w) || y >= client_height(*w)) return;
  if (ev.mods & host::MOD_SHIFT) keys |= MK_SHIFT;
  if (ev.mods & host::MOD_CTRL) keys |= MK_CONTROL;
  push_input(hwnd, message, keys, MAKELPARAM(x, y), ev.time);
}

LPARAM key_lparam(unsigned scan, bool up) {
  DWORD bits = 1u | ((scan & 0xFFu) << 16);
  if (up) bits |= 3u << 30;  // previous state down, transition to up
  return LPARAM(bits);
}

bool is_latin1_character(int ch) {
  return ch >= 1 && ch <= 255;
}

void convert_input(const host::InputEvent& ev) {
  using host::InputKind;
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
  if (!hwnd || menu_handle_input(hwnd, ev)) return;

  switch (ev.kind) {
    case InputKind::MOUSE_DOWN:
    case InputKind::MOUSE_UP:
      mouse_button(hwnd, ev);
      break;
    case InputKind::MOUSE_MOVE:
      break;
    case InputKind::KEY_DOWN:
      user().scan_chars[ev.scan & 0xFF] = is_latin1_character(ev.ch) ? uint8_t(ev.ch) : 0;
      push_input(hwnd, WM_KEYDOWN, ev.vk, key_lparam(ev.scan, false), ev.time);
      break;
    case InputKind::KEY_UP:
      push_input(hwnd, WM_KEYUP, ev.vk, key_lparam(ev.scan, true), ev.time);
      break;
    case InputKind::TEXT:
      if (is_latin1_character(ev.ch)) push_input(hwnd, WM_CHAR, WPARAM(ev.ch), 1, ev.time);
      break;
    case InputKind::CLOSE:
      push_input(hwnd, WM_CLOSE, 0, 0, ev.time);
      break;
    case InputKind::EXPOSE:
      window_changed(hwnd);
      break;
    case InputKind::RESIZE:
      resize_window(hwnd, ev.width, ev.height);
      break;
    case InputKind::FOCUS:
      set_focus_window(hwnd);
      break;
  }
}

}  // namespace

void pull_host_input() {
  host::InputEvent ev{};
  while (host::next_input(&ev)) convert_input(ev);
}

}  // namespace plat

using namespace plat;

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  // The scan code in bits 16-23 names the key press, so a re-posted copy translates the same.
  uint8_t ch = user().scan_chars[(uintptr_t(msg->lParam) >> 16) & 0xFF];
  if (ch == 0) return FALSE;
  return PostMessageA(msg->hwnd, WM_CHAR, ch, msg->lParam);
}
