// A first EASEL program for Windows in C++ with a main() of its own, which opens the package
// itself: a red disc at the centre, three periodic steps, then it reads the disc's pixel back
// from the graphics window with Win32's own GetPixel and ends with 0 if it is red.
#include <windows.h>

#include <easel.h>
#include <cstdio>

int main() {
  int32_t x = 0, y = 0;
  char key = 0;
  int steps = 0;
  EASEL_open(nullptr, nullptr, nullptr, 0);
  EASEL_clear();
  EASEL_circle(2, 0, 0, 50);
  EASEL_printf_at(0, -100, 100, 20, "Hello from %s", "C++");
  EASEL_animate(EASEL_ANIM_RUN);
  while (steps < 3) {
    const int kind = EASEL_await_event(&x, &y, &key);
    if (kind == EASEL_QUIT) break;
    if (kind == EASEL_PERIODIC) ++steps;
  }
  HWND window = FindWindowA(nullptr, "EASEL Graphics");
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  const COLORREF centre = GetPixel(dc, client.right / 2, client.bottom / 2);
  ReleaseDC(window, dc);
  std::printf("hello: %d periodic events, centre %06lx\n", steps,
              static_cast<unsigned long>(centre));
  std::fflush(stdout);
  EASEL_close();
  return steps == 3 && centre == RGB(255, 0, 0) ? 0 : 1;
}
