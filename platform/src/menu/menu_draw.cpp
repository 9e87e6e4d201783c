// Menus on screen, in the classic light-grey style: the bar is drawn into the window's own top
// rows; an open popup is drawn only over a copy of the window's pixels made for presenting, so
// the client area under it keeps its pixels and nothing needs repainting when it closes.
#include <algorithm>
#include <cstring>

#include "menu/menu_private.h"

namespace plat {
namespace {

constexpr uint32_t FACE = 0xC0C0C0;
constexpr uint32_t LIGHT = 0xFFFFFF;
constexpr uint32_t SHADOW = 0x808080;
constexpr uint32_t DARK = 0x000000;
constexpr uint32_t TEXT = 0x000000;
constexpr uint32_t HIGHLIGHT = 0x000080;
constexpr uint32_t HIGHLIGHT_TEXT = 0xFFFFFF;

// The tick shown left of a checked item.
constexpr const char* CHECK_MARK[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};
constexpr int CHECK_SIZE = 7;

// The part of `a` inside `b`; (0, 0, 0, 0) when there is none.
RECT common(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, &a, &b);
  return r;
}

void fill(const Surface& s, const RECT& clip, const RECT& r, uint32_t pixel) {
  RECT box;
  if (IntersectRect(&box, &r, &clip)) fill_surface(s, box, pixel);
}

// A label's text with its mnemonic underlined, the top of the text cell at y.
void draw_label_text(const Surface& s, const RECT& clip, const MenuLabel& label, int x, int y,
                     uint32_t pixel) {
  const MenuFont& f = menu_font();
  int n = int(std::min<size_t>(label.text.size(), 0x7FFFFFFF));
  draw_text_on_surface(s, clip, f.font, x, y, label.text.data(), n, pixel);
  if (label.mnemonic_pos < 0) return;
  int ux = x + text_width(f.font, label.text.data(), label.mnemonic_pos);
  int uw = text_width(f.font, label.text.data() + label.mnemonic_pos, 1);
  int uy = y + std::min(f.ascent + 1, f.height - 1);
  fill(s, clip, {ux, uy, ux + uw, uy + 1}, pixel);
}

void draw_plain_text(const Surface& s, const RECT& clip, const std::string& text, int x, int y,
                     uint32_t pixel) {
  int n = int(std::min<size_t>(text.size(), 0x7FFFFFFF));
  draw_text_on_surface(s, clip, menu_font().font, x, y, text.data(), n, pixel);
}

void draw_check_mark(const Surface& s, const RECT& clip, int cx, int cy, uint32_t pixel) {
  int left = cx - CHECK_SIZE / 2;
  int top = cy - CHECK_SIZE / 2;
  for (int row = 0; row < CHECK_SIZE; ++row) {
    for (int col = 0; col < CHECK_SIZE; ++col) {
      if (CHECK_MARK[row][col] != '#') continue;
      fill(s, clip, {left + col, top + row, left + col + 1, top + row + 1}, pixel);
    }
  }
}

// A small arrow pointing right, for a popup inside a popup.
void draw_arrow(const Surface& s, const RECT& clip, int x, int cy, uint32_t pixel) {
  for (int i = 0; i < 4; ++i) fill(s, clip, {x + i, cy - 3 + i, x + i + 1, cy + 4 - i}, pixel);
}

// Raised edge: light on the top and left, dark on the bottom and right, two pixels deep.
void draw_raised_edge(const Surface& s, const RECT& clip, const RECT& r) {
  fill(s, clip, {r.left, r.top, r.right - 1, r.top + 1}, FACE);
  fill(s, clip, {r.left, r.top, r.left + 1, r.bottom - 1}, FACE);
  fill(s, clip, {r.left, r.bottom - 1, r.right, r.bottom}, DARK);
  fill(s, clip, {r.right - 1, r.top, r.right, r.bottom}, DARK);
  fill(s, clip, {r.left + 1, r.top + 1, r.right - 2, r.top + 2}, LIGHT);
  fill(s, clip, {r.left + 1, r.top + 1, r.left + 2, r.bottom - 2}, LIGHT);
  fill(s, clip, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, SHADOW);
  fill(s, clip, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, SHADOW);
}

void draw_bar(const Surface& s, const Menu& bar, const MenuView* view) {
  RECT area{0, 0, s.width, std::min(MENU_BAR_HEIGHT, s.height)};
  fill(s, area, area, FACE);
  const MenuFont& f = menu_font();
  int y = (MENU_BAR_HEIGHT - f.height) / 2;
  std::vector<TitleBox> boxes = bar_layout(bar);
  for (size_t i = 0; i < bar.items.size(); ++i) {
    const MenuItem& item = bar.items[i];
    if (item.flags & MF_SEPARATOR) continue;
    RECT box = common({boxes[i].left, 1, boxes[i].right, MENU_BAR_HEIGHT - 1}, area);
    MenuLabel label = parse_menu_label(item.text);
    int x = boxes[i].left + (boxes[i].right - boxes[i].left -
                             text_width(f.font, label.text.data(), int(label.text.size()))) /
                                2;
    if (view && view->title == int(i)) {
      fill(s, box, box, HIGHLIGHT);
      draw_label_text(s, box, label, x, y, HIGHLIGHT_TEXT);
    } else if (item.flags & MF_GRAYED) {
      draw_label_text(s, box, label, x + 1, y + 1, LIGHT);
      draw_label_text(s, box, label, x, y, SHADOW);
    } else {
      draw_label_text(s, box, label, x, y, TEXT);
    }
  }
}

void draw_popup_item(const Surface& s, const RECT& clip, const PopupLayout& layout,
                     const MenuItem& item, const RECT& row, bool highlighted) {
  const MenuFont& f = menu_font();
  RECT area = common(row, clip);
  if (item.flags & MF_SEPARATOR) {
    int y = row.top + (row.bottom - row.top) / 2 - 1;
    fill(s, area, {row.left + 1, y, row.right - 1, y + 1}, SHADOW);
    fill(s, area, {row.left + 1, y + 1, row.right - 1, y + 2}, LIGHT);
    return;
  }
  if (highlighted) fill(s, area, row, HIGHLIGHT);
  MenuLabel label = parse_menu_label(item.text);
  int y = row.top + (row.bottom - row.top - f.height) / 2;
  int shortcut_x =
      layout.shortcut_right - text_width(f.font, label.shortcut.data(), int(label.shortcut.size()));
  int cy = (row.top + row.bottom) / 2;
  // Greyed items are embossed: a white copy one pixel down and right under a grey one.
  bool embossed = (item.flags & MF_GRAYED) && !highlighted;
  int passes = embossed ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    int d = embossed && pass == 0 ? 1 : 0;
    uint32_t pixel = highlighted ? HIGHLIGHT_TEXT : embossed ? (d ? LIGHT : SHADOW) : TEXT;
    draw_label_text(s, area, label, layout.label_x + d, y + d, pixel);
    draw_plain_text(s, area, label.shortcut, shortcut_x + d, y + d, pixel);
    if (item.flags & MF_CHECKED) {
      draw_check_mark(s, area, (row.left + layout.label_x) / 2 + d, cy + d, pixel);
    }
    if (item.flags & MF_POPUP) draw_arrow(s, area, row.right - 10 + d, cy + d, pixel);
  }
}

