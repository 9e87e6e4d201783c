// Font matching on the desktop: fontconfig picks the file for a family, weight, slant and
// spacing, falling back to the request's generic family.
#include <fontconfig/fontconfig.h>

#include <cstdlib>

#include "gdi/font_match.h"

namespace plat::gdi {

namespace {

struct Fontconfig {
  FcConfig* config = nullptr;  // null: the system's configuration
  bool own_config = false;
  bool ready = false;
  bool failed = false;
};

Fontconfig& fontconfig() {
  static Fontconfig f;
  return f;
}

// Fontconfig keeps parts of its configuration where leak checkers cannot see them; hand
// everything back at exit so that a clean run reports no leaks.
void release_fontconfig() {
  Fontconfig& f = fontconfig();
  if (f.own_config) FcConfigDestroy(f.config);
  f.config = nullptr;
  f.own_config = false;
  FcFini();
}

void release_fontconfig_at_exit() {
  static bool registered = false;
  if (!registered) std::atexit(release_fontconfig);
  registered = true;
}

}  // namespace

FontMatch match_font(const FontRequest& r) {
  Fontconfig& f = fontconfig();
  if (!f.config && !f.ready) {
    f.ready = true;
    f.failed = !FcInit();
    release_fontconfig_at_exit();
  }
  if (!f.config && f.failed) return FontMatch{};
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return FontMatch{};
  if (!r.face_name.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(r.face_name.c_str()));
  // An unknown face of no particular family gets Arial's metrics, as on Windows, where the
  // desktop has a metric-compatible face (Liberation Sans); otherwise the generic family.
  if (r.generic == "sans-serif")
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Arial"));
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(r.generic.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, is_bold(r) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, r.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (r.fixed_pitch) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(f.config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(f.config, pattern, &result);
  FcPatternDestroy(pattern);
  FontMatch m;
  FcChar8* file = nullptr;
  if (found && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
    m.found = true;
    m.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) m.index = index;
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
      m.embolden = embolden == FcTrue;
  }
  if (found) FcPatternDestroy(found);
  return m;
}

void reset_font_matching(bool system_fonts) {
  Fontconfig& f = fontconfig();
  if (f.own_config) FcConfigDestroy(f.config);
  f.config = system_fonts ? nullptr : FcConfigCreate();
  release_fontconfig_at_exit();
  f.own_config = f.config != nullptr;
}

bool font_matching_without_system_fonts() {
  return fontconfig().own_config;
}

}  // namespace plat::gdi
