// The window system's whole state in one record: the handle tables of every kind, the USER
// side (classes, timers, queues, focus, keyboard), menu tracking, the GDI's stock objects and
// movable memory's failure plan. One reset brings it all back to its start, except what keeps
// handles unique: no window, menu, DC, GDI object or memory block handle, thread timer id or
// class atom from before a reset names anything made after it.
#pragma once

#include "gdi/gdi_state.h"
#include "memory/memory_state.h"
#include "menu/menu_private.h"
#include "user/user_state.h"

namespace plat {

// What survives a reset: the tables (emptied, their slots' generations kept) and the counters
// that name thread timers and classes.
struct HandleTables {
  HandleTable<Window> windows{TAG_WINDOW};
  HandleTable<Menu> menus{TAG_MENU};
  HandleTable<gdi::DeviceContext> dcs{TAG_DC};
  HandleTable<gdi::GdiObject> objects{TAG_GDIOBJ};
  HandleTable<MemoryBlock> blocks{TAG_GLOBAL};
  UINT_PTR next_thread_timer_id = 1;
  ATOM next_atom = 0xC000;

  void clear() {
    windows.clear();
    menus.clear();
    dcs.clear();
    objects.clear();
    blocks.clear();
  }
};

struct PlatformContext {
  HandleTables handles;
  UserState user;
  MenuState menu;
  gdi::GdiState gdi;
  MemoryState memory;
};

PlatformContext& context();

}  // namespace plat
