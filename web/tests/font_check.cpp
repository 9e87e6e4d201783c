// Compares two font files the way the window system draws text: for every Latin-1 code at every
// pixel size up to 128 and a few larger ones, plain and emboldened, the glyph FreeType loads and
// renders with the system's flags (advance, bitmap box and every coverage byte), and the face's
// size metrics. Built for node by the browser build; fonts.test.js runs it on each font the pages
// embed, a subset against the full file it was cut from.
// Usage: node font_check.js FULL.ttf SUBSET.ttf   (exit 0 when they draw alike)
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cstdio>
#include <vector>

namespace {

struct Rendered {
  FT_Error error = 0;
  FT_Pos advance = 0;
  int left = 0, top = 0, mode = 0;
  unsigned width = 0, rows = 0;
  std::vector<unsigned char> coverage;

  bool operator==(const Rendered&) const = default;
};

Rendered render(FT_Face face, unsigned code, bool embolden) {
  Rendered r;
  r.error = FT_Load_Char(face, code, FT_LOAD_DEFAULT);
  if (r.error != 0) return r;
  if (embolden) FT_GlyphSlot_Embolden(face->glyph);
  r.advance = face->glyph->advance.x;
  r.error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  r.left = face->glyph->bitmap_left;
  r.top = face->glyph->bitmap_top;
  r.mode = bitmap.pixel_mode;
  r.width = bitmap.width;
  r.rows = bitmap.rows;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
    r.coverage.insert(r.coverage.end(), line, line + bitmap.width);
  }
  return r;
}

bool same_face_fields(FT_Face a, FT_Face b) {
  auto* os2_a = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(a, FT_SFNT_OS2));
  auto* os2_b = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(b, FT_SFNT_OS2));
  return a->units_per_EM == b->units_per_EM && a->ascender == b->ascender &&
         a->descender == b->descender && a->height == b->height &&
         a->style_flags == b->style_flags && FT_IS_FIXED_WIDTH(a) == FT_IS_FIXED_WIDTH(b) &&
         os2_a != nullptr && os2_b != nullptr && os2_a->sTypoAscender == os2_b->sTypoAscender &&
         os2_a->sTypoDescender == os2_b->sTypoDescender &&
         os2_a->usWeightClass == os2_b->usWeightClass;
}

bool same_size_metrics(FT_Face a, FT_Face b) {
  const FT_Size_Metrics& x = a->size->metrics;
  const FT_Size_Metrics& y = b->size->metrics;
  return x.ascender == y.ascender && x.descender == y.descender && x.height == y.height &&
         x.max_advance == y.max_advance;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: font_check FULL.ttf SUBSET.ttf\n");
    return 2;
  }
  FT_Library library = nullptr;
  FT_Face full = nullptr, subset = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &full) != 0 ||
      FT_New_Face(library, argv[2], 0, &subset) != 0) {
    std::fprintf(stderr, "font_check: cannot open %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  FT_Select_Charmap(full, FT_ENCODING_UNICODE);
  FT_Select_Charmap(subset, FT_ENCODING_UNICODE);

  long differences = same_face_fields(full, subset) ? 0 : 1;
  if (differences != 0) std::printf("the faces' metrics differ\n");
  std::vector<int> sizes;
  for (int em = 1; em <= 128; ++em) sizes.push_back(em);
  for (int em : {160, 192, 256, 384, 512}) sizes.push_back(em);
  long glyphs = 0;
  for (int em : sizes) {
    FT_Set_Pixel_Sizes(full, 0, FT_UInt(em));
    FT_Set_Pixel_Sizes(subset, 0, FT_UInt(em));
    if (!same_size_metrics(full, subset)) {
      std::printf("size %d: the size metrics differ\n", em);
      ++differences;
    }
    for (bool embolden : {false, true})
      for (unsigned code = 0; code < 256; ++code, ++glyphs)
        if (!(render(full, code, embolden) == render(subset, code, embolden))) {
          if (differences < 20)
            std::printf("size %d%s: U+%04X differs\n", em, embolden ? " bold" : "", code);
          ++differences;
        }
  }
  std::printf("%s against %s: %ld glyphs, %ld differences\n", argv[2], argv[1], glyphs,
              differences);
  return differences == 0 ? 0 : 1;
}
