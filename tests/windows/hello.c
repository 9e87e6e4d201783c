/* A first EASEL program for Windows in C, entered through WinMain: a red disc at the centre, three
   periodic steps, then it reads the disc's pixel back from the graphics window with Win32's own
   GetPixel (so <windows.h> and <easel.h> meet in one file) and ends with 0 if it is red. */
#include <easel.h>
#include <stdio.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command) {
  int32_t x = 0, y = 0;
  char key = 0;
  int steps = 0;
  HWND window;
  HDC dc;
  RECT client;
  COLORREF centre;

  EASEL_open(instance, previous_instance, command_line, show_command);
  EASEL_clear();
  EASEL_circle(2, 0, 0, 50);
  EASEL_printf_at(0, -100, 100, 20, "Hello from %s", "C");
  EASEL_animate(EASEL_ANIM_RUN);
  while (steps < 3) {
    int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind == EASEL_PERIODIC) ++steps;
  }
  window = FindWindowA(NULL, "EASEL Graphics");
  GetClientRect(window, &client);
  dc = GetDC(window);
  centre = GetPixel(dc, client.right / 2, client.bottom / 2);
  ReleaseDC(window, dc);
  printf("hello: %d periodic events, centre %06lx\n", steps, (unsigned long)centre);
  fflush(stdout);
  EASEL_close();
  return steps == 3 && centre == RGB(255, 0, 0) ? 0 : 1;
}
