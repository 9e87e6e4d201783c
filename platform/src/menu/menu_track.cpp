// Menu tracking: turns a window's raw mouse and key input into opening the bar's popups, moving
// the highlight and choosing items, which posts WM_COMMAND to the window. One menu is open at a
// time in the process. With no menu open, keys and presses on the bar are the program's
// messages; DefWindowProcA opens the menu for them (a press on the bar as WM_NCLBUTTONDOWN, a
// lone Alt or F10 released, Alt+mnemonic as WM_SYSCHAR) and, as on Win32, runs the menu's own
// message loop until the menu closes: the program's loop gets nothing meanwhile, and the loop
// dispatches timer ticks, paint and posted messages to their windows. Every key
// release goes where its press went (to the program or to the menu), and so does every button
// release, so the program never sees a release without its press, nor misses the release of a
// key it saw go down (the package follows Ctrl that way).
#include "key_message.h"
#include "menu/menu_private.h"

namespace plat {
namespace {

using Mode = MenuMode;
using Tracking = MenuTracking;
using Owner = InputOwner;

// This file's names for the fields of the context's menu state, fetched on each use so that
// nothing here outlives a reset of the context.
Tracking& track() {
  return menu_state().track;
}

Menu* bar_of(HWND hwnd) {
  return find_menu(window_menu(hwnd));
}

const Menu* popup_of(const MenuItem& title) {
  return (title.flags & MF_POPUP) ? find_menu(title.popup) : nullptr;
}

// Forgets a menu whose window, bar or popup went away under it (SetMenu, DestroyWindow).
bool still_valid() {
  if (track().mode == Mode::NONE) return false;
  Menu* bar = find_menu(track().bar);
  bool ok = bar && window_menu(track().hwnd) == track().bar && track().title >= 0 &&
            size_t(track().title) < bar->items.size();
  if (ok && track().mode == Mode::POPUP)
    ok = popup_of(bar->items[size_t(track().title)]) != nullptr;
  if (!ok) {
    HWND hwnd = track().hwnd;
    track() = Tracking{};
    window_changed(hwnd);
    note_arrival();
  }
  return ok;
}

Menu& tracked_bar() {
  return *find_menu(track().bar);
}
// The open popup; an empty one should its menu have gone (a program may destroy it).
const Menu& tracked_popup() {
  static const Menu none{};
  const Menu* popup = popup_of(tracked_bar().items[size_t(track().title)]);
  return popup != nullptr ? *popup : none;
}

bool choosable(const MenuItem& item) {
  return item_enabled(item) && !(item.flags & MF_POPUP);
}

void show_changes() {
  draw_menu_bar(track().hwnd);
  window_changed(track().hwnd);
}

// Also ends a wait of the menu's loop: a menu closed from outside it (another window taking the
// keyboard) must not keep the program in that loop until something else arrives.
void close_menu() {
  HWND hwnd = track().hwnd;
  track() = Tracking{};
  draw_menu_bar(hwnd);
  window_changed(hwnd);
  note_arrival();
}

void post_command(HWND hwnd, UINT id) {
  if (track().mode != Mode::NONE) close_menu();
  PostMessageA(hwnd, WM_COMMAND, id, 0);
}

void choose(UINT id) {
  post_command(track().hwnd, id);
}

// The next popup item after `from` in direction `dir` that can be highlighted, wrapping; -1 when
// there is none.
int step_item(const Menu& popup, int from, int dir) {
  int n = int(popup.items.size());
  int at = from < 0 ? (dir > 0 ? -1 : n) : from;
  for (int i = 0; i < n; ++i) {
    at = ((at + dir) % n + n) % n;
    if (choosable(popup.items[size_t(at)])) return at;
  }
  return -1;
}

int step_title(const Menu& bar, int from, int dir) {
  int n = int(bar.items.size());
  int at = from;
  for (int i = 0; i < n; ++i) {
    at = ((at + dir) % n + n) % n;
    if (!(bar.items[size_t(at)].flags & MF_SEPARATOR)) return at;
  }
  return from;
}

int title_by_mnemonic(const Menu& bar, unsigned vk, int ch) {
  for (size_t i = 0; i < bar.items.size(); ++i) {
    const MenuItem& item = bar.items[i];
    if (item_enabled(item) && mnemonic_matches(parse_menu_label(item.text), vk, ch)) {
      return int(i);
    }
  }
  return -1;
}

// Opens a bar item: a popup is shown (its first item highlighted when the keyboard opened it),
// a plain command in the bar is chosen at once, and a greyed item only takes the keyboard's
// highlight.
void open_title(HWND hwnd, int title, bool from_keyboard) {
  if (track().mode != Mode::NONE && track().hwnd != hwnd) close_menu();
  const MenuItem& item = bar_of(hwnd)->items[size_t(title)];
  if (item_enabled(item) && !(item.flags & MF_POPUP)) {
    post_command(hwnd, item.id);
    return;
  }
  Tracking next;
  next.mode = Mode::BAR;
  next.hwnd = hwnd;
  next.bar = window_menu(hwnd);
  next.title = title;
  if (const Menu* popup = item_enabled(item) ? popup_of(item) : nullptr) {
    next.mode = Mode::POPUP;
    if (from_keyboard) next.item = step_item(*popup, -1, 1);
  } else if (!from_keyboard) {
    if (track().mode != Mode::NONE) close_menu();
    return;
  }
  track() = next;
  show_changes();
}

// The keyboard's highlight on a bar item, its popup closed.
void highlight_title(int title) {
  track().mode = Mode::BAR;
  track().title = title;
  track().item = track().hover = -1;
  show_changes();
}

bool enter_bar_mode(HWND hwnd) {
  const Menu* bar = bar_of(hwnd);
  if (!bar || bar->items.empty()) return false;
  int first = step_title(*bar, int(bar->items.size()) - 1, 1);
  if (bar->items[size_t(first)].flags & MF_SEPARATOR) return false;
  if (track().mode != Mode::NONE) close_menu();
  track() = Tracking{};
  track().mode = Mode::BAR;
  track().hwnd = hwnd;
  track().bar = window_menu(hwnd);
  track().title = first;
  show_changes();
  return true;
}

bool popup_geometry(PopupLayout* layout) {
  Surface surface;
  RECT client;
  if (track().mode != Mode::POPUP || !window_surface(track().hwnd, &surface, &client)) return false;
  int anchor = bar_layout(tracked_bar())[size_t(track().title)].left;
  *layout = popup_layout(tracked_popup(), anchor, surface.width);
  return true;
}

// Inside the open popup but on its edge rather than on an item.
constexpr int POPUP_EDGE = -2;

// The open popup's item at a point, POPUP_EDGE, or -1 outside the popup.
int popup_item_under(int x, int y) {
  PopupLayout layout;
  if (!popup_geometry(&layout)) return -1;
  int item = popup_item_at(layout, x, y);
  const RECT& f = layout.frame;
  bool inside = x >= f.left && x < f.right && y >= f.top && y < f.bottom;
  return item >= 0 ? item : inside ? POPUP_EDGE : -1;
}

void set_item(int item) {
  if (item == track().item) return;
  track().item = item;
  show_changes();
}

void bar_key(unsigned vk, int ch, bool ctrl) {
  const Menu& bar = tracked_bar();
  switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
      highlight_title(step_title(bar, track().title, vk == VK_LEFT ? -1 : 1));
      return;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN:
      open_title(track().hwnd, track().title, true);
      return;
    case VK_ESCAPE:
      close_menu();
      return;
    default:
      if (ctrl) return;
      if (int title = title_by_mnemonic(bar, vk, ch); title >= 0)
        open_title(track().hwnd, title, true);
  }
}

void popup_key(unsigned vk, int ch, bool ctrl) {
  const Menu& popup = tracked_popup();
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
      set_item(step_item(popup, track().item, vk == VK_UP ? -1 : 1));
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      const Menu& bar = tracked_bar();
      int title = step_title(bar, track().title, vk == VK_LEFT ? -1 : 1);
      if (title == track().title) return;
      const MenuItem& next = bar.items[size_t(title)];
      if (item_enabled(next) && popup_of(next)) {
        open_title(track().hwnd, title, true);
      } else {
        highlight_title(title);
      }
      return;
    }
    case VK_RETURN:
      if (track().item >= 0 && size_t(track().item) < popup.items.size() &&
          choosable(popup.items[size_t(track().item)])) {
        choose(popup.items[size_t(track().item)].id);
      }
      return;
    case VK_ESCAPE:
      highlight_title(track().title);
      return;
    default:
      break;
  }
  if (ctrl) return;
  // One item with the letter is chosen at once; several share the highlight in turn.
  int n = int(popup.items.size());
  int first = -1, count = 0, next_after = -1;
  for (int i = 0; i < n; ++i) {
    const MenuItem& item = popup.items[size_t(i)];
    if (!choosable(item) || !mnemonic_matches(parse_menu_label(item.text), vk, ch)) continue;
    if (first < 0) first = i;
    if (next_after < 0 && i > track().item) next_after = i;
    ++count;
  }
  if (count == 1) {
    choose(popup.items[size_t(first)].id);
  } else if (count > 1) {
    set_item(next_after >= 0 ? next_after : first);
  }
}

