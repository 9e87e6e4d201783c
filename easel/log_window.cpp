// The log: EASEL_printf appends one formatted line at the bottom of the text window, scrolling
// the earlier lines up, and keeps the last LOG_CAPACITY lines in a ring of movable memory blocks
// so that the window can repaint itself. The text window passes its keys on to the graphics
// window.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "internal.h"

namespace {

// EASEL_LOG=stderr also writes every log line to standard error, where a terminal keeps the
// lines that the 25-line window has scrolled away. Read once; an unknown value is said once. A
// plain flag rather than a function's static: the package needs nothing of the C++ runtime, so
// a C program links its static library alone.
int log_setting = -1;  // -1 until read, then 0 or 1

bool log_to_stderr() {
  if (log_setting < 0) {
    const char* value = std::getenv("EASEL_LOG");
    log_setting = value != nullptr && std::strcmp(value, "stderr") == 0 ? 1 : 0;
    if (value != nullptr && *value != '\0' && log_setting == 0) {
      std::fprintf(stderr,
                   "EASEL_LOG=%s is not known and is ignored; EASEL_LOG=stderr writes the log to "
                   "standard error\n",
                   value);
    }
  }
  return log_setting == 1;
}

void copy_to_stderr(const char* text, size_t length) {
  std::fwrite(text, 1, length, stderr);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

int next_slot(int slot) {
  return (slot + 1) % LOG_CAPACITY;
}

// Stores a copy of the line in the ring, the oldest line making room when the ring is full.
// Without memory for the copy the line is only drawn, not kept for repainting.
void store_line(const char* text, size_t length) {
  if (package.log_first == package.log_next) {
    GlobalFree(package.log_lines[package.log_first]);
    package.log_lines[package.log_first] = nullptr;
    package.log_first = next_slot(package.log_first);
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  if (block == nullptr) return;
  void* copy = GlobalLock(block);
  if (copy == nullptr) {
    GlobalFree(block);
    return;
  }
  package.log_lines[package.log_next] = block;
  std::memcpy(copy, text, length + 1);
  GlobalUnlock(block);
  if (package.log_first < 0) package.log_first = package.log_next;
  package.log_next = next_slot(package.log_next);
}

// Draws the stored lines again, oldest first, so that the newest ends at the bottom.
void replay_log() {
  int slot = package.log_first;
  for (int count = 0;; ++count) {
    if ((slot == package.log_next && count != 0) || slot < 0) return;
    HGLOBAL block = package.log_lines[slot];
    const char* text = static_cast<const char*>(GlobalLock(block));
    if (text != nullptr) {
      // Drawing cuts the line's newline off in place: the stored line must keep it, so that
      // every repaint draws the same.
      char line[FORMAT_BUFFER_SIZE];
      std::strncpy(line, text, sizeof line - 1);
      line[sizeof line - 1] = '\0';
      GlobalUnlock(block);
      log_draw_line(line);
    }
    slot = next_slot(slot);
  }
}

}  // namespace

int format_message(char* buffer, const char* format, va_list args) {
  if (format == nullptr) format = "";
  const int count = std::vsnprintf(buffer, FORMAT_BUFFER_SIZE, format, args);
  if (count < 0) {
    buffer[0] = '\0';
    return count;
  }
  return count < FORMAT_BUFFER_SIZE ? count : FORMAT_BUFFER_SIZE - 1;
}

int EASEL_printf(const char* format, ...) {
  char buffer[FORMAT_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int count = format_message(buffer, format, args);
  va_end(args);
  const size_t length = std::strlen(buffer);
  if (log_to_stderr()) copy_to_stderr(buffer, length);
  store_line(buffer, length);
  if (runner_hooks.log_line) runner_hooks.log_line(buffer);
  log_draw_line(buffer);
  return count;
}

void log_draw_line(char* text) {
  // Before the package is open there is no window to draw in; the line is only stored.
  if (package.text_window == nullptr) return;
  HDC dc = GetDC(package.text_window);
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  const int line_height = metrics.tmHeight + metrics.tmExternalLeading;

  ScrollDC(dc, 0, -line_height, nullptr, nullptr, nullptr, nullptr);

  RECT client = {};
  GetClientRect(package.text_window, &client);
  HBRUSH background = CreateSolidBrush(GetBkColor(dc));
  HGDIOBJ previous_brush = SelectObject(dc, background);
  HGDIOBJ previous_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, client.left, client.bottom - line_height, client.right, client.bottom + 1);
  SelectObject(dc, previous_pen);
  SelectObject(dc, previous_brush);
  DeleteObject(background);

  size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n') {
    text[length - 1] = '\0';
    length -= 1;
  }
  TextOutA(dc, client.left + 5, client.bottom - line_height, text, static_cast<int>(length));
  ReleaseDC(package.text_window, dc);
}

LRESULT CALLBACK text_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      replay_log();
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      // So that typing and the Ctrl commands work while the log window has the keyboard.
      PostMessageA(package.graphics_window, message, wparam, lparam);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
