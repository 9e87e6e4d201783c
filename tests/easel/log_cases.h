// What the package logs, shared by its tests on Linux (headless host) and on Windows (Win32
// under Wine, tests/windows/): the stored lines read off the ring, and calls with wrong
// arguments with the exact lines they must log there, in order. Needs only the package's
// internal header, so that it compiles against either window system.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "easel/internal.h"

// The stored log lines, oldest first, walked the way a repaint walks the ring.
inline std::vector<std::string> log_lines() {
  std::vector<std::string> lines;
  int slot = package.log_first;
  for (int count = 0; slot >= 0 && !(slot == package.log_next && count != 0); ++count) {
    const char* text = static_cast<const char*>(GlobalLock(package.log_lines[slot]));
    lines.push_back(text != nullptr ? text : "<none>");
    GlobalUnlock(package.log_lines[slot]);
    slot = (slot + 1) % LOG_CAPACITY;
  }
  return lines;
}

// The lines logged since `from` lines were stored.
inline std::vector<std::string> log_since(size_t from) {
  const std::vector<std::string> lines = log_lines();
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end());
}

// Shapes with wrong colours, radii and widths, logging on and then off: corrections come before
// the description, in the order of the arguments. Returns the lines they must log.
inline std::vector<std::string> draw_shapes_with_corrections() {
  EASEL_logging(1);
  check_colour(-1);
  EASEL_circle(30, 0, 0, -5);
  EASEL_line(99, 0, 0, 10, 0, -2);
  EASEL_triangle(99, 0, 0, 10, 0, 0, 10, -2);
  EASEL_rectangle(99, 0, 0, 10, 10, -2);
  EASEL_line(4, 0, 0, 1, 1, 0);
  EASEL_circle(22, 0, 0, 0);
  EASEL_rectangle(3, 10, -5, -10, 5, 0);
  EASEL_circle(2, 0, 0, INT_MIN);
  EASEL_logging(0);
  EASEL_circle(-7, 1, 1, 1);
  EASEL_rectangle(3, 0, 0, 1, 1, 0);
  return {
      "Illegal color -1; using RED.\n",
      "Illegal color 30; using RED.\n",
      "Radius of -5 not possible, using radius 5\n",
      "red circle at (0,0), radius 5\n",
      "Width of -2 not possible, using width 2\n",
      "Illegal color 99; using RED.\n",
      "red line from (0,0) to (10,0), width 2\n",
      "Illegal color 99; using RED.\n",
      "Width of -2 not possible, using width 2\n",
      "red triangle at (0,0), (10,0), (0,10)\n",
      "Illegal color 99; using RED.\n",
      "Width of -2 not possible, using width 2\n",
      "red rectangle with bounding box (0,10) to (10,0) with line width 2\n",
      "blue line from (0,0) to (1,1), width 0\n",
      "50% gray circle at (0,0), radius 0\n",
      "green rectangle with bounding box (-10,5) to (10,-5), filled\n",
      "Radius of -2147483648 not possible, using radius 2147483647\n",
      "red circle at (0,0), radius 2147483647\n",
      "Illegal color -7; using RED.\n",
  };
}

// Text with wrong sizes and colours, logging on: sizes are corrected before the colour.
inline std::vector<std::string> draw_text_with_corrections() {
  EASEL_logging(1);
  EASEL_text(0, 0, 0, -20, "a");
  EASEL_text(0, 0, 0, 127, "b");
  EASEL_text(0, 0, 0, 128, "c");
  EASEL_text(40, 0, 0, -300, "d");
  EASEL_text(1, 5, -6, 0, nullptr);
  return {
      "ptsize of -20 not possible, using ptsize 20\n",
      "black text at (0,0), \"a\"\n",
      "black text at (0,0), \"b\"\n",
      "ptsize of 128 not possible, using ptsize 127\n",
      "black text at (0,0), \"c\"\n",
      "ptsize of -300 not possible, using ptsize 300\n",
      "ptsize of 300 not possible, using ptsize 127\n",
      "Illegal color 40; using RED.\n",
      "red text at (0,0), \"d\"\n",
      "white text at (5,-6), \"\"\n",
  };
}
