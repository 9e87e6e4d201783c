// The shape primitives (circle, triangle, rectangle, line): each corrects impossible arguments
// with a log message, describes itself in the log while logging is on, and renders one
// DrawCommand into the off-screen image at once. render_command draws every kind of command.
#include <utility>

#include "internal.h"

namespace {

int corrected_width(int width) {
  if (width >= 0) return width;
  const int fixed = magnitude(width);
  EASEL_printf("Width of %d not possible, using width %d\n", width, fixed);
  return fixed;
}

// Rectangle and circle: the box covers both corner pixels, hence the added 1 on the far sides.
void render_box(const DrawCommand& command, bool ellipse) {
  const int left = device_x(command.x1);
  const int top = device_y(command.y1);
  const int right = device_x(static_cast<int64_t>(command.x2) + 1);
  const int bottom = device_y(static_cast<int64_t>(command.y2) - 1);
  if (ellipse) {
    Ellipse(package.offscreen_dc, left, top, right, bottom);
  } else {
    Rectangle(package.offscreen_dc, left, top, right, bottom);
  }
}

void render_triangle(const DrawCommand& command) {
  const POINT points[3] = {
      {device_x(command.x1), device_y(command.y1)},
      {device_x(command.x2), device_y(command.y2)},
      {device_x(command.x3), device_y(command.y3)},
  };
  Polygon(package.offscreen_dc, points, 3);
}

void render_shape(const DrawCommand& command) {
  HDC dc = package.offscreen_dc;
  const COLORREF rgb = colour_table[command.colour];
  HPEN pen = CreatePen(PS_SOLID, command.width, rgb);
  // A zero width fills the shape in the colour of its one-pixel outline.
  HBRUSH brush =
      command.width == 0 ? CreateSolidBrush(rgb) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HGDIOBJ previous_pen = SelectObject(dc, pen);
  HGDIOBJ previous_brush = SelectObject(dc, brush);
  if (command.kind == DRAW_TRIANGLE) {
    render_triangle(command);
  } else {
    render_box(command, command.kind == DRAW_CIRCLE);
  }
  SelectObject(dc, previous_pen);
  SelectObject(dc, previous_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void render_line(const DrawCommand& command) {
  HDC dc = package.offscreen_dc;
  HPEN pen = CreatePen(PS_SOLID, command.width, colour_table[command.colour]);
  HGDIOBJ previous_pen = SelectObject(dc, pen);
  MoveToEx(dc, device_x(command.x1), device_y(command.y1), nullptr);
  LineTo(dc, device_x(command.x2), device_y(command.y2));
  SelectObject(dc, previous_pen);
  DeleteObject(pen);
}

}  // namespace

int draw_circle(int colour, int x, int y, int radius) {
  colour = check_colour(colour);
  if (radius < 0) {
    const int fixed = magnitude(radius);
    EASEL_printf("Radius of %d not possible, using radius %d\n", radius, fixed);
    radius = fixed;
  }
  if (package.logging_on) {
    EASEL_printf("%s circle at (%d,%d), radius %d\n", colour_names[colour], x, y, radius);
  }
  const DrawCommand command = {.kind = DRAW_CIRCLE,
                               .colour = colour,
                               .width = 0,
                               .x1 = saturate(static_cast<int64_t>(x) - radius),
                               .y1 = saturate(static_cast<int64_t>(y) + radius),
                               .x2 = saturate(static_cast<int64_t>(x) + radius),
                               .y2 = saturate(static_cast<int64_t>(y) - radius)};
  render_command(command);
  return 1;
}

int draw_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  colour = check_colour(colour);
  width = corrected_width(width);
  if (package.logging_on) {
    EASEL_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", colour_names[colour], x1, y1, x2, y2,
                 x3, y3);
  }
  const DrawCommand command = {.kind = DRAW_TRIANGLE,
                               .colour = colour,
                               .width = width,
                               .x1 = x1,
                               .y1 = y1,
                               .x2 = x2,
                               .y2 = y2,
                               .x3 = x3,
                               .y3 = y3};
  render_command(command);
  return 1;
}

int draw_rectangle(int colour, int x1, int y1, int x2, int y2, int width) {
  // Upper left corner first, before anything is checked or logged.
  if (x1 > x2) std::swap(x1, x2);
  if (y1 < y2) std::swap(y1, y2);
  colour = check_colour(colour);
  width = corrected_width(width);
  if (package.logging_on) {
    if (width == 0) {
      EASEL_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n",
                   colour_names[colour], x1, y1, x2, y2);
    } else {
      EASEL_printf("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
                   colour_names[colour], x1, y1, x2, y2, width);
    }
  }
  const DrawCommand command = {.kind = DRAW_RECTANGLE,
                               .colour = colour,
                               .width = width,
                               .x1 = x1,
                               .y1 = y1,
                               .x2 = x2,
                               .y2 = y2};
  render_command(command);
  return 1;
}

int draw_line(int colour, int x1, int y1, int x2, int y2, int width) {
  // The line checks its width before its colour, unlike the other shapes.
  width = corrected_width(width);
  colour = check_colour(colour);
  if (package.logging_on) {
    EASEL_printf("%s line from (%d,%d) to (%d,%d), width %d\n", colour_names[colour], x1, y1, x2,
                 y2, width);
  }
  const DrawCommand command = {.kind = DRAW_LINE,
                               .colour = colour,
                               .width = width == 0 ? 1 : width,
                               .x1 = x1,
                               .y1 = y1,
                               .x2 = x2,
                               .y2 = y2};
  render_command(command);
  return 1;
}

void render_command(const DrawCommand& command) {
  switch (command.kind) {
    case DRAW_TRIANGLE:
    case DRAW_RECTANGLE:
    case DRAW_CIRCLE:
      render_shape(command);
      break;
    case DRAW_LINE:
      render_line(command);
      break;
    case DRAW_TEXT:
      render_text(command);
      break;
    default:
      break;
  }
  package.dirty = 1;
}

int EASEL_circle(int colour, int x, int y, int radius) {
  return draw_circle(colour, x, y, radius);
}

int EASEL_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  return draw_triangle(colour, x1, y1, x2, y2, x3, y3, width);
}

int EASEL_rectangle(int colour, int x1, int y1, int x2, int y2, int width) {
  return draw_rectangle(colour, x1, y1, x2, y2, width);
}

int EASEL_line(int colour, int x1, int y1, int x2, int y2, int width) {
  return draw_line(colour, x1, y1, x2, y2, width);
}
