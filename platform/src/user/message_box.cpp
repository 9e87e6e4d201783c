// MessageBoxA: the one thing a program says when it cannot go on. No window can be trusted to
// show it then, so it is one line on the standard error ("caption: text"), and the box's only
// button, OK, is taken as pressed.
#include <cstdio>

#include "internal.h"

int WINAPI MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "Error", text ? text : "");
  return IDOK;
}
