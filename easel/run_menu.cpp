// The graphics window's Run menu and its Ctrl-letter keys: building the menu when the window is
// created, and the eight commands that run, halt or single-step the animation, switch logging,
// record or play back the script, and quit. The commands only change flags and check marks;
// the event wait acts on them.
#include "internal.h"

namespace {

// The keyboard form of each command: the letter key's virtual-key code (its upper-case letter).
struct CommandKey {
  WPARAM virtual_key;
  UINT id;
};
constexpr CommandKey COMMAND_KEYS[] = {
    {'A', IDM_ANIMATE}, {'H', IDM_HALT},     {'F', IDM_ADVANCE},  {'L', IDM_LOGGING},
    {'R', IDM_RECORD},  {'P', IDM_PLAYBACK}, {'O', IDM_PLAY_ONE}, {'Q', IDM_QUIT},
};

void toggle_logging() {
  package.logging_on = package.logging_on ? 0 : 1;
  CheckMenuItem(package.run_menu, IDM_LOGGING,
                MF_BYCOMMAND | (package.logging_on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void build_run_menu(HWND window) {
  HMENU menu_bar = CreateMenu();
  package.run_menu = CreatePopupMenu();
  HMENU run = package.run_menu;
  AppendMenuA(run, MF_STRING, IDM_ANIMATE, "&Animate\tCtrl+A");
  AppendMenuA(run, MF_STRING, IDM_HALT, "&Halt animation\tCtrl+H");
  AppendMenuA(run, MF_STRING, IDM_ADVANCE, "Advance one &frame\tCtrl+F");
  AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(run, MF_STRING | MF_CHECKED, IDM_LOGGING, "&Logging\tCtrl+L");
  AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(run, MF_STRING, IDM_RECORD, "&Record Script\tCtrl+R");
  AppendMenuA(run, MF_STRING, IDM_PLAYBACK, "&Playback Script\tCtrl+P");
  AppendMenuA(run, MF_STRING, IDM_PLAY_ONE, "Play &One Script\tCtrl+O");
  AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(run, MF_STRING, IDM_QUIT, "&Quit\tCtrl+Q");
  AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(run, MF_GRAYED, IDM_INFO, "EASEL v2.2 July 1997");
  AppendMenuA(run, MF_GRAYED, IDM_INFO, "MAC: chilly@easel.invalid");
  AppendMenuA(run, MF_GRAYED, IDM_INFO, "WINDOWS: chilly@easel.invalid");
  AppendMenuA(run, MF_GRAYED, IDM_INFO, "UPDATES: chilly@easel.invalid");
  AppendMenuA(menu_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run), "&Run");
  // The window is still being created, so its handle is not yet in graphics_window.
  SetMenu(window, menu_bar);
  DrawMenuBar(window);
}

void run_command(WPARAM id) {
  switch (id) {
    case IDM_ANIMATE:
      package.running = 1;
      break;
    case IDM_HALT:
      package.running = 0;
      break;
    case IDM_ADVANCE:
      package.running = 0;
      package.step_pending = 1;
      break;
    case IDM_LOGGING:
      toggle_logging();
      break;
    case IDM_RECORD:
      if (package.recording) {
        script_stop_recording();
      } else {
        script_start_recording();
      }
      break;
    case IDM_PLAYBACK:
      if (package.playing) {
        script_stop_playback();
      } else {
        script_start_playback();
      }
      break;
    case IDM_PLAY_ONE:
      script_play_one();
      break;
    case IDM_QUIT:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}

void run_key_down(WPARAM virtual_key) {
  if (virtual_key == VK_CONTROL) {
    package.ctrl_down = 1;
    return;
  }
  if (!package.ctrl_down) return;
  for (const CommandKey& command : COMMAND_KEYS) {
    if (command.virtual_key == virtual_key) {
      run_command(command.id);
      return;
    }
  }
}

void run_key_up(WPARAM virtual_key) {
  if (virtual_key == VK_CONTROL) package.ctrl_down = 0;
}
