// Text: TextOutA, GetTextExtentPointA and GetTextMetricsA on DCs, and the same drawing and
// measuring for USER's menus. Text is Latin-1 (each byte is its code point), drawn with the top
// of the character cell at y and anti-aliased glyphs blended onto what is there.
#include <algorithm>

#include "gdi/font_cache.h"
#include "gdi/raster.h"

namespace plat::gdi {

namespace {

// dst + (src - dst) * a / 255 in each channel.
inline uint32_t blend(uint32_t dst, uint32_t src, uint32_t a) {
  uint32_t na = 255 - a;
  uint32_t rb = (src & 0xFF00FF) * a + (dst & 0xFF00FF) * na + 0x800080;
  uint32_t g = (src & 0x00FF00) * a + (dst & 0x00FF00) * na + 0x008000;
  rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  g = ((g + ((g >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
  return rb | g;
}

const unsigned char* bytes(const char* text) {
  return reinterpret_cast<const unsigned char*>(text);
}

int64_t advance_of(SizedFace* face, const char* text, int count) {
  if (!face) return 0;
  int64_t width = 0;
  for (int i = 0; i < count; ++i) width += glyph_for(*face, bytes(text)[i]).advance;
  return width;
}

// What a glyph pixel becomes over one background colour, worked out once per pair of colours:
// text mostly lands on a plain background (a cleared strip, the sky), where each pixel is then
// one look-up instead of a blend. Entries 0 and 255 are exact: paper and ink.
struct BlendTable {
  bool ready = false;
  uint32_t ink = 0;
  uint32_t paper = 0;
  uint32_t pixel[256] = {};
};

const BlendTable& blend_table(uint32_t ink, uint32_t paper) {
  constexpr unsigned TABLES = 8;
  // A cache outside the context: a table depends on its two colours alone, so it stays true
  // across a reset.
  static BlendTable blend_cache[TABLES];
  static unsigned next = 0;
  for (const BlendTable& t : blend_cache)
    if (t.ready && t.ink == ink && t.paper == paper) return t;
  BlendTable& t = blend_cache[next++ % TABLES];
  t.ready = true;
  t.ink = ink;
  t.paper = paper;
  t.pixel[0] = paper;
  for (uint32_t a = 1; a < 255; ++a) t.pixel[a] = blend(paper, ink, a);
  t.pixel[255] = ink;
  return t;
}

// The colour most of the text will be drawn over: the pixel under the top left of its first
// cell, or white when that lies outside the clip box.
uint32_t paper_under(const Canvas& c, int64_t x, int64_t y) {
  constexpr uint32_t WHITE = 0xFFFFFF;
  if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom) return WHITE;
  return canvas_row(c, y)[x];
}

void draw_glyph(Canvas& c, const Glyph& g, int64_t x, int64_t y, const BlendTable& table) {
  int64_t row0 = std::max<int64_t>(0, c.clip.top - y),
          row1 = std::min<int64_t>(g.height, c.clip.bottom - y);
  int64_t col0 = std::max<int64_t>(0, c.clip.left - x),
          col1 = std::min<int64_t>(g.width, c.clip.right - x);
  if (row0 >= row1 || col0 >= col1) return;
  const uint32_t ink = table.ink, paper = table.paper;
  for (int64_t r = row0; r < row1; ++r) {
    const uint8_t* cover = g.coverage.data() + r * g.width + col0;
    uint32_t* out = canvas_row(c, y + r) + (x + col0);
    for (int64_t k = 0; k < col1 - col0; ++k) {
      uint32_t a = cover[k], d = out[k];
      if (d == paper)
        out[k] = table.pixel[a];
      else if (a == 255)
        out[k] = ink;
      else if (a)
        out[k] = blend(d, ink, a);
    }
  }
  c.touched = true;
}

// Glyphs only; (x, y) is the top left of the first cell.
void draw_glyphs(Canvas& c, SizedFace& face, int64_t x, int64_t y, const char* text, int count,
                 uint32_t pixel) {
  const BlendTable& table = blend_table(pixel, paper_under(c, x, y));
  int64_t baseline = y + face.metrics.ascent;
  int64_t pen = x;
  for (int i = 0; i < count; ++i) {
    const Glyph& g = glyph_for(face, bytes(text)[i]);
    if (!g.coverage.empty()) draw_glyph(c, g, pen + g.left, baseline - g.top, table);
    pen += g.advance;
  }
}

LONG clamp_long(int64_t v) {
  return LONG(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

Font* font_object(HFONT font) {
  GdiObject* o = object_of(font);
  return o && o->kind == ObjectKind::FONT ? &o->font : nullptr;
}

}  // namespace

}  // namespace plat::gdi

namespace plat {

using namespace gdi;

int draw_text_on_surface(const Surface& surface, const RECT& clip, HFONT font, int x, int y,
                         const char* text, int count, uint32_t pixel) {
  Font* f = font_object(font);
  if (!f || !text || count <= 0) return 0;
  SizedFace* face = font_face(*f);
  if (!face) return 0;
  Canvas c = canvas_for_surface(surface, clip);
  draw_glyphs(c, *face, x, y, text, count, pixel);
  return clamp_long(advance_of(face, text, count));
}

int text_width(HFONT font, const char* text, int count) {
  Font* f = font_object(font);
  if (!f || !text || count <= 0) return 0;
  return clamp_long(advance_of(font_face(*f), text, count));
}

int font_height(HFONT font) {
  Font* f = font_object(font);
  if (!f) return 0;
  FontMetrics m = font_metrics(*f);
  return m.ascent + m.descent;
}

}  // namespace plat

using namespace plat;
using namespace plat::gdi;

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  if (!dc_of(hdc) || count < 0 || (count > 0 && !text)) return FALSE;
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  if (count == 0) return TRUE;
  Font& font = dc_font(*d.dc);
  SizedFace* face = font_face(font);
  FontMetrics m = font_metrics(font);
  const bool opaque = d.dc->bk_mode == OPAQUE;
  const int64_t width = opaque ? advance_of(face, text, count) : 0;
  draw_clipped(d, [&](Canvas& c) {
    if (opaque)
      fill_box(c, x, y, int64_t(x) + width, int64_t(y) + m.ascent + m.descent,
               pixel_from_colorref(d.dc->bk_colour));
    if (face) draw_glyphs(c, *face, x, y, text, count, pixel_from_colorref(d.dc->text_colour));
  });
  end_drawing(d);
  return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR text, int count, SIZE* size) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  Font& font = dc_font(*dc);
  FontMetrics m = font_metrics(font);
  size->cx = clamp_long(advance_of(font_face(font), text, count));
  size->cy = m.ascent + m.descent;
  return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc || !metrics) return FALSE;
  Font& font = dc_font(*dc);
  FontMetrics m = font_metrics(font);
  constexpr BYTE VARIABLE_PITCH_BIT = 0x01, VECTOR_BIT = 0x02, TRUETYPE_BIT = 0x04;
  constexpr BYTE SWISS_FAMILY = 0x20, MODERN_FAMILY = 0x30;
  TEXTMETRICA tm{};
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmHeight = m.ascent + m.descent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - m.em);
  tm.tmExternalLeading = m.line_gap;
  tm.tmAveCharWidth = m.ave_width;
  SizedFace* face = font_face(font);
  tm.tmMaxCharWidth = face ? latin1_max_width(*face) : m.ave_width;
  tm.tmWeight = m.weight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = font.request.italic ? 1 : 0;
  // As in Windows, the "fixed pitch" bit is set for fonts whose pitch is variable.
  tm.tmPitchAndFamily = BYTE((m.fixed_pitch ? MODERN_FAMILY : SWISS_FAMILY | VARIABLE_PITCH_BIT) |
                             VECTOR_BIT | TRUETYPE_BIT);
  tm.tmCharSet = ANSI_CHARSET;
  *metrics = tm;
  return TRUE;
}
