/* Message probes: small Win32 programs, each asking one question about how messages are sent,
   printed as "name=value" lines. Built with mingw-w64 against <windows.h> and run under Wine, and
   natively against our window system on the headless host; compare_probes.sh compares the two
   outputs. Input comes from probe_input (SendInput on Win32, scheduled input on ours). */
#include <stdio.h>
#include <string.h>

#include "probe_input.h"

#ifndef WS_POPUP
#define WS_POPUP 0x80000000L
#endif

static HWND probe_window;
static int ticks_in_proc;
static int dispatch_depth;
static int ticks_inside_dispatch;
static int escapes_sent;

static LRESULT CALLBACK probe_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_TIMER) {
    ++ticks_in_proc;
    if (dispatch_depth > 0) {
      /* Inside the dispatch of the key or press that opened the menu: its own loop runs. */
      ++ticks_inside_dispatch;
      if (ticks_inside_dispatch == 3 && !escapes_sent) {
        escapes_sent = 1;
        probe_key(hwnd, VK_ESCAPE, 27, 1);
        probe_key(hwnd, VK_ESCAPE, 27, 0);
        probe_key(hwnd, VK_ESCAPE, 27, 1);
        probe_key(hwnd, VK_ESCAPE, 27, 0);
      }
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

static HWND make_window(DWORD style, HMENU menu) {
  HWND hwnd = CreateWindowA("Probe", "Probe", style, 0, 0, 200, 150, NULL, menu, NULL, NULL);
  MSG m;
  ShowWindow(hwnd, SW_SHOW);
  while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  probe_window = hwnd;
  return hwnd;
}

static void drain(void) {
  MSG m;
  while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

static const char* name_of(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_COMMAND:
      return "WM_COMMAND";
    default:
      return NULL;
  }
}

static void probe_translate(void) {
  HWND hwnd = make_window(WS_POPUP, NULL);
  const struct {
    const char* name;
    UINT message;
    WPARAM vk;
  } cases[] = {
      {"keydown_letter", WM_KEYDOWN, 'A'},
      {"keyup_letter", WM_KEYUP, 'A'},
      {"keydown_arrow", WM_KEYDOWN, VK_LEFT},
      {"keyup_arrow", WM_KEYUP, VK_LEFT},
      {"syskeydown_f10", WM_SYSKEYDOWN, VK_F10},
      {"syskeyup_f10", WM_SYSKEYUP, VK_F10},
      {"char", WM_CHAR, 'a'},
      {"lbuttondown", WM_LBUTTONDOWN, 0},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    MSG m;
    memset(&m, 0, sizeof m);
    m.hwnd = hwnd;
    m.message = cases[i].message;
    m.wParam = cases[i].vk;
    m.lParam = 1;
    printf("translate.%s=%d\n", cases[i].name, TranslateMessage(&m) ? 1 : 0);
  }
  drain();
  DestroyWindow(hwnd);
}

/* A click the program has not taken, then a key: a peek for key messages finds the key. */
static void probe_key_filter(void) {
  HWND hwnd = make_window(WS_POPUP, NULL);
  MSG m;
  int found;
  probe_click(hwnd, 20, 20);
  probe_key(hwnd, 'K', 'k', 1);
  probe_key(hwnd, 'K', 'k', 0);
  found = PeekMessageA(&m, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);
  printf("key_filter.found=%d\n", found ? 1 : 0);
  if (found) printf("key_filter.message=%s wParam=%c\n", name_of(m.message), (int)m.wParam);
  printf("key_filter.then=");
  while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
    if (name_of(m.message)) printf("%s ", name_of(m.message));
    DispatchMessageA(&m);
  }
  printf("\n");
  DestroyWindow(hwnd);
}

static void probe_wait(void) {
  HWND hwnd = make_window(WS_POPUP, NULL);
  MSG m;
  SetTimer(hwnd, 1, 1000, NULL);
  /* Posted and not looked at: WaitMessage returns before the tick. */
  PostMessageA(hwnd, WM_USER, 0, 0);
  WaitMessage();
  printf("wait.unseen_message_returns_before_the_tick=%d\n",
         PeekMessageA(&m, hwnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) ? 0 : 1);
  /* Seen by a peek that left it there: WaitMessage waits for what comes next (the tick). */
  PeekMessageA(&m, NULL, 0, 0, PM_NOREMOVE);
  printf("wait.peeked=%s\n", m.message == WM_USER ? "WM_USER" : "other");
  WaitMessage();
  printf("wait.seen_message_waits_for_the_tick=%d\n",
         PeekMessageA(&m, hwnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) ? 1 : 0);
  KillTimer(hwnd, 1);
  drain();
  DestroyWindow(hwnd);
}

static void fill(HDC dc, COLORREF colour, int right, int bottom) {
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, -1, -1, right, bottom);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(brush);
}

