// What the end-to-end tests need of an X server beyond xdotool, which runs without a window
// manager: asking a top-level window to close the way a close box does (a WM_DELETE_WINDOW
// message of the WM_PROTOCOLS family; xdotool can only destroy a window, which is not what a
// user does), and setting the session's resources, where a desktop puts its scale (Xft.dpi).
// Usage: x11_tool close TITLE        (status 0 once a window of that exact title was asked)
//        x11_tool resources TEXT     (replaces the root window's RESOURCE_MANAGER)
#include <X11/Xatom.h>
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

int close_window(Display* display, const char* title) {
  const Window window = find_window(display, DefaultRootWindow(display), title);
  if (window == 0) {
    std::fprintf(stderr, "x11_tool: no window titled \"%s\"\n", title);
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
  return 0;
}

int set_resources(Display* display, const char* text) {
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(text),
                  int(std::strlen(text)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
  const bool resources = argc == 3 && std::strcmp(argv[1], "resources") == 0;
  if (!close && !resources) {
    std::fprintf(stderr, "usage: x11_tool close TITLE | x11_tool resources TEXT\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "x11_tool: cannot open the X display\n");
    return 2;
  }
  const int status = close ? close_window(display, argv[2]) : set_resources(display, argv[2]);
  XSync(display, False);
  XCloseDisplay(display);
  return status;
}
