// A shown window with a menu bar ("&Run", "&View" and a plain "&Help" command) and a striped
// client area, for the menu tracking and drawing tests; input is scheduled on the headless host
// and messages are pumped at chosen virtual times.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "menu/menu_private.h"
#include "support.h"
#include "testing/raw_input.h"

namespace menu_test {

constexpr const char* TITLE = "Menu test";
constexpr int WIDTH = 320;
constexpr int HEIGHT = 260;

enum Run { ANIMATE, HALT, ADVANCE, SEP1, LOGGING, SEP2, QUIT, SEP3, INFO };
enum Bar { RUN_TITLE, VIEW_TITLE, HELP_TITLE };
constexpr UINT HELP_ID = 50;

// Client stripes 10 px wide, so a pixel out of place shows.
inline uint32_t stripe(int client_x) {
  return (client_x / 10) % 2 ? 0x20A040 : 0xE0C020;
}

// Every message the windows' procedure got, from the program's pump or the menu's own loop.
inline std::vector<MSG>& received() {
  static std::vector<MSG> messages;
  return messages;
}

inline LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  received().push_back(MSG{hwnd, msg, wparam, lparam, 0, {}});
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class MenuWindowTest : public PlatformTest {
 protected:
  HWND hwnd = nullptr;
  HMENU bar = nullptr, run = nullptr, view = nullptr;

  void SetUp() override {
    PlatformTest::SetUp();
    received().clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "MenuTestWindow";
    RegisterClassA(&wc);
    hwnd = make_window(TITLE, &bar, &run, &view);
    paint_stripes(hwnd);
    received().clear();
  }

  static HWND make_window(const char* title, HMENU* bar, HMENU* run, HMENU* view) {
    HWND w = CreateWindowA("MenuTestWindow", title, WS_OVERLAPPEDWINDOW, 0, 0, WIDTH, HEIGHT,
                           nullptr, nullptr, nullptr, nullptr);
    *bar = CreateMenu();
    *run = CreatePopupMenu();
    *view = CreatePopupMenu();
    AppendMenuA(*run, MF_STRING, 1, "&Animate\tCtrl+A");
    AppendMenuA(*run, MF_STRING, 2, "&Halt animation\tCtrl+H");
    AppendMenuA(*run, MF_STRING, 3, "Advance one &frame\tCtrl+F");
    AppendMenuA(*run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(*run, MF_STRING | MF_CHECKED, 4, "&Logging\tCtrl+L");
    AppendMenuA(*run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(*run, MF_STRING, 8, "&Quit\tCtrl+Q");
    AppendMenuA(*run, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(*run, MF_GRAYED, 9, "EASEL v2.2 July 1997");
    AppendMenuA(*view, MF_STRING, 20, "&Zoom");
    AppendMenuA(*view, MF_STRING, 21, "&Hide");
    AppendMenuA(*view, MF_STRING, 22, "&Zap");
    AppendMenuA(*bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*run), "&Run");
    AppendMenuA(*bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*view), "&View");
    AppendMenuA(*bar, MF_STRING, HELP_ID, "&Help");
    SetMenu(w, *bar);
    ShowWindow(w, SW_SHOW);
    return w;
  }

  // Pumps until the queue is empty (painting the window first), then draws the stripes.
  void paint_stripes(HWND w) {
    pump();
    HDC dc = GetDC(w);
    RECT client;
    GetClientRect(w, &client);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    for (int x = 0; x < client.right; x += 10) {
      HBRUSH brush = CreateSolidBrush(plat::colorref_from_pixel(stripe(x)));
      HGDIOBJ old = SelectObject(dc, brush);
      Rectangle(dc, x, 0, x + 11, client.bottom + 1);
      SelectObject(dc, old);
      DeleteObject(brush);
    }
    SelectObject(dc, old_pen);
    ReleaseDC(w, dc);
  }

  // Runs `what` on the program's thread when the clock reaches `at`: inside the menu's own loop
  // while a menu is open, which the program's pump does not leave until the menu closes.
  static void check(uint64_t at, std::function<void()> what) { headless_at(at, std::move(what)); }

  // Moves the clock to `at` (if it is ahead) and handles every message then waiting; a message
  // that opens a menu returns only once the menu has closed (input for that is scheduled first).
  std::vector<MSG> pump(uint64_t at = 0) {
    if (at > headless_now()) headless_advance(at - headless_now());
    std::vector<MSG> got;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      got.push_back(m);
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    return got;
  }

  static int count(const std::vector<MSG>& msgs, UINT message, WPARAM wparam = WPARAM(-1)) {
    int n = 0;
    for (const MSG& m : msgs)
      n += m.message == message && (wparam == WPARAM(-1) || m.wParam == wparam);
    return n;
  }

  // The commands among the messages, in order.
  static std::vector<WPARAM> commands(const std::vector<MSG>& msgs) {
    std::vector<WPARAM> ids;
    for (const MSG& m : msgs)
      if (m.message == WM_COMMAND) ids.push_back(m.wParam);
    return ids;
  }

  plat::TitleBox title_box(int title) { return plat::bar_layout(*plat::find_menu(bar))[title]; }
  int title_x(int title) { return (title_box(title).left + title_box(title).right) / 2; }

  plat::PopupLayout popup(int title) {
    HMENU m = title == RUN_TITLE ? run : view;
    return plat::popup_layout(*plat::find_menu(m), title_box(title).left, WIDTH);
  }
  // Centre of a popup item, window coordinates.
  POINT item_point(int title, int item) {
    RECT r = popup(title).items[item];
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // Whether a menu is active on the fixture's window or on one of `others`, as drawing sees it.
  bool menu_open(std::initializer_list<HWND> others = {}) {
    plat::MenuView v;
    if (plat::menu_view(hwnd, &v)) return true;
    for (HWND w : others)
      if (plat::menu_view(w, &v)) return true;
    return false;
  }

  plat::MenuView state() {
    plat::MenuView v;
    if (!plat::menu_view(hwnd, &v)) v.title = -2;
    return v;
  }

  static host::InputEvent mouse(host::InputKind kind, int x, int y) {
    host::InputEvent ev{};
    ev.kind = kind;
    ev.x = x;
    ev.y = y;
    ev.button = 1;
    return ev;
  }
  static host::InputEvent key(host::InputKind kind, unsigned vk, int ch, unsigned mods) {
    host::InputEvent ev{};
    ev.kind = kind;
    ev.vk = vk;
    ev.ch = ch;
    ev.mods = mods;
    return ev;
  }
  // Alt held around a letter key, as a desktop reports it.
  void alt_key(uint64_t at, char letter, unsigned extra_mods = 0) {
    unsigned mods = host::MOD_ALT | extra_mods;
    unsigned vk = unsigned(letter & ~32);
    headless_raw_input(at, TITLE, key(host::InputKind::KEY_DOWN, VK_MENU, 0, mods));
    headless_raw_input(at, TITLE, key(host::InputKind::KEY_DOWN, vk, letter | 32, mods));
    headless_raw_input(at, TITLE, key(host::InputKind::KEY_UP, vk, 0, mods));
    headless_raw_input(at, TITLE, key(host::InputKind::KEY_UP, VK_MENU, 0, 0));
  }

  std::vector<uint32_t> frame() {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    headless_window_pixels(TITLE, &px, &w, &h);
    return px;
  }
};

}  // namespace menu_test
