// What the menu files share among themselves: the menu records, item labels split into their
// parts, the geometry of the bar and of a popup (one place, so drawing and hit-testing agree)
// and the menu state that the window system's context holds: tracking and drawing's buffer.
#pragma once

#include <bitset>
#include <string>
#include <vector>

#include "internal.h"

namespace plat {

// ---------------------------------------------------------------------------------------------
// Model (menu.cpp)

struct MenuItem {
  UINT flags = 0;         // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
  UINT id = 0;            // command id (0 for separators and popups)
  HMENU popup = nullptr;  // the popup an MF_POPUP item opens
  std::string text;       // as given: '&' marks the mnemonic, '\t' starts the shortcut text
};

// A menu bar and a popup are the same record; only where they are attached differs.
struct Menu {
  std::vector<MenuItem> items;
};

// The menu behind a handle, or null for anything that is not a live menu.
Menu* find_menu(HMENU menu);

// Destroys a menu and every popup below it.
void destroy_menu_tree(HMENU root);

// A separator or a greyed or disabled item can be neither highlighted nor chosen.
inline bool item_enabled(const MenuItem& item) {
  return (item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) == 0;
}

// ---------------------------------------------------------------------------------------------
// Labels and geometry (menu_layout.cpp)

struct MenuLabel {
  std::string text;       // what is shown, '&' prefixes removed, "&&" made one '&'
  int mnemonic_pos = -1;  // index in `text` of the underlined character, -1 for none
  std::string shortcut;   // the part after the first '\t', shown right-aligned
};
MenuLabel parse_menu_label(const std::string& raw);

// True when a key (virtual-key code and the character it produced) selects the label's mnemonic,
// ignoring case.
bool mnemonic_matches(const MenuLabel& label, unsigned vk, int ch);

struct MenuFont {
  HFONT font = nullptr;
  int height = 0;  // cell height
  int ascent = 0;  // baseline below the top of the cell
};
const MenuFont& menu_font();

// Horizontal extent of each bar item, in window coordinates, one per item of the bar.
struct TitleBox {
  int left = 0;
  int right = 0;
};
std::vector<TitleBox> bar_layout(const Menu& bar);
// The bar item at a point of the window, or -1.
int bar_item_at(const Menu& bar, int x, int y);

struct PopupLayout {
  RECT frame{};             // the whole popup, window coordinates
  std::vector<RECT> items;  // one row per item
  int label_x = 0;          // where item texts start
  int shortcut_right = 0;   // where shortcut texts end
};
// The popup of `menu` opened under a bar item whose box starts at `anchor_x`, kept inside a
// window `window_width` pixels wide where it fits.
PopupLayout popup_layout(const Menu& menu, int anchor_x, int window_width);
// The item of a popup at a point, or -1.
int popup_item_at(const PopupLayout& layout, int x, int y);

// ---------------------------------------------------------------------------------------------
// Tracking state as drawing needs it (menu_track.cpp)

struct MenuView {
  int title = -1;  // the highlighted bar item, -1 for none
  bool popup_open = false;
  int item = -1;  // the highlighted item of the open popup, -1 for none
};
// The menu state shown on a window; false when no menu is active on it.
bool menu_view(HWND hwnd, MenuView* view);

// ---------------------------------------------------------------------------------------------
// State (held by the window system's context; the menus' handle table is with the others)

enum class MenuMode { NONE, BAR, POPUP };

struct MenuTracking {
  MenuMode mode = MenuMode::NONE;
  HWND hwnd = nullptr;
  HMENU bar = nullptr;
  int title = -1;             // highlighted or open bar item
  int item = -1;              // highlighted popup item
  int hover = -1;             // popup item the pointer last moved onto
  bool press_opened = false;  // the button press in progress opened the popup
};

// Where a key press or button press went, so its release goes there too.
enum class InputOwner { NONE, PROGRAM, MENU };

struct MenuState {
  MenuTracking track;
  // DefWindowProcA's part: Alt or F10 went down as a system key and nothing else since.
  bool alt_tapped = false;
  bool f10_tapped = false;
  std::bitset<256> keys_to_program;
  std::bitset<256> keys_to_menu;
  InputOwner button_owner = InputOwner::NONE;
  bool in_loop = false;  // the menu's message loop is running
  // The menu took the last key press: text that the desktop sends for it separately belongs to
  // the menu too, even if that press closed it.
  bool text_of_menu_key = false;
  std::vector<uint32_t> overlay;  // a window's pixels with the open popup drawn over them
  MenuFont font;                  // the menu font, made on first use
};

MenuState& menu_state();

}  // namespace plat
