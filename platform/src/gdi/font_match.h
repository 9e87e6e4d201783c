// Which font file serves a font request. The desktop asks fontconfig (font_match_fontconfig.cpp);
// the browser build, which has no fontconfig, looks the request up in a small table of the faces
// it embeds (font_match_table.cpp) that gives the same files the desktop picks for the requests
// the package makes.
#pragma once

#include <string>

#include "gdi/gdi_state.h"

namespace plat::gdi {

struct FontMatch {
  bool found = false;
  std::string path;
  int index = 0;
  bool embolden = false;  // the family has no bold face: embolden the regular one
};

// The face for a face name, generic family, weight, slant and pitch; found is false when no
// font file is available at all.
FontMatch match_font(const FontRequest& request);

// Starts matching afresh: with the system's fonts, or (false) with none at all, as on a machine
// without fonts.
void reset_font_matching(bool system_fonts);
// True while matching runs without the system's fonts (after reset_font_matching(false)).
bool font_matching_without_system_fonts();

inline bool is_bold(const FontRequest& r) {
  return r.weight >= 600;
}

}  // namespace plat::gdi
