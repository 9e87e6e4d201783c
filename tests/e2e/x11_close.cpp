// Asks a top-level X window to close the way a window manager's close box does: a
// WM_DELETE_WINDOW message of the WM_PROTOCOLS family. The end-to-end tests run without a
// window manager, and xdotool can only destroy a window, which is not what a user does.
// Usage: x11_close TITLE   (status 0 once a window of that exact title has been asked)
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {

Window find_window(Display* display, Window parent, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, parent, &name) != 0 && name != nullptr) {
    const bool same = std::strcmp(name, title) == 0;
    XFree(name);
    if (same) return parent;
  }
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root, &up, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    found = find_window(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: x11_close TITLE\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "x11_close: cannot open the X display\n");
    return 2;
  }
  const Window window = find_window(display, DefaultRootWindow(display), argv[1]);
  if (window == 0) {
    std::fprintf(stderr, "x11_close: no window titled \"%s\"\n", argv[1]);
    XCloseDisplay(display);
    return 1;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}
