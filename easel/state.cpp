// The package's frame: its one global record, opening the graphics and text windows with the
// off-screen image and the timer, closing, and showing or hiding the text window.
#include <cstdlib>

#include "internal.h"

PackageState package;
RunnerHooks runner_hooks;

namespace {

// Nothing needs preparing before the windows are made; kept as the first step of opening so
// that start-up work has one place to go.
void startup_hook() {}

}  // namespace

int EASEL_open(HINSTANCE instance, HINSTANCE previous_instance, LPSTR /*command_line*/,
               int show_command) {
  startup_hook();
  // A program with its own main() passes zeros; its windows are shown all the same.
  if (show_command == SW_HIDE) show_command = SW_SHOWDEFAULT;
  if (previous_instance == nullptr) {
    // Created once and never deleted: both classes paint their background with it.
    HBRUSH background = CreateSolidBrush(colour_table[BACKGROUND_COLOUR]);
    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = graphics_window_proc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = 0;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = background;
    window_class.lpszMenuName = "generic";
    window_class.lpszClassName = "DrawWndClass";
    RegisterClassA(&window_class);
    window_class.lpfnWndProc = text_window_proc;
    window_class.lpszClassName = "TextWndClass";
    RegisterClassA(&window_class);
  }

  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);

  package.running = 0;
  package.step_pending = 0;

  // Creation sends WM_CREATE (the Run menu) and WM_SIZE (the origin) to graphics_window_proc.
  package.graphics_window =
      CreateWindowA("DrawWndClass", "EASEL Graphics", WS_CAPTION | WS_SYSMENU, 0, 0, IMAGE_WIDTH,
                    IMAGE_HEIGHT, nullptr, nullptr, instance, nullptr);
  package.text_window = CreateWindowA("TextWndClass", "EASEL Text", WS_OVERLAPPEDWINDOW, 0,
                                      (2 * screen_height) / 3 + 1, screen_width, screen_height / 3,
                                      nullptr, nullptr, instance, nullptr);

  // Without its windows a program can show nothing: it says so where its user sees it and ends
  // (on Windows, a message box).
  if (package.graphics_window == nullptr || package.text_window == nullptr) {
    MessageBoxA(nullptr, "The EASEL windows cannot be created.", "EASEL", MB_OK | MB_ICONERROR);
    std::exit(1);
  }

  package.screen_dc = GetDC(package.graphics_window);
  package.offscreen_bitmap = CreateCompatibleBitmap(package.screen_dc, IMAGE_WIDTH, IMAGE_HEIGHT);
  package.offscreen_dc = CreateCompatibleDC(package.screen_dc);
  SelectObject(package.offscreen_dc, package.offscreen_bitmap);

  // The graphics window is shown last so that it ends up in front.
  ShowWindow(package.text_window, show_command);
  ShowWindow(package.graphics_window, show_command);

  SetTimer(package.graphics_window, EASEL_TIMER_ID, TIMER_PERIOD_MS, nullptr);
#ifndef EASEL_NO_RUNNER
  runner_session_attach();
#endif
  return 1;
}

int EASEL_close(void) {
  // The runner's last frame is taken while the window still shows it.
  if (runner_hooks.closing) runner_hooks.closing();
  ReleaseDC(package.graphics_window, package.screen_dc);
  // A recording still on ends as its stop command ends it, so its last run is not lost.
  if (package.recording) script_stop_recording();
  script_close();
  return 1;
}

int show_text_window(int show) {
  return ShowWindow(package.text_window, show ? SW_SHOW : SW_HIDE);
}
