// Font matching in the browser, which has no fontconfig: the page embeds the three faces the
// desktop's fontconfig picks for the requests the package and the window system make (DejaVu
// Sans for the system font, DejaVu Sans Mono for the fixed font, Liberation Sans for unknown sans
// faces, as Arial's metric twin), and this table maps face names and generic families onto them
// the same way. Other families fall back by pitch; bold is the regular face emboldened.
#include <cctype>
#include <string>

#include "gdi/font_match.h"

namespace plat::gdi {

namespace {

// Where the build embeds the font files in the in-memory file system.
constexpr const char* FONT_DIR = "/fonts/";
constexpr const char* SANS = "DejaVuSans.ttf";
constexpr const char* MONO = "DejaVuSansMono.ttf";
constexpr const char* ARIAL = "LiberationSans-Regular.ttf";

struct Alias {
  const char* family;  // lower case
  const char* file;
};

// Family names as fontconfig's configuration aliases them on the desktop.
constexpr Alias ALIASES[] = {
    {"dejavu sans", SANS},      {"bitstream vera sans", SANS},
    {"dejavu sans mono", MONO}, {"bitstream vera sans mono", MONO},
    {"monospace", MONO},        {"liberation sans", ARIAL},
    {"arial", ARIAL},           {"helvetica", ARIAL},
    {"sans-serif", SANS},       {"liberation mono", MONO},
    {"courier new", MONO},      {"courier", MONO},
};

// Part of the font cache, outside the context: a test takes the fonts away; font_cache_reset()
// gives them back.
bool no_fonts = false;

const char* file_of(const std::string& family) {
  std::string lower;
  for (char ch : family) lower += char(std::tolower(static_cast<unsigned char>(ch)));
  for (const Alias& alias : ALIASES)
    if (lower == alias.family) return alias.file;
  return nullptr;
}

}  // namespace

FontMatch match_font(const FontRequest& r) {
  FontMatch m;
  if (no_fonts) return m;
  const char* file = file_of(r.face_name);
  // An unknown face of no particular family gets Arial's metrics, as on the desktop.
  if (file == nullptr && r.generic == "sans-serif") file = ARIAL;
  if (file == nullptr) file = r.fixed_pitch || r.generic == "monospace" ? MONO : ARIAL;
  m.found = true;
  m.path = std::string(FONT_DIR) + file;
  m.embolden = is_bold(r);
  return m;
}

void reset_font_matching(bool system_fonts) {
  no_fonts = !system_fonts;
}

bool font_matching_without_system_fonts() {
  return no_fonts;
}

}  // namespace plat::gdi
