// Text in the graphics image, plain or formatted, in one or more lines standing on the given
// position; and clearing the image to white inside a one-pixel frame.
#include <climits>
#include <cstring>

#include "internal.h"

namespace {

int clamp_count(size_t count) {
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

// Draws the lines of `text`: line k's cell top lies (k - 1) line heights below the position, so
// the first line stands on it.
void draw_lines(HDC dc, const DrawCommand& command, const char* text) {
  const size_t length = std::strlen(text);
  SIZE extent = {};
  GetTextExtentPointA(dc, text, clamp_count(length), &extent);
  const int64_t line_height = extent.cy;
  const int x = device_x(command.x1);
  const char* line = text;
  for (int64_t k = 0;; ++k) {
    const char* end = std::strchr(line, '\n');
    const size_t count = end != nullptr ? static_cast<size_t>(end - line) : std::strlen(line);
    TextOutA(dc, x, device_y(command.y1 - (k - 1) * line_height), line, clamp_count(count));
    if (end == nullptr) break;
    line = end + 1;
  }
}

}  // namespace

int draw_text(int colour, int x, int y, int size, const char* string) {
  if (string == nullptr) string = "";
  if (size < 0) {
    const int fixed = magnitude(size);
    EASEL_printf("ptsize of %d not possible, using ptsize %d\n", size, fixed);
    size = fixed;
  }
  if (size > MAX_TEXT_SIZE) {
    EASEL_printf("ptsize of %d not possible, using ptsize %d\n", size, MAX_TEXT_SIZE);
    size = MAX_TEXT_SIZE;
  }
  colour = check_colour(colour);
  if (package.logging_on) {
    EASEL_printf("%s text at (%d,%d), \"%s\"\n", colour_names[colour], x, y, string);
  }

  // The renderer draws from a private copy of the text. Without memory for it the text is not
  // drawn at all.
  const size_t bytes = std::strlen(string) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block == nullptr) return 1;
  void* copy = GlobalLock(block);
  if (copy == nullptr) {
    GlobalFree(block);
    return 1;
  }
  std::memcpy(copy, string, bytes);
  GlobalUnlock(block);

  const DrawCommand command = {.kind = DRAW_TEXT,
                               .colour = colour,
                               .x1 = x,
                               .y1 = y,
                               .x2 = size,
                               .y2 = reinterpret_cast<intptr_t>(block)};
  render_command(command);

  GlobalFree(block);
  return 1;
}

void render_text(const DrawCommand& command) {
  HDC dc = package.offscreen_dc;
  HGLOBAL block = reinterpret_cast<HGLOBAL>(command.y2);
  SetTextColor(dc, colour_table[command.colour]);
  const int previous_mode = GetBkMode(dc);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = CreateFontA(-command.x2, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  HGDIOBJ previous_font = SelectObject(dc, font);
  const char* text = static_cast<const char*>(GlobalLock(block));
  if (text != nullptr) {
    draw_lines(dc, command, text);
    GlobalUnlock(block);
  }
  SetBkMode(dc, previous_mode);
  SelectObject(dc, previous_font);
  DeleteObject(font);
}

int fill_image_white() {
  HDC dc = package.offscreen_dc;
  HBRUSH white = CreateSolidBrush(colour_table[BACKGROUND_COLOUR]);
  HGDIOBJ previous_brush = SelectObject(dc, white);
  // Drawn with the context's own pen, one pixel of black: it makes the frame.
  Rectangle(dc, 0, 0, IMAGE_WIDTH, IMAGE_HEIGHT);
  SelectObject(dc, previous_brush);
  DeleteObject(white);
  package.dirty = 1;
  return 1;
}

int EASEL_text(int colour, int x, int y, int size, const char* string) {
  return draw_text(colour, x, y, size, string);
}

int EASEL_printf_at(int colour, int x, int y, int size, const char* format, ...) {
  char buffer[FORMAT_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int count = format_message(buffer, format, args);
  va_end(args);
  EASEL_text(colour, x, y, size, buffer);
  return count;
}

int EASEL_clear(void) {
  usage_drawing("EASEL_clear");
  if (package.logging_on) EASEL_printf("Clearing the graphics window\n");
  return fill_image_white();
}