// A key press while a menu is open.
bool key_down(const host::InputEvent& ev) {
  bool ctrl = ev.mods & host::MOD_CTRL;
  if (ev.vk == VK_MENU || ev.vk == VK_F10) {
    close_menu();
  } else if (track().mode == Mode::BAR) {
    bar_key(ev.vk, ev.ch, ctrl);
  } else {
    popup_key(ev.vk, ev.ch, ctrl);
  }
  return true;
}

bool key_input(const host::InputEvent& ev) {
  size_t slot = ev.vk & 0xFF;
  bool tracked_key = ev.vk < 256;
  if (ev.kind == host::InputKind::TEXT) {
    bool taken = menu_state().text_of_menu_key || track().mode != Mode::NONE;
    menu_state().text_of_menu_key = false;
    return taken;
  }
  if (ev.kind == host::InputKind::KEY_DOWN) {
    // A held Alt or F10 repeats its press: that toggles the menu neither on nor off.
    bool held = tracked_key &&
                (menu_state().keys_to_program.test(slot) || menu_state().keys_to_menu.test(slot));
    if (held && (ev.vk == VK_MENU || ev.vk == VK_F10)) {
      return menu_state().keys_to_menu.test(slot) || track().mode != Mode::NONE;
    }
    bool taken = track().mode != Mode::NONE && key_down(ev);
    if (tracked_key) (taken ? menu_state().keys_to_menu : menu_state().keys_to_program).set(slot);
    menu_state().text_of_menu_key = taken;
    return taken;
  }
  menu_state().text_of_menu_key = false;
  bool to_program = tracked_key && menu_state().keys_to_program.test(slot);
  bool to_menu = tracked_key && menu_state().keys_to_menu.test(slot);
  if (tracked_key) {
    menu_state().keys_to_program.reset(slot);
    menu_state().keys_to_menu.reset(slot);
  }
  if (to_program) return false;
  return to_menu || track().mode != Mode::NONE;
}

