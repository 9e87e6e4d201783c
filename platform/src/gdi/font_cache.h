// Faces and glyphs behind the font objects: fontconfig picks a font file for a request, FreeType
// sizes and renders it. Everything is cached for the life of the process (matches per request,
// one FT_Face per file, one size per pixel size, each Latin-1 glyph rendered once), so making
// and deleting a font around every text call costs a table look-up.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gdi/gdi_state.h"

namespace plat::gdi {

// One rendered glyph: 8-bit coverage, placed relative to the pen position on the baseline.
struct Glyph {
  bool ready = false;
  int advance = 0;
  int left = 0;  // from the pen position to the first column
  int top = 0;   // from the baseline up to the first row
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

struct FontMetrics {
  int em = 0;
  int ascent = 0;
  int descent = 0;
  int line_gap = 0;
  int ave_width = 0;
  int weight = FW_NORMAL;
  bool fixed_pitch = false;
};

struct FaceFile;

// A face at one pixel size, with its glyph cache.
struct SizedFace {
  FaceFile* file = nullptr;
  void* size = nullptr;  // FT_Size
  bool embolden = false;
  FontMetrics metrics;
  int max_width = -1;  // widest printable Latin-1 glyph, found when first asked for
  std::array<Glyph, 256> glyphs;
};

// Default em height in pixels for a height of 0; em heights are kept within 1..MAX_EM.
constexpr int DEFAULT_EM = 16;
constexpr int MAX_EM = 512;

// The sized face for a request, or null when fontconfig has no font file at all.
SizedFace* resolve_face(const FontRequest& request);
// Changes whenever the cache is rebuilt; font objects re-resolve when it moves.
unsigned font_cache_epoch();
// The glyph for a Latin-1 byte, rendered on first use.
const Glyph& glyph_for(SizedFace& face, unsigned char code);
// Advance of the widest printable Latin-1 character.
int latin1_max_width(SizedFace& face);
// Metrics of a font object, made up from the request when no face is available.
FontMetrics font_metrics(Font& font);

// Forgets every match and starts again, either with the system's fonts or with no fonts at all
// (how a machine without any font package looks).
void font_cache_rebuild(bool system_fonts);
// Back to the system's fonts if they were taken away. What the cache holds otherwise stays: it
// mirrors the machine's font files, which no reset changes.
void font_cache_reset();

}  // namespace plat::gdi
