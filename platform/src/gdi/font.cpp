// Fonts: CreateFontA, the FreeType faces and sizes behind the files that font matching picks
// (font_match.h), their metrics, and the glyph cache.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "context.h"
#include "gdi/font_cache.h"
#include "gdi/font_match.h"

namespace plat::gdi {

struct FaceFile {
  FT_Face face = nullptr;
};

namespace {

// The font cache, outside the context: it mirrors the machine's font files, which no reset
// changes; font_cache_rebuild() empties it and moves the epoch that font objects compare.
struct Cache {
  FT_Library library = nullptr;
  bool freetype_failed = false;
  unsigned epoch = 1;
  std::map<std::string, FontMatch> matches;
  std::map<std::string, std::unique_ptr<FaceFile>> files;
  std::map<std::tuple<FaceFile*, int, bool, bool>, std::unique_ptr<SizedFace>> sizes;
  std::unordered_map<std::string, SizedFace*> requests;
  // The request resolved last, compared field by field before any key is built: a program that
  // makes a font for every text call asks for the same one again and again.
  unsigned last_epoch = 0;
  FontRequest last_request;
  SizedFace* last_face = nullptr;
};

bool same_request(const FontRequest& a, const FontRequest& b) {
  return a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
         a.fixed_pitch == b.fixed_pitch && a.face_name == b.face_name && a.generic == b.generic &&
         a.em_cell == b.em_cell;
}

Cache& cache() {
  static Cache c;
  return c;
}

void report_missing_fonts() {
  bool& reported = gdi_state().missing_fonts_reported;
  if (reported) return;
  reported = true;
  std::fprintf(stderr,
               "window system: no font file was found, so no text is drawn; install the "
               "Debian package fonts-dejavu-core\n");
}

int round_26_6(FT_Pos v) {
  return int((v + 32) >> 6);
}

const FontMatch& match_for(const FontRequest& r) {
  std::string key = r.face_name + '\n' + r.generic + '\n' + (is_bold(r) ? 'b' : 'r') +
                    (r.italic ? 'i' : 'u') + (r.fixed_pitch ? 'f' : 'v');
  Cache& c = cache();
  auto it = c.matches.find(key);
  if (it == c.matches.end()) it = c.matches.emplace(key, match_font(r)).first;
  return it->second;
}

FaceFile* open_file(const FontMatch& m) {
  Cache& c = cache();
  std::string key = m.path + '\n' + std::to_string(m.index);
  auto it = c.files.find(key);
  if (it != c.files.end()) return it->second.get();
  if (!c.library && !c.freetype_failed && FT_Init_FreeType(&c.library) != 0) {
    c.library = nullptr;
    c.freetype_failed = true;
  }
  FT_Face face = nullptr;
  if (!c.library || FT_New_Face(c.library, m.path.c_str(), m.index, &face) != 0) face = nullptr;
  if (face) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  auto file = std::make_unique<FaceFile>();
  file->face = face;
  return c.files.emplace(key, std::move(file)).first->second.get();
}

// Loads a glyph's outline at the face's size, emboldened when the face needs it.
FT_GlyphSlot load_glyph(SizedFace& face, unsigned char code) {
  FT_Face ft = face.file->face;
  FT_Activate_Size(static_cast<FT_Size>(face.size));
  if (FT_Load_Char(ft, code, FT_LOAD_DEFAULT) != 0) return nullptr;
  if (face.embolden) FT_GlyphSlot_Embolden(ft->glyph);
  return ft->glyph;
}

int advance_of(SizedFace& face, unsigned char code) {
  if (face.glyphs[code].ready) return face.glyphs[code].advance;
  FT_GlyphSlot slot = load_glyph(face, code);
  return slot ? round_26_6(slot->advance.x) : 0;
}

FontMetrics measure(FT_Face face, FT_Size size, int em, bool embolden, bool em_cell) {
  FontMetrics m;
  const FT_Size_Metrics& sm = size->metrics;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  m.em = em;
  m.ascent = round_26_6(sm.ascender);
  m.descent = round_26_6(-sm.descender);
  m.line_gap = std::max(0, round_26_6(sm.height) - m.ascent - m.descent);
  if (em_cell) {
    int64_t above = os2 ? os2->sTypoAscender : face->ascender;
    int64_t below = os2 ? -int64_t(os2->sTypoDescender) : -int64_t(face->descender);
    if (above <= 0 || below < 0) above = 4, below = 1;
    m.ascent = int((2 * above * em + above + below) / (2 * (above + below)));
    m.descent = em - m.ascent;
    m.line_gap = 0;
  }
  m.fixed_pitch = FT_IS_FIXED_WIDTH(face);
  m.weight = FW_NORMAL;
  if (os2 && os2->usWeightClass > 0) m.weight = os2->usWeightClass;
  if (face->style_flags & FT_STYLE_FLAG_BOLD) m.weight = std::max(m.weight, FW_BOLD);
  if (embolden) m.weight = FW_BOLD;
  return m;
}

SizedFace* sized(FaceFile* file, int em, bool embolden, bool em_cell = false) {
  Cache& c = cache();
  auto key = std::make_tuple(file, em, embolden, em_cell);
  auto it = c.sizes.find(key);
  if (it != c.sizes.end()) return it->second.get();
  FT_Size size = nullptr;
  if (FT_New_Size(file->face, &size) != 0) return nullptr;
  FT_Activate_Size(size);
  if (FT_Set_Pixel_Sizes(file->face, 0, FT_UInt(em)) != 0) {
    FT_Done_Size(size);
    return nullptr;
  }
  auto face = std::make_unique<SizedFace>();
  face->file = file;
  face->size = size;
  face->embolden = embolden;
  face->metrics = measure(file->face, size, em, embolden, em_cell);
  // Like Windows, the average width is that of an x.
  face->metrics.ave_width = advance_of(*face, 'x');
  return c.sizes.emplace(key, std::move(face)).first->second.get();
}

int clamp_em(int64_t em) {
  return int(std::clamp<int64_t>(em, 1, MAX_EM));
}

// A positive height asks for the cell (ascent + descent): the largest em whose cell fits.
SizedFace* sized_for_cell(FaceFile* file, int64_t cell, bool embolden) {
  FT_Face face = file->face;
  int64_t span = int64_t(face->ascender) - face->descender;
  int em = clamp_em(FT_IS_SCALABLE(face) && span > 0 && cell < (int64_t(1) << 32)
                        ? cell * face->units_per_EM / span
                        : cell);
  SizedFace* best = sized(file, em, embolden);
  auto cell_of = [](SizedFace* f) { return f->metrics.ascent + f->metrics.descent; };
  while (best && em > 1 && cell_of(best) > cell) best = sized(file, --em, embolden);
  while (best && em < MAX_EM) {
    SizedFace* bigger = sized(file, em + 1, embolden);
    if (!bigger || cell_of(bigger) > cell) break;
    best = bigger;
    ++em;
  }
  return best;
}

std::string request_key(const FontRequest& r) {
  return std::to_string(r.height) + '\n' + std::to_string(is_bold(r)) + std::to_string(r.italic) +
         std::to_string(r.fixed_pitch) + std::to_string(r.em_cell) + '\n' + r.generic + '\n' +
         r.face_name;
}

SizedFace* find_face(const FontRequest& r) {
  const FontMatch& m = match_for(r);
  if (!m.found) return nullptr;
  FaceFile* file = open_file(m);
  if (!file->face) return nullptr;
  bool embolden = m.embolden && is_bold(r);
  if (r.height > 0) return sized_for_cell(file, r.height, embolden);
  int64_t em = r.height == 0 ? DEFAULT_EM : -int64_t(r.height);
  return sized(file, clamp_em(em), embolden, r.em_cell);
}

}  // namespace

SizedFace* resolve_face(const FontRequest& request) {
  Cache& c = cache();
  if (c.last_epoch == c.epoch && same_request(c.last_request, request)) return c.last_face;
  std::string key = request_key(request);
  auto it = c.requests.find(key);
  SizedFace* face = nullptr;
  if (it != c.requests.end()) {
    face = it->second;
  } else {
    face = find_face(request);
    if (!face) report_missing_fonts();
    c.requests.emplace(key, face);
  }
  c.last_epoch = c.epoch;
  c.last_request = request;
  c.last_face = face;
  return face;
}

unsigned font_cache_epoch() {
  return cache().epoch;
}

SizedFace* font_face(Font& font) {
  if (font.epoch != font_cache_epoch()) {
    font.face = resolve_face(font.request);
    font.epoch = font_cache_epoch();
  }
  return font.face;
}

const Glyph& glyph_for(SizedFace& face, unsigned char code) {
  Glyph& g = face.glyphs[code];
  if (g.ready) return g;
  g.ready = true;
  FT_GlyphSlot slot = load_glyph(face, code);
  if (!slot) return g;
  g.advance = round_26_6(slot->advance.x);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = int(bm.width);
  g.height = int(bm.rows);
  g.coverage.assign(size_t(g.width) * size_t(g.height), 0);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
    uint8_t* out = g.coverage.data() + size_t(y) * size_t(g.width);
    if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays == 256) {
      std::memcpy(out, row, size_t(g.width));
    } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays > 1) {
      for (int x = 0; x < g.width; ++x) out[x] = uint8_t(row[x] * 255 / (bm.num_grays - 1));
    } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int x = 0; x < g.width; ++x) out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
    }
  }
  return g;
}