static void print_pixels(const char* when, HWND hwnd) {
  static const struct {
    const char* name;
    int x, y;
  } points[] = {
      {"in_first", 12, 12}, {"in_second", 35, 8}, {"between", 15, 7}, {"outside", 60, 60}};
  HDC dc = GetDC(hwnd);
  size_t i;
  for (i = 0; i < sizeof points / sizeof points[0]; ++i)
    printf("paint.%s.%s=%06lx\n", when, points[i].name,
           (unsigned long)GetPixel(dc, points[i].x, points[i].y));
  ReleaseDC(hwnd, dc);
}

/* Two rectangles invalidated: what BeginPaint erases, rcPaint, and where its DC draws. */
static void probe_begin_paint(void) {
  HWND hwnd = make_window(WS_POPUP, NULL);
  RECT a = {10, 10, 20, 20}, b = {30, 5, 40, 15};
  PAINTSTRUCT ps;
  MSG m;
  HDC dc = GetDC(hwnd);
  fill(dc, RGB(0, 0, 255), 201, 151);
  ReleaseDC(hwnd, dc);
  InvalidateRect(hwnd, &a, TRUE);
  InvalidateRect(hwnd, &b, TRUE);
  printf("paint.message=%d\n", PeekMessageA(&m, hwnd, WM_PAINT, WM_PAINT, PM_REMOVE) ? 1 : 0);
  BeginPaint(hwnd, &ps);
  printf("paint.rcPaint=%ld,%ld,%ld,%ld\n", (long)ps.rcPaint.left, (long)ps.rcPaint.top,
         (long)ps.rcPaint.right, (long)ps.rcPaint.bottom);
  print_pixels("erased", hwnd);
  fill(ps.hdc, RGB(0, 255, 0), 201, 151);
  EndPaint(hwnd, &ps);
  print_pixels("drawn", hwnd);
  DestroyWindow(hwnd);
}

/* The menu opened by F10 and by a press on the bar: the program's loop gets nothing while it is
   open; the timer's ticks reach the procedure inside the menu's own loop. */
static void probe_modal_menu(int by_mouse) {
  const char* how = by_mouse ? "mouse" : "f10";
  HMENU bar = CreateMenu(), popup = CreatePopupMenu();
  HWND hwnd;
  MSG m;
  int outer_while_open = 0, commands = 0;
  AppendMenuA(popup, MF_STRING, 8, "&Quit");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, "&Run");
  hwnd = make_window(WS_OVERLAPPEDWINDOW, bar);
  ticks_in_proc = ticks_inside_dispatch = escapes_sent = 0;
  SetTimer(hwnd, 1, 50, NULL);
  if (by_mouse)
    probe_menu_click(hwnd, 12);
  else {
    probe_key(hwnd, VK_F10, 0, 1);
    probe_key(hwnd, VK_F10, 0, 0);
  }
  /* The program's loop, bounded: until the menu has been closed and a tick came after it. */
  while (!escapes_sent || ticks_in_proc <= ticks_inside_dispatch) {
    if (!PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (m.message == WM_COMMAND) ++commands;
    /* A tick that reaches the procedure while another message is being dispatched came from a
       loop inside that dispatch: the menu's. */
    if (m.message != WM_TIMER) ++dispatch_depth;
    TranslateMessage(&m);
    DispatchMessageA(&m);
    if (m.message != WM_TIMER) --dispatch_depth;
    if (ticks_inside_dispatch > 0 && !escapes_sent) ++outer_while_open;
    if (ticks_in_proc > 40) break; /* two seconds: the menu never opened */
  }
  printf("menu.%s.ticks_reach_the_procedure_inside_the_menu_loop=%d\n", how,
         ticks_inside_dispatch >= 3);
  printf("menu.%s.program_loop_messages_while_open=%d\n", how, outer_while_open);
  printf("menu.%s.commands=%d\n", how, commands);
  KillTimer(hwnd, 1);
  drain();
  DestroyWindow(hwnd);
}

int main(void) {
  WNDCLASSA wc;
  probe_start();
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = probe_proc;
  wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = "Probe";
  RegisterClassA(&wc);
  probe_translate();
  probe_key_filter();
  probe_wait();
  probe_begin_paint();
  probe_modal_menu(0);
  probe_modal_menu(1);
  fflush(stdout);
  return 0;
}