void draw_popup(const Surface& s, const Menu& popup, const PopupLayout& layout, int highlighted) {
  RECT all{0, 0, s.width, s.height};
  RECT frame = common(layout.frame, all);
  fill(s, frame, frame, FACE);
  draw_raised_edge(s, frame, layout.frame);
  for (size_t i = 0; i < popup.items.size(); ++i) {
    const RECT& row = layout.items[i];
    if (row.top >= frame.bottom) break;
    draw_popup_item(s, frame, layout, popup.items[i], row, int(i) == highlighted);
  }
}

}  // namespace

void draw_menu_bar(HWND hwnd) {
  Surface surface;
  RECT client;
  const Menu* bar = find_menu(window_menu(hwnd));
  if (!bar || !window_surface(hwnd, &surface, &client) || !surface.pixels) return;
  MenuView view;
  draw_bar(surface, *bar, menu_view(hwnd, &view) ? &view : nullptr);
  window_changed(hwnd);
}

bool menu_compose_overlay(HWND hwnd, const Surface& window_pixels, Surface* out) {
  MenuView view;
  if (!out || !window_pixels.pixels || window_pixels.width <= 0 || window_pixels.height <= 0 ||
      !menu_view(hwnd, &view) || !view.popup_open) {
    return false;
  }
  const Menu* bar = find_menu(window_menu(hwnd));
  const MenuItem& title = bar->items[size_t(view.title)];
  const Menu* popup = find_menu(title.popup);
  int w = window_pixels.width;
  int h = window_pixels.height;
  std::vector<uint32_t>& overlay = menu_state().overlay;
  overlay.resize(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    std::memcpy(&overlay[size_t(y) * size_t(w)],
                window_pixels.pixels + size_t(y) * size_t(window_pixels.stride),
                size_t(w) * sizeof(uint32_t));
  }
  *out = Surface{overlay.data(), w, h, w};
  draw_bar(*out, *bar, &view);
  draw_popup(*out, *popup, popup_layout(*popup, bar_layout(*bar)[size_t(view.title)].left, w),
             view.item);
  return true;
}

}  // namespace plat