int latin1_max_width(SizedFace& face) {
  if (face.max_width < 0) {
    face.max_width = 0;
    for (int code = 0x20; code <= 0xFF; ++code)
      if (code < 0x7F || code >= 0xA0)
        face.max_width = std::max(face.max_width, advance_of(face, (unsigned char)code));
  }
  return face.max_width;
}

FontMetrics font_metrics(Font& font) {
  if (SizedFace* face = font_face(font)) return face->metrics;
  // No face: plausible numbers so that layout code still works; nothing is drawn.
  const FontRequest& r = font.request;
  FontMetrics m;
  int64_t h = r.height;
  m.em = r.height > 0 ? clamp_em(h * 6 / 7) : clamp_em(r.height == 0 ? DEFAULT_EM : -h);
  int cell = r.em_cell ? m.em : r.height > 0 ? clamp_em(h) : m.em * 7 / 6 + 1;
  m.ascent = cell * 4 / 5;
  m.descent = cell - m.ascent;
  m.ave_width = std::max(1, m.em / 2);
  m.weight = is_bold(r) ? FW_BOLD : FW_NORMAL;
  m.fixed_pitch = r.fixed_pitch;
  return m;
}

void font_cache_rebuild(bool system_fonts) {
  Cache& c = cache();
  reset_font_matching(system_fonts);
  c.matches.clear();
  c.requests.clear();
  ++c.epoch;
}

