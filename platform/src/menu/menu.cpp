// The menu model: menu bars and popups as lists of items, built with AppendMenuA and queried and
// checked by command id or position. Popups may hold popups; the walks below visit each menu
// once and refuse to build cycles, so no shape of menu can make them loop or recurse deeply.
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "context.h"

namespace plat {
namespace {

HandleTable<Menu>& menus() {
  return context().handles.menus;
}

constexpr UINT KEPT_FLAGS = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR;

// Visits the items of `root` and of every popup below it, depth first in item order, each menu
// once. `visit(item)` returns true to stop; walk_items then returns that item, else null.
template <class F>
MenuItem* walk_items(HMENU root, F visit) {
  struct Frame {
    Menu* menu;
    size_t next;
  };
  std::unordered_set<HMENU> seen{root};
  std::vector<Frame> stack;
  if (Menu* m = find_menu(root)) stack.push_back({m, 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.menu->items.size()) {
      stack.pop_back();
      continue;
    }
    MenuItem& item = top.menu->items[top.next++];
    if (visit(item)) return &item;
    if ((item.flags & MF_POPUP) && seen.insert(item.popup).second) {
      if (Menu* sub = find_menu(item.popup)) stack.push_back({sub, 0});
    }
  }
  return nullptr;
}

// True when `target` is `root` or lies somewhere below it.
bool reaches(HMENU root, HMENU target) {
  if (root == target) return true;
  return walk_items(root, [&](const MenuItem& item) {
           return (item.flags & MF_POPUP) && item.popup == target;
         }) != nullptr;
}

// The item named by a command id (searching popups) or by a position in `menu` itself.
MenuItem* find_item(HMENU menu, UINT id, UINT flags) {
  Menu* m = find_menu(menu);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) return id < m->items.size() ? &m->items[id] : nullptr;
  return walk_items(menu, [&](const MenuItem& item) {
    return (item.flags & (MF_POPUP | MF_SEPARATOR)) == 0 && item.id == id;
  });
}

HMENU create_menu() {
  return to_handle<HMENU>(menus().add(Menu{}));
}

}  // namespace

Menu* find_menu(HMENU menu) {
  return menus().get(menu);
}

// A window's menu goes with the window, popups and all, as on Win32.
void destroy_menu_tree(HMENU root) {
  std::vector<HMENU> doomed;
  if (!find_menu(root)) return;
  doomed.push_back(root);
  walk_items(root, [&](const MenuItem& item) {
    if (item.flags & MF_POPUP) doomed.push_back(item.popup);
    return false;
  });
  std::sort(doomed.begin(), doomed.end());
  doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
  for (HMENU h : doomed) menus().remove(h);
}

bool menu_exists(HMENU menu) {
  return find_menu(menu) != nullptr;
}

int live_menus() {
  return int(menus().live());
}

MenuState& menu_state() {
  return context().menu;
}

}  // namespace plat

using plat::find_menu;
using plat::Menu;
using plat::MenuItem;

HMENU WINAPI CreateMenu(void) {
  return plat::create_menu();
}

HMENU WINAPI CreatePopupMenu(void) {
  return plat::create_menu();
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id_or_popup, LPCSTR text) {
  Menu* m = find_menu(menu);
  if (!m) return FALSE;
  MenuItem item;
  item.flags = flags & plat::KEPT_FLAGS;
  if (item.flags & MF_SEPARATOR) {
    item.flags &= ~UINT(MF_POPUP | MF_CHECKED);
  } else {
    if (text) item.text = text;
    if (item.flags & MF_POPUP) {
      item.popup = plat::to_handle<HMENU>(id_or_popup);
      // The popup must exist and must not hold this menu, or the menu would contain itself.
      if (!find_menu(item.popup) || plat::reaches(item.popup, menu)) return FALSE;
    } else {
      item.id = UINT(id_or_popup);
    }
  }
  m->items.push_back(std::move(item));
  return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
  MenuItem* item = plat::find_item(menu, id, check);
  if (!item) return DWORD(-1);
  DWORD previous = item->flags & MF_CHECKED;
  if (check & MF_CHECKED) {
    item->flags |= MF_CHECKED;
  } else {
    item->flags &= ~UINT(MF_CHECKED);
  }
  return previous;
}

UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
  const MenuItem* item = plat::find_item(menu, id, flags);
  if (!item) return UINT(-1);
  if (item->flags & MF_POPUP) {
    // As on Win32: the item count of the popup in the high byte, the flags in the low one.
    const Menu* sub = find_menu(item->popup);
    size_t count = sub ? std::min<size_t>(sub->items.size(), 0xFF) : 0;
    return UINT(count << 8) | (item->flags & 0xFF);
  }
  return item->flags;
}