// Sets `to_bar` for a left press on the bar with no menu open: the program gets it as
// WM_NCLBUTTONDOWN, and its release belongs to the menu that the press opens.
bool mouse_down(HWND hwnd, const host::InputEvent& ev, bool* to_bar) {
  track().press_opened = false;
  const Menu* bar = bar_of(hwnd);
  bool in_bar = bar && ev.y >= 0 && ev.y < MENU_BAR_HEIGHT;
  int title = (bar && ev.button == 1) ? bar_item_at(*bar, ev.x, ev.y) : -1;
  if (track().mode == Mode::NONE) {
    *to_bar = in_bar && ev.button == 1;
    return in_bar && !*to_bar;
  }
  if (hwnd == track().hwnd) {
    if (track().mode == Mode::POPUP) {
      int item = popup_item_under(ev.x, ev.y);
      if (item >= 0) {
        const MenuItem& chosen = tracked_popup().items[size_t(item)];
        if (ev.button == 1 && choosable(chosen)) choose(chosen.id);
      }
      if (item != -1) return true;
      if (title == track().title) {
        close_menu();
        return true;
      }
    }
    if (title >= 0) {
      open_title(hwnd, title, false);
      track().press_opened = track().mode == Mode::POPUP;
      return true;
    }
  }
  close_menu();
  return true;
}

void mouse_up(HWND hwnd, const host::InputEvent& ev) {
  if (track().mode != Mode::POPUP || hwnd != track().hwnd) return;
  bool opened_by_press = track().press_opened;
  track().press_opened = false;
  int item = popup_item_under(ev.x, ev.y);
  if (item >= 0) {
    const MenuItem& chosen = tracked_popup().items[size_t(item)];
    if (ev.button == 1 && item == track().hover && choosable(chosen)) choose(chosen.id);
  }
  if (item != -1) return;
  // Pressed on the title and dragged away from the menu: let go means never mind.
  const Menu* bar = bar_of(hwnd);
  if (opened_by_press && (!bar || bar_item_at(*bar, ev.x, ev.y) != track().title)) close_menu();
}

bool mouse_move(HWND hwnd, const host::InputEvent& ev) {
  if (track().mode == Mode::NONE) return false;
  if (hwnd != track().hwnd || track().mode != Mode::POPUP) return true;
  int item = popup_item_under(ev.x, ev.y);
  if (item >= 0) {
    track().hover = choosable(tracked_popup().items[size_t(item)]) ? item : -1;
    set_item(track().hover);
    return true;
  }
  // Over another title of the bar its popup takes over, as the pointer slides along the bar.
  const Menu* bar = bar_of(hwnd);
  int title = bar ? bar_item_at(*bar, ev.x, ev.y) : -1;
  if (title >= 0 && title != track().title && popup_of(bar->items[size_t(title)]) &&
      item_enabled(bar->items[size_t(title)])) {
    bool pressed = track().press_opened;
    open_title(hwnd, title, false);
    track().press_opened = pressed;
    return true;
  }
  track().hover = -1;
  set_item(-1);
  return true;
}