void font_cache_reset() {
  if (font_matching_without_system_fonts()) font_cache_rebuild(true);
}

}  // namespace plat::gdi

using namespace plat;
using namespace plat::gdi;

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strike_out, DWORD charset,
                         DWORD out_precision, DWORD clip_precision, DWORD quality,
                         DWORD pitch_and_family, LPCSTR face) {
  // Width, angles, underline, strike-out, character set and quality are not rendered: glyphs
  // are always upright, anti-aliased Latin-1 at their natural width.
  (void)width, (void)escapement, (void)orientation, (void)underline, (void)strike_out;
  (void)charset, (void)out_precision, (void)clip_precision, (void)quality;
  constexpr DWORD FIXED_PITCH_BITS = 1, FAMILY_MASK = 0xF0, ROMAN_FAMILY = 0x10,
                  MODERN_FAMILY = 0x30;
  constexpr size_t FACE_NAME_MAX = 31;
  FontRequest r;
  r.height = height;
  r.weight = weight <= 0 ? FW_NORMAL : weight;
  r.italic = italic != 0;
  r.fixed_pitch = (pitch_and_family & 3) == FIXED_PITCH_BITS;
  if (face) r.face_name.assign(face, strnlen(face, FACE_NAME_MAX));
  DWORD family = pitch_and_family & FAMILY_MASK;
  if (r.fixed_pitch || family == MODERN_FAMILY)
    r.generic = "monospace";
  else if (family == ROMAN_FAMILY)
    r.generic = "serif";
  return create_font_object(r);
}
