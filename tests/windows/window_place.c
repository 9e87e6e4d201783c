/* Where a top-level window of a running program is, as Windows itself says: the window's outer
   rectangle and its client area, in screen pixels. The end-to-end tests under Wine find the
   game's client area with it (Wine's title bar, frame and menu bar are sized by Wine's own
   metrics), then read pixels off screenshots at the points the game's geometry fixes.
   Usage: window_place TITLE
   Prints "LEFT TOP RIGHT BOTTOM CLIENT_LEFT CLIENT_TOP CLIENT_WIDTH CLIENT_HEIGHT" and exits 0;
   a window of that exact title that is not there gives one line on stderr and status 1. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: window_place TITLE\n");
    return 2;
  }
  HWND window = FindWindowA(NULL, argv[1]);
  RECT outer, client;
  POINT corner = {0, 0};
  if (window == NULL || !GetWindowRect(window, &outer) || !GetClientRect(window, &client) ||
      !ClientToScreen(window, &corner)) {
    fprintf(stderr, "window_place: no window titled \"%s\"\n", argv[1]);
    return 1;
  }
  printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", outer.left, outer.top, outer.right, outer.bottom,
         corner.x, corner.y, client.right, client.bottom);
  return 0;
}
