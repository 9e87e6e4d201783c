// The fields of a key message's lParam (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP and the
// characters TranslateMessage makes of them) as Win32 lays them out, for the window system's
// keyboard and its menus.
#pragma once

#include "platform/win32.h"

namespace plat {

constexpr DWORD KEY_REPEAT_ONE = 1;       // bits 0-15: repeat count, always 1 here
constexpr unsigned KEY_SCAN_SHIFT = 16;   // bits 16-23: the scan code's low 8 bits
constexpr DWORD KEY_EXTENDED = 1u << 24;  // right Ctrl or Alt, arrows, keypad Enter and such
constexpr DWORD KEY_ALT_DOWN = 1u << 29;  // Alt was held (and Ctrl was not)
constexpr DWORD KEY_WAS_DOWN = 1u << 30;  // the key was down before this message
constexpr DWORD KEY_RELEASED = 1u << 31;  // a release

// The scan code that a key message's lParam carries.
inline unsigned key_scan(LPARAM lparam) {
  return unsigned((uintptr_t(lparam) >> KEY_SCAN_SHIFT) & 0xFF);
}

}  // namespace plat
