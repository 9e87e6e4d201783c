// What the program's entry (platform/entry) asks of the window system's core: the instance
// handle it gives WinMain.
#pragma once

#include "platform/win32.h"

namespace plat {

// The instance handle that the entry gives the program's WinMain.
HINSTANCE program_instance();

}  // namespace plat
