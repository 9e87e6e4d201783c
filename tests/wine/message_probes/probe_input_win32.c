/* Win32 side of the probes' input: SendInput, as a user's keyboard and mouse would. */
#include "probe_input.h"

void probe_start(void) {}

void probe_key(HWND hwnd, unsigned vk, int ch, int down) {
  INPUT in;
  (void)ch;
  if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
  ZeroMemory(&in, sizeof in);
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = (WORD)vk;
  in.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

static void click_screen(HWND hwnd, POINT p);

void probe_click(HWND hwnd, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(hwnd, &p);
  click_screen(hwnd, p);
}

void probe_menu_click(HWND hwnd, int x) {
  RECT r;
  POINT p;
  GetWindowRect(hwnd, &r);
  p.x = r.left + x;
  p.y = r.top + GetSystemMetrics(SM_CYMENU) / 2;
  click_screen(hwnd, p);
}

static void click_screen(HWND hwnd, POINT p) {
  INPUT in[2];
  int i;
  if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
  SetCursorPos(p.x, p.y);
  ZeroMemory(in, sizeof in);
  for (i = 0; i < 2; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in[i].mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | (i == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  }
  SendInput(2, in, sizeof in[0]);
}
