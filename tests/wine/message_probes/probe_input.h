/* Input for the message probes, made the way each side can: real input through SendInput on
   Win32 (Wine), input scheduled on the headless host's virtual clock on ours. Both deliver it to
   the window with the keyboard, at a client point for clicks. */
#ifndef PROBE_INPUT_H
#define PROBE_INPUT_H

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32.h"
#include "platform/win32_keys.h"
#endif

#ifdef __cplusplus
extern "C" {
#endif

void probe_start(void);
/* A key pressed (down != 0) or released, with the character it makes (0 for none). */
void probe_key(HWND hwnd, unsigned vk, int ch, int down);
/* A left click at a client point of hwnd. */
void probe_click(HWND hwnd, int x, int y);
/* A left click on hwnd's menu bar, x pixels from the window's left edge. */
void probe_menu_click(HWND hwnd, int x);

#ifdef __cplusplus
}
#endif

#endif
