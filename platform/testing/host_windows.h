// The testing layer names windows by title: which host window a title (or, for a null title,
// the keyboard's focus) means now.
#pragma once

namespace headless {

// The host window with this title (the first made, if several), or for a null title the one
// that has the keyboard; 0 when there is none.
int host_window_id(const char* title);

}  // namespace headless
