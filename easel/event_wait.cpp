// The pull-style event stream: EASEL_await_event turns window messages, timer ticks and script
// lines into one event per call, with run control (run, halt, single step) and the recording and
// playback hooks. Also the pump, the run-mode and logging switches, and the graphics window's
// own messages (the Run menu's are in run_menu.cpp).
#include "internal.h"

namespace {

// The wait goes on while no event is pending, or while a periodic event waits for its tick.
bool wait_goes_on() {
  return package.event_kind == NO_EVENT ||
         (package.event_kind == EASEL_PERIODIC && package.timer_fired == 0);
}

// Writes the returned event to the script, a run of periodic events as one line.
void record_event() {
  if (package.event_kind == EASEL_PERIODIC) {
    package.periodic_count += 1;
    return;
  }
  const int key = static_cast<unsigned char>(package.event_key);
  if (package.periodic_count > 0) {
    script_write_event(EASEL_PERIODIC, package.event_x, package.event_y, key);
    package.periodic_count = 0;
  }
  script_write_event(package.event_kind, package.event_x, package.event_y, key);
}

// A scripted event replaces whatever the user's input made in the same pass, whole: the line
// sets only its own fields, so the others start from nothing. Without a scripted event the
// user's event stands.
bool play_scripted_event() {
  const int kind = package.event_kind;
  const int32_t x = package.event_x;
  const int32_t y = package.event_y;
  const char key = package.event_key;
  package.event_x = 0;
  package.event_y = 0;
  package.event_key = 0;
  if (script_read_event() == 1) return true;
  package.event_kind = kind;
  package.event_x = x;
  package.event_y = y;
  package.event_key = key;
  return false;
}

}  // namespace

void copy_image_to_screen() {
  BitBlt(package.screen_dc, 0, 0, IMAGE_WIDTH, IMAGE_HEIGHT, package.offscreen_dc, 0, 0, SRCCOPY);
}

bool pump_one_message() {
  MSG message;
  const bool took = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
  if (took && message.message == WM_QUIT) {
    package.event_kind = EASEL_QUIT;
    return true;
  }
  if (took) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (package.dirty) {
    copy_image_to_screen();
    package.dirty = 0;
  }
  return took;
}

int EASEL_await_event(int32_t* x, int32_t* y, char* key) {
  usage_wait_begins();
  if (runner_hooks.wait_begins) runner_hooks.wait_begins();
  package.event_kind = NO_EVENT;
  package.event_x = 0;
  package.event_y = 0;
  package.event_key = 0;

  bool from_script = false;
  while (wait_goes_on()) {
    const bool took_message = pump_one_message();
    // A quit ends the pass before the playback hook: once the window is gone nothing else can
    // ever end a wait, so a scripted event must not take its place.
    if (package.event_kind == EASEL_QUIT) break;

    if (package.play_one || package.playing) {
      package.play_one = 0;
      if (play_scripted_event()) {
        from_script = true;
        break;
      }
      package.play_one = 0;
      package.playing = 0;
      if (runner_hooks.playback_ended) runner_hooks.playback_ended();
    }

    if ((package.step_pending || package.running) && package.event_kind == NO_EVENT) {
      package.timer_fired = 0;
      package.event_kind = EASEL_PERIODIC;
      package.step_pending = 0;
    }

    // Sleep only after a pass that found the queue empty; WaitMessage returns as soon as
    // anything could be taken, so no event and no tick is delayed. A pass with a script played
    // never gets here: it either produced its event or ended the playback.
    if (wait_goes_on() && !took_message) WaitMessage();
  }

  if (package.recording) record_event();

  if (x != nullptr) *x = package.event_x;
  if (y != nullptr) *y = package.event_y;
  if (key != nullptr) *key = package.event_key;
  const int kind = package.quit_requested ? EASEL_QUIT : package.event_kind;
  if (runner_hooks.event_returned) runner_hooks.event_returned(kind, from_script);
  return kind;
}

int EASEL_animate(int mode) {
  if (package.graphics_window == nullptr) return 0;
  switch (mode) {
    case EASEL_ANIM_HALT:
      package.step_pending = 0;
      package.running = 0;
      break;
    case EASEL_ANIM_STEP:
      package.step_pending = 1;
      break;
    case EASEL_ANIM_RUN:
      package.running = 1;
      break;
    case EASEL_ANIM_QUIT:
      package.quit_requested = 1;
      break;
    default:
      break;
  }
  return 1;
}

int EASEL_logging(int on) {
  if (package.graphics_window == nullptr) return 0;
  package.logging_on = on ? 1 : 0;
  CheckMenuItem(package.run_menu, IDM_LOGGING,
                MF_BYCOMMAND | (package.logging_on ? MF_CHECKED : MF_UNCHECKED));
  if (package.logging_on) show_text_window(1);
  return 1;
}

LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      build_run_menu(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, EASEL_TIMER_ID);
      PostQuitMessage(0);
      return 0;
    case WM_SIZE: {
      RECT client;
      GetClientRect(window, &client);
      package.origin_x = client.left + (client.right - client.left) / 2;
      package.origin_y = client.top + (client.bottom - client.top) / 2;
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      copy_image_to_screen();
      EndPaint(window, &paint);
      package.dirty = 0;
      return 0;
    }
    case WM_KEYDOWN:
      run_key_down(wparam);
      return 0;
    case WM_KEYUP:
      run_key_up(wparam);
      return 0;
    case WM_CHAR:
      // Ctrl+letter also makes a control character; the command was carried out on key-down.
      if (package.ctrl_down == 1) return 0;
      package.event_kind = EASEL_KBD;
      package.event_key = static_cast<char>(wparam & 0xFF);
      return 0;
    case WM_COMMAND:
      run_command(wparam);
      return 0;
    case WM_TIMER:
      package.timer_fired = 1;
      return 0;
    case WM_LBUTTONDOWN:
      package.event_kind = EASEL_MOUSE;
      package.event_x = static_cast<int32_t>(LOWORD(lparam)) - package.origin_x;
      package.event_y = package.origin_y - static_cast<int32_t>(HIWORD(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