// The menu's own message loop, as Win32 runs it while a menu is open: the menu takes the input
// as it is routed; everything else that arrives (timer ticks, paint, posted messages) is
// dispatched here, so the program's own loop gets nothing until the menu closes. It waits with
// WaitMessage, so an open menu costs no CPU. A quit closes the menu and is left to the program.
void run_menu_loop() {
  if (track().mode == Mode::NONE || menu_state().in_loop) return;
  menu_state().in_loop = true;
  while (still_valid()) {
    // Looked at first and taken only while the menu stays open: the input that this look routes
    // may close it, and what comes after (the chosen command, a quit) is then the program's.
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (still_valid()) WaitMessage();
      continue;
    }
    if (!still_valid()) break;
    if (msg.message == WM_QUIT) {
      close_menu();
      break;
    }
    if (PeekMessageA(&msg, nullptr, msg.message, msg.message, PM_REMOVE)) DispatchMessageA(&msg);
  }
  menu_state().in_loop = false;
}

}  // namespace

void menu_bar_press(HWND hwnd, int x, int y) {
  const Menu* bar = bar_of(hwnd);
  int title = bar ? bar_item_at(*bar, x, y) : -1;
  if (title < 0 || (track().mode != Mode::NONE && track().hwnd == hwnd)) return;
  open_title(hwnd, title, false);
  track().press_opened = track().mode == Mode::POPUP;
  run_menu_loop();
}

bool menu_handle_input(HWND hwnd, const host::InputEvent& ev) {
  still_valid();
  switch (ev.kind) {
    case host::InputKind::KEY_DOWN:
    case host::InputKind::KEY_UP:
    case host::InputKind::TEXT:
      return key_input(ev);
    case host::InputKind::MOUSE_DOWN: {
      bool to_bar = false;
      bool taken = mouse_down(hwnd, ev, &to_bar);
      menu_state().button_owner = taken || to_bar ? Owner::MENU : Owner::PROGRAM;
      return taken;
    }
    case host::InputKind::MOUSE_UP: {
      Owner owner = menu_state().button_owner;
      menu_state().button_owner = Owner::NONE;
      if (owner == Owner::PROGRAM) return false;
      if (owner == Owner::MENU) {
        mouse_up(hwnd, ev);
        return true;
      }
      const Menu* bar = bar_of(hwnd);
      return track().mode != Mode::NONE || (bar && ev.y >= 0 && ev.y < MENU_BAR_HEIGHT);
    }
    case host::InputKind::MOUSE_MOVE:
      return mouse_move(hwnd, ev);
    case host::InputKind::CLOSE:
      if (track().mode != Mode::NONE && track().hwnd == hwnd) close_menu();
      return false;
    case host::InputKind::FOCUS:
      if (track().mode != Mode::NONE && track().hwnd != hwnd) close_menu();
      return false;
    default:
      return false;
  }
}

void menu_default_key(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SYSKEYDOWN:
      if (lparam & KEY_WAS_DOWN) return;  // a held key's repeats change nothing
      menu_state().alt_tapped = (lparam & KEY_ALT_DOWN) && wparam == VK_MENU;
      menu_state().f10_tapped = !(lparam & KEY_ALT_DOWN) && wparam == VK_F10;
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool tapped = (wparam == VK_MENU && menu_state().alt_tapped) ||
                    (wparam == VK_F10 && menu_state().f10_tapped);
      menu_state().alt_tapped = menu_state().f10_tapped = false;
      if (tapped && track().mode == Mode::NONE && enter_bar_mode(hwnd)) run_menu_loop();
      return;
    }
    case WM_SYSCHAR: {
      menu_state().alt_tapped = false;
      const Menu* bar = bar_of(hwnd);
      int ch = int(wparam & 0xFF);
      if (!(lparam & KEY_ALT_DOWN) || !bar || track().mode != Mode::NONE || ch == '\t' ||
          ch == 27) {
        return;
      }
      unsigned vk = (ch >= 'a' && ch <= 'z') ? unsigned(ch - 'a' + 'A') : unsigned(ch);
      if (int title = title_by_mnemonic(*bar, vk, ch); title >= 0) {
        open_title(hwnd, title, true);
        run_menu_loop();
      }
      return;
    }
    default:
      return;
  }
}

bool menu_view(HWND hwnd, MenuView* view) {
  if (!still_valid() || track().hwnd != hwnd) return false;
  view->title = track().title;
  view->popup_open = track().mode == Mode::POPUP;
  view->item = track().item;
  return true;
}

void menu_window_destroyed(HWND hwnd) {
  if (track().hwnd == hwnd) {
    track() = Tracking{};
    note_arrival();
  }
  destroy_menu_tree(window_menu(hwnd));
}

}  // namespace plat
