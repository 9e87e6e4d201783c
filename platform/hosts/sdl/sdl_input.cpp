// Raw input of the SDL host: SDL's events turned into the host's input records. A key press is
// paired with the text event that SDL sends right after it for the same press, so the window
// system learns which character the user's layout made of which key; text that comes on its
// own (input methods, compose, paste) is reported as text.
#include "hosts/sdl/sdl_host.h"

namespace sdl_host {

namespace {

// The next SDL event in arrival order: those a wait took first, then SDL's queue.
bool take_raw(SDL_Event* event) {
  Desktop& d = desktop();
  if (!d.held.empty()) {
    *event = d.held.front();
    d.held.pop_front();
    return true;
  }
  return SDL_PollEvent(event) == 1;
}

bool peek_raw(SDL_Event* event) {
  Desktop& d = desktop();
  if (!d.held.empty()) {
    *event = d.held.front();
    return true;
  }
  return SDL_PeepEvents(event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1;
}

host::InputEvent make_event(host::InputKind kind, int window, uint32_t timestamp) {
  host::InputEvent event{};
  event.kind = kind;
  event.window = window;
  // SDL stamps events with the low 32 bits of its millisecond clock.
  const uint64_t now = SDL_GetTicks64();
  const uint64_t ticks = now - uint32_t(uint32_t(now) - timestamp);
  const uint64_t start = desktop().start_ticks;
  event.time = ticks > start ? ticks - start : 0;
  return event;
}

// Window positions on the desktop back to device pixels.
int device_coordinate(int value) {
  const int s = desktop().scale;
  return value >= 0 ? value / s : -((-value + s - 1) / s);
}

void push(const host::InputEvent& event) {
  desktop().ready.push_back(event);
}

void translate_mouse(const SDL_Event& raw) {
  const int window =
      window_from_sdl(raw.type == SDL_MOUSEMOTION ? raw.motion.windowID : raw.button.windowID);
  if (window == 0) return;
  if (raw.type == SDL_MOUSEMOTION) {
    host::InputEvent event = make_event(host::InputKind::MOUSE_MOVE, window, raw.motion.timestamp);
    event.x = device_coordinate(raw.motion.x);
    event.y = device_coordinate(raw.motion.y);
    push(event);
    return;
  }
  // SDL's numbers: 1 left, 2 middle, 3 right; the side buttons are of no use here.
  const int button = raw.button.button;
  if (button < SDL_BUTTON_LEFT || button > SDL_BUTTON_RIGHT) return;
  host::InputEvent event = make_event(
      raw.type == SDL_MOUSEBUTTONDOWN ? host::InputKind::MOUSE_DOWN : host::InputKind::MOUSE_UP,
      window, raw.button.timestamp);
  event.x = device_coordinate(raw.button.x);
  event.y = device_coordinate(raw.button.y);
  event.button = button;
  event.mods = modifier_bits(uint16_t(SDL_GetModState()));
  push(event);
}

void translate_key(const SDL_Event& raw) {
  const int window = window_from_sdl(raw.key.windowID);
  if (window == 0) return;
  const SDL_Keysym& key = raw.key.keysym;
  const bool down = raw.type == SDL_KEYDOWN;
  host::InputEvent event = make_event(down ? host::InputKind::KEY_DOWN : host::InputKind::KEY_UP,
                                      window, raw.key.timestamp);
  event.vk = virtual_key(key);
  event.scan = scan_code(key.scancode);
  event.mods = modifier_bits(key.mod);
  event.extended = key.scancode == SDL_SCANCODE_RCTRL || key.scancode == SDL_SCANCODE_RALT ||
                   key.scancode == SDL_SCANCODE_KP_ENTER;
  if (!down) {
    push(event);
    return;
  }
  // The layout's text for this press; the window system makes the characters of Enter, Tab,
  // Backspace, Esc and Ctrl+letter itself.
  int chars[SDL_TEXTINPUTEVENT_TEXT_SIZE];
  int count = 0;
  SDL_Event next;
  if (!is_modifier_key(key.sym) && peek_raw(&next) && next.type == SDL_TEXTINPUT &&
      next.text.windowID == raw.key.windowID) {
    take_raw(&next);
    count = latin1_from_utf8(next.text.text, chars, SDL_TEXTINPUTEVENT_TEXT_SIZE);
  }
  event.ch = count > 0 ? chars[0] : 0;
  push(event);
  // A press that made several characters (a dead key followed by one it cannot combine with).
  for (int i = 1; i < count; ++i) {
    host::InputEvent text = make_event(host::InputKind::TEXT, window, raw.key.timestamp);
    text.ch = chars[i];
    push(text);
  }
}

void translate_text(const SDL_Event& raw) {
  const int window = window_from_sdl(raw.text.windowID);
  if (window == 0) return;
  int chars[SDL_TEXTINPUTEVENT_TEXT_SIZE];
  const int count = latin1_from_utf8(raw.text.text, chars, SDL_TEXTINPUTEVENT_TEXT_SIZE);
  for (int i = 0; i < count; ++i) {
    host::InputEvent event = make_event(host::InputKind::TEXT, window, raw.text.timestamp);
    event.ch = chars[i];
    push(event);
  }
}

void translate_window(const SDL_Event& raw) {
  const int window = window_from_sdl(raw.window.windowID);
  if (window == 0) return;
  const uint32_t time = raw.window.timestamp;
  switch (raw.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      push(make_event(host::InputKind::CLOSE, window, time));
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      push(make_event(host::InputKind::EXPOSE, window, time));
      break;
    case SDL_WINDOWEVENT_RESIZED: {
      host::InputEvent event = make_event(host::InputKind::RESIZE, window, time);
      event.width = device_coordinate(raw.window.data1);
      event.height = device_coordinate(raw.window.data2);
      push(event);
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      push(make_event(host::InputKind::FOCUS, window, time));
      break;
    default:
      break;
  }
}

// Turns one SDL event into zero or more input records on the ready queue.
void translate(const SDL_Event& raw) {
  switch (raw.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
      translate_mouse(raw);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      translate_key(raw);
      break;
    case SDL_TEXTINPUT:
      translate_text(raw);
      break;
    case SDL_WINDOWEVENT:
      translate_window(raw);
      break;
    default:
      // SDL_QUIT among others: each window's close box is reported on its own.
      break;
  }
}

}  // namespace

bool translate_pending() {
  Desktop& d = desktop();
  SDL_Event raw;
  while (d.ready.empty() && take_raw(&raw)) translate(raw);
  return !d.ready.empty();
}

bool next_input(InputEvent* event) {
  Desktop& d = desktop();
  if (!d.open || event == nullptr) return false;
  if (!translate_pending()) return false;
  *event = d.ready.front();
  d.ready.pop_front();
  return true;
}

}  // namespace sdl_host
