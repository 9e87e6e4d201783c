/* GDI probes, reported rather than compared line for line: text metrics, extents and the boxes
   TextOutA paints with the package's faces and sizes (glyphs depend on the font engine), and the
   blit calls the package makes: ScrollDC and its uncovered area, BitBlt from partly outside its
   source, GetPixel outside the bitmap. Built and run as probes.c is. */
#include <stdio.h>
#include <string.h>

#include "probe_input.h"

#define W 400
#define H 120

static HDC canvas(HBITMAP* bitmap, COLORREF colour) {
  HDC dc = CreateCompatibleDC(NULL);
  HDC screen = GetDC(NULL);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ old;
  *bitmap = CreateCompatibleBitmap(screen ? screen : dc, W, H);
  if (screen) ReleaseDC(NULL, screen);
  SelectObject(dc, *bitmap);
  old = SelectObject(dc, brush);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, W + 1, H + 1);
  SelectObject(dc, old);
  DeleteObject(brush);
  return dc;
}

/* The box of pixels that are not `background`, as left,top,right,bottom (exclusive). */
static void box_of(HDC dc, COLORREF background, const char* name) {
  int x, y, l = W, t = H, r = -1, b = -1;
  for (y = 0; y < H; ++y)
    for (x = 0; x < W; ++x)
      if (GetPixel(dc, x, y) != background) {
        if (x < l) l = x;
        if (y < t) t = y;
        if (x > r) r = x;
        if (y > b) b = y;
      }
  printf("%s=%d,%d,%d,%d\n", name, l, t, r + 1, b + 1);
}

static void probe_font(HFONT font, const char* name) {
  static const char text[] = "Click a button to control CHILLY!";
  HBITMAP bitmap;
  HDC dc = canvas(&bitmap, RGB(255, 255, 255));
  TEXTMETRICA tm;
  SIZE size;
  char label[96];
  SelectObject(dc, font);
  GetTextMetricsA(dc, &tm);
  printf("text.%s.metrics=height %ld ascent %ld descent %ld leading %ld ave %ld max %ld\n", name,
         (long)tm.tmHeight, (long)tm.tmAscent, (long)tm.tmDescent, (long)tm.tmExternalLeading,
         (long)tm.tmAveCharWidth, (long)tm.tmMaxCharWidth);
  GetTextExtentPointA(dc, text, (int)strlen(text), &size);
  printf("text.%s.extent=%ld x %ld\n", name, (long)size.cx, (long)size.cy);
  GetTextExtentPointA(dc, "W", 1, &size);
  printf("text.%s.advance_W=%ld\n", name, (long)size.cx);
  GetTextExtentPointA(dc, "i", 1, &size);
  printf("text.%s.advance_i=%ld\n", name, (long)size.cx);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, 10, 20, text, (int)strlen(text));
  snprintf(label, sizeof label, "text.%s.transparent_ink", name);
  box_of(dc, RGB(255, 255, 255), label);
  DeleteDC(dc);
  DeleteObject(bitmap);

  dc = canvas(&bitmap, RGB(255, 255, 255));
  SelectObject(dc, font);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 0));
  TextOutA(dc, 10, 20, text, (int)strlen(text));
  snprintf(label, sizeof label, "text.%s.opaque_cell", name);
  box_of(dc, RGB(255, 255, 255), label);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

static void probe_blits(void) {
  HBITMAP bitmap, source_bitmap;
  HDC dc = canvas(&bitmap, RGB(255, 255, 255));
  HDC source = canvas(&source_bitmap, RGB(255, 0, 0));
  RECT update;
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  memset(&update, 0, sizeof update);
  /* A blue band at rows 100..119, scrolled up by 30 over the whole DC. */
  SelectObject(dc, blue);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 100, W + 1, H + 1);
  printf("scroll.result=%d\n", ScrollDC(dc, 0, -30, NULL, NULL, NULL, &update) ? 1 : 0);
  printf("scroll.update=%ld,%ld,%ld,%ld\n", (long)update.left, (long)update.top, (long)update.right,
         (long)update.bottom);
  printf("scroll.moved_row_75=%06lx\n", (unsigned long)GetPixel(dc, 5, 75));
  printf("scroll.uncovered_row_110=%06lx\n", (unsigned long)GetPixel(dc, 5, 110));
  /* From partly outside the source: what lies outside the source is not copied. */
  BitBlt(dc, 0, 0, 50, 50, source, W - 20, -10, SRCCOPY);
  printf("blit.inside_source=%06lx\n", (unsigned long)GetPixel(dc, 5, 15));
  printf("blit.right_of_source=%06lx\n", (unsigned long)GetPixel(dc, 30, 15));
  printf("blit.above_source=%06lx\n", (unsigned long)GetPixel(dc, 5, 5));
  /* Onto the destination's edge. */
  printf("blit.past_destination=%d\n", BitBlt(dc, W - 10, H - 10, 50, 50, source, 0, 0, SRCCOPY));
  printf("blit.corner=%06lx\n", (unsigned long)GetPixel(dc, W - 1, H - 1));
  printf("getpixel.outside=%08lx\n", (unsigned long)GetPixel(dc, W, 0));
  printf("getpixel.negative=%08lx\n", (unsigned long)GetPixel(dc, -1, 5));
  DeleteDC(dc);
  DeleteDC(source);
  DeleteObject(bitmap);
  DeleteObject(source_bitmap);
  DeleteObject(blue);
}

/* ScrollDC on a window DC, as the package's text window scrolls: the uncovered band. */
static void probe_window_scroll(void) {
  WNDCLASSA wc;
  HWND hwnd;
  HDC dc;
  RECT update;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
  wc.lpszClassName = "GdiProbe";
  RegisterClassA(&wc);
  hwnd = CreateWindowA("GdiProbe", "Probe", 0x80000000L, 0, 0, W, H, NULL, NULL, NULL, NULL);
  ShowWindow(hwnd, SW_SHOW);
  dc = GetDC(hwnd);
  memset(&update, 0, sizeof update);
  printf("scroll.window.result=%d\n", ScrollDC(dc, 0, -30, NULL, NULL, NULL, &update) ? 1 : 0);
  printf("scroll.window.update=%ld,%ld,%ld,%ld\n", (long)update.left, (long)update.top,
         (long)update.right, (long)update.bottom);
  ReleaseDC(hwnd, dc);
  DestroyWindow(hwnd);
}

int main(void) {
  static const int sizes[] = {11, 12, 15, 16, 40};
  size_t i;
  probe_start();
  probe_font((HFONT)GetStockObject(ANSI_FIXED_FONT), "ansi_fixed");
  for (i = 0; i < sizeof sizes / sizeof sizes[0]; ++i) {
    char name[32];
    HFONT font = CreateFontA(-sizes[i], 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
    snprintf(name, sizeof name, "easel_font_%d", sizes[i]);
    probe_font(font, name);
    DeleteObject(font);
  }
  probe_blits();
  probe_window_scroll();
  fflush(stdout);
  return 0;
}
