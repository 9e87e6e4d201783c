// Item labels and the geometry of the menu bar and of popups. Drawing and hit-testing both take
// their boxes from here, so what the user sees is what the pointer finds. Sums are done in 64
// bits and clamped, so absurd texts or item counts give big boxes, never overflow.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "menu/menu_private.h"

namespace plat {
namespace {

constexpr int BAR_PAD = 8;        // left and right of a bar title's text
constexpr int BAR_GAP = 12;       // width of a separator in the bar
constexpr int POPUP_BORDER = 3;   // raised edge and a pixel of face around the items
constexpr int CHECK_COLUMN = 18;  // room for the check mark left of the texts
constexpr int SHORTCUT_GAP = 24;  // between the longest text and the shortcut column
constexpr int RIGHT_PAD = 14;     // right of the texts (a popup's arrow goes there)
constexpr int MIN_TEXT_WIDTH = 60;
constexpr int SEPARATOR_HEIGHT = 8;
constexpr int64_t COORD_LIMIT = 1 << 24;

int clamp_coord(int64_t v) {
  return int(std::clamp<int64_t>(v, -COORD_LIMIT, COORD_LIMIT));
}

int width_of(const std::string& s) {
  if (s.empty()) return 0;
  int count = int(std::min<size_t>(s.size(), INT_MAX));
  return std::max(0, text_width(menu_font().font, s.data(), count));
}

unsigned fold_latin1(unsigned c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

int item_height(const MenuItem& item) {
  return (item.flags & MF_SEPARATOR) ? SEPARATOR_HEIGHT : menu_font().height + 4;
}

}  // namespace

MenuLabel parse_menu_label(const std::string& raw) {
  MenuLabel label;
  size_t tab = raw.find('\t');
  if (tab != std::string::npos) label.shortcut = raw.substr(tab + 1);
  size_t end = std::min(tab, raw.size());
  for (size_t i = 0; i < end; ++i) {
    if (raw[i] != '&') {
      label.text += raw[i];
      continue;
    }
    if (i + 1 >= end) break;  // a lone '&' at the end marks nothing
    ++i;
    if (raw[i] != '&' && label.mnemonic_pos < 0) label.mnemonic_pos = int(label.text.size());
    label.text += raw[i];
  }
  return label;
}

bool mnemonic_matches(const MenuLabel& label, unsigned vk, int ch) {
  if (label.mnemonic_pos < 0) return false;
  unsigned m = fold_latin1(static_cast<unsigned char>(label.text[size_t(label.mnemonic_pos)]));
  if (ch > 0 && ch <= 0xFF && fold_latin1(unsigned(ch)) == m) return true;
  // With Alt or Ctrl held the character may be missing or a control code: the key tells.
  bool letter_or_digit = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
  return letter_or_digit && vk == m;
}

const MenuFont& menu_font() {
  MenuFont& cached_font = menu_state().font;
  if (cached_font.font) return cached_font;
  cached_font.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  cached_font.height = std::max(font_height(cached_font.font), 1);
  cached_font.ascent = cached_font.height * 4 / 5;
  if (HDC dc = CreateCompatibleDC(nullptr)) {
    HGDIOBJ old = SelectObject(dc, cached_font.font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm) && tm.tmAscent > 0) {
      cached_font.ascent = std::min<int>(tm.tmAscent, cached_font.height);
    }
    if (old) SelectObject(dc, old);
    DeleteDC(dc);
  }
  return cached_font;
}

std::vector<TitleBox> bar_layout(const Menu& bar) {
  std::vector<TitleBox> boxes;
  boxes.reserve(bar.items.size());
  int64_t x = 0;
  for (const MenuItem& item : bar.items) {
    int64_t w = (item.flags & MF_SEPARATOR)
                    ? BAR_GAP
                    : int64_t(width_of(parse_menu_label(item.text).text)) + 2 * BAR_PAD;
    boxes.push_back({clamp_coord(x), clamp_coord(x + w)});
    x += w;
  }
  return boxes;
}

int bar_item_at(const Menu& bar, int x, int y) {
  if (y < 0 || y >= MENU_BAR_HEIGHT) return -1;
  std::vector<TitleBox> boxes = bar_layout(bar);
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (x >= boxes[i].left && x < boxes[i].right) {
      return (bar.items[i].flags & MF_SEPARATOR) ? -1 : int(i);
    }
  }
  return -1;
}

PopupLayout popup_layout(const Menu& menu, int anchor_x, int window_width) {
  int64_t text_w = MIN_TEXT_WIDTH;
  int64_t shortcut_w = 0;
  int64_t height = 0;
  for (const MenuItem& item : menu.items) {
    height += item_height(item);
    if (item.flags & MF_SEPARATOR) continue;
    MenuLabel label = parse_menu_label(item.text);
    text_w = std::max<int64_t>(text_w, width_of(label.text));
    shortcut_w = std::max<int64_t>(shortcut_w, width_of(label.shortcut));
  }
  int64_t columns = text_w + (shortcut_w > 0 ? SHORTCUT_GAP + shortcut_w : 0);
  int64_t width = 2 * POPUP_BORDER + CHECK_COLUMN + columns + RIGHT_PAD;

  // Open under the title, moved left where the window's right edge would cut the popup.
  int64_t left = std::max<int64_t>(0, std::min<int64_t>(anchor_x, int64_t(window_width) - width));
  PopupLayout layout;
  layout.frame = {clamp_coord(left), MENU_BAR_HEIGHT, clamp_coord(left + width),
                  clamp_coord(int64_t(MENU_BAR_HEIGHT) + 2 * POPUP_BORDER + height)};
  layout.label_x = clamp_coord(left + POPUP_BORDER + CHECK_COLUMN);
  layout.shortcut_right = clamp_coord(left + width - POPUP_BORDER - RIGHT_PAD);
  layout.items.reserve(menu.items.size());
  int64_t top = int64_t(MENU_BAR_HEIGHT) + POPUP_BORDER;
  for (const MenuItem& item : menu.items) {
    int64_t bottom = top + item_height(item);
    layout.items.push_back({clamp_coord(left + POPUP_BORDER), clamp_coord(top),
                            clamp_coord(left + width - POPUP_BORDER), clamp_coord(bottom)});
    top = bottom;
  }
  return layout;
}

int popup_item_at(const PopupLayout& layout, int x, int y) {
  for (size_t i = 0; i < layout.items.size(); ++i) {
    const RECT& r = layout.items[i];
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return int(i);
  }
  return -1;
}

}  // namespace plat
