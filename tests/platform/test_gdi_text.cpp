// Fonts and text: where the ink of TextOutA falls, background modes, metrics and extents, the
// stock fonts, face matching with its fallback, the shared face cache, a machine without
// fonts, and the text services USER's menus use.
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "gdi/font_cache.h"
#include "test_gdi_helpers.h"

namespace {

class GdiText : public GdiTest {
 protected:
  HFONT select_font(int height, int weight = FW_NORMAL, const char* face = "EASEL-font") {
    HFONT font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face);
    DeleteObject(SelectObject(dc, font));
    return font;
  }
  TEXTMETRICA metrics() {
    TEXTMETRICA tm{};
    EXPECT_TRUE(GetTextMetricsA(dc, &tm));
    return tm;
  }
  SIZE extent(const char* text) {
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPointA(dc, text, int(std::string(text).size()), &size));
    return size;
  }
};

TEST_F(GdiText, InkLiesWithinTheCharacterCell) {
  select_font(-20);
  SetTextColor(dc, RED);
  SetBkMode(dc, TRANSPARENT);
  ASSERT_TRUE(TextOutA(dc, 30, 40, "Hg", 2));
  TEXTMETRICA tm = metrics();
  SIZE size = extent("Hg");
  PixelBox b = ink();
  ASSERT_GT(b.count, 0);
  EXPECT_GE(b.top, 40);
  EXPECT_LT(b.bottom, 40 + tm.tmHeight);
  EXPECT_LE(b.right, 30 + size.cx);
  // Where the ink of DejaVu Sans falls, to the pixel: text drawn a pixel off shows here.
  EXPECT_EQ(std::tuple(b.left, b.top, b.right, b.bottom), std::tuple(31, 45, 53, 62));
  EXPECT_GT(b.bottom, 40 + tm.tmAscent) << "the g reaches below the baseline";
  EXPECT_LT(b.top, 40 + tm.tmAscent - 10) << "the H stands well above it";
  EXPECT_GT(box_of(RED_PIXEL).count, 10) << "stems are fully covered";
}

TEST_F(GdiText, OpaqueFillsTheCellsAndTransparentLeavesThem) {
  select_font(-16);
  SetTextColor(dc, RED);
  SetBkColor(dc, BLUE);
  ASSERT_EQ(GetBkMode(dc), OPAQUE);
  // Letters whose ink stays inside their cells, so the cells' box is the whole ink.
  TextOutA(dc, 10, 20, "nun", 3);
  TEXTMETRICA tm = metrics();
  SIZE size = extent("nun");
  PixelBox cell = ink();
  EXPECT_EQ(cell.left, 10);
  EXPECT_EQ(cell.top, 20);
  EXPECT_EQ(cell.width(), size.cx);
  EXPECT_EQ(cell.height(), tm.tmHeight);
  EXPECT_EQ(cell.count, size.cx * tm.tmHeight);
  EXPECT_GT(box_of(BLUE_PIXEL).count, size.cx * tm.tmHeight / 2);

  paint_background(BACKGROUND);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 10, 20, "nun", 3);
  EXPECT_EQ(box_of(BLUE_PIXEL).count, 0);
  EXPECT_LT(ink().count, size.cx * tm.tmHeight / 2);
  EXPECT_EQ(px(10, 20 + tm.tmHeight - 1), BACKGROUND);
}

TEST_F(GdiText, MetricsAndExtentsAgree) {
  for (int height : {-20, -13, -1, 0, 9, 30, -127}) {
    SCOPED_TRACE(height);
    select_font(height);
    TEXTMETRICA tm = metrics();
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(extent("Hg").cy, tm.tmHeight);
    EXPECT_EQ(extent("").cx, 0);
    EXPECT_GE(tm.tmExternalLeading, 0);
    EXPECT_GE(tm.tmInternalLeading, 0);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    if (height <= 0) {
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, height == 0 ? 16 : -height);
    }
    if (height > 0) {
      EXPECT_LE(tm.tmHeight, height);
      EXPECT_GE(tm.tmHeight, height - 3);
    }
    EXPECT_EQ(extent("ab").cx, extent("a").cx + extent("b").cx);
  }
  select_font(-20);
  int regular = extent("mmm").cx;
  select_font(-20, FW_BOLD);
  EXPECT_GE(metrics().tmWeight, 600);
  EXPECT_GT(extent("mmm").cx, regular);
  // Absurd heights are bounded rather than rendered at any size.
  select_font(INT_MIN);
  EXPECT_GT(metrics().tmHeight, 0);
  EXPECT_LT(metrics().tmHeight, 1000);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "A", 1));
}

TEST_F(GdiText, StockFonts) {
  EXPECT_EQ(SelectObject(dc, GetStockObject(ANSI_FIXED_FONT)), GetStockObject(SYSTEM_FONT));
  // The fixed font of Windows: 8 pixels a character, 13 a line.
  TEXTMETRICA fixed = metrics();
  EXPECT_EQ(fixed.tmHeight, 13);
  EXPECT_EQ(fixed.tmExternalLeading, 0);
  EXPECT_EQ(extent("i").cx, 8);
  EXPECT_EQ(extent("iii").cx, extent("WWW").cx);
  EXPECT_EQ(extent("iii").cx, 3 * extent("i").cx);
  EXPECT_EQ(fixed.tmAveCharWidth, 8);
  EXPECT_EQ(fixed.tmPitchAndFamily & 1, 0) << "a fixed-pitch font has the bit clear";

  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TEXTMETRICA system = metrics();
  EXPECT_GE(system.tmHeight, 14);
  EXPECT_LE(system.tmHeight, 16);
  EXPECT_NE(extent("iii").cx, extent("WWW").cx);
  EXPECT_EQ(system.tmPitchAndFamily & 1, 1);
}

// An unknown face falls back to Arial's metrics where the desktop has them (as Windows maps it),
// else to the generic sans-serif face; either way the same face as asking for Arial.
TEST_F(GdiText, FaceNamesAreMatchedWithAFallback) {
  select_font(-20, FW_NORMAL, "Arial");
  int sans = extent("Hello world").cx;
  select_font(-20, FW_NORMAL, "No Such Face 123");
  EXPECT_EQ(extent("Hello world").cx, sans);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 5, 5, "Hello", 5);
  EXPECT_GT(ink().count, 20);
  select_font(-20, FW_NORMAL, "EASEL-font");
  EXPECT_EQ(extent("Hello world").cx, sans);
  select_font(-20, FW_NORMAL, "DejaVu Sans Mono");
  EXPECT_NE(extent("Hello world").cx, sans);
  select_font(-20, FW_NORMAL, nullptr);
  EXPECT_EQ(extent("Hello world").cx, sans);
  select_font(-20, FW_NORMAL,
              "A face name far longer than the thirty-one characters a face name may have");
  EXPECT_EQ(extent("Hello world").cx, sans);
}

TEST_F(GdiText, BytesAreLatin1) {
  select_font(-24);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 10, 10, "e", 1);
  PixelBox plain = ink();
  paint_background(BACKGROUND);
  TextOutA(dc, 10, 10, "\xE9", 1);  // e with acute accent
  PixelBox accented = ink();
  EXPECT_EQ(extent("\xE9").cx, extent("e").cx);
  EXPECT_LT(accented.top, plain.top - 2);
  EXPECT_EQ(accented.bottom, plain.bottom);
}

TEST_F(GdiText, BadCountsHandlesAndFarCoordinates) {
  SIZE size{};
  EXPECT_TRUE(TextOutA(dc, 10, 10, "abc", 0));
  EXPECT_TRUE(TextOutA(dc, 10, 10, nullptr, 0));
  EXPECT_FALSE(TextOutA(dc, 10, 10, "abc", -1));
  EXPECT_FALSE(TextOutA(dc, 10, 10, nullptr, 3));
  EXPECT_FALSE(TextOutA(nullptr, 10, 10, "abc", 3));
  EXPECT_EQ(ink().count, 0);
  EXPECT_FALSE(GetTextExtentPointA(dc, "abc", 3, nullptr));
  EXPECT_FALSE(GetTextExtentPointA(dc, nullptr, 3, &size));
  EXPECT_FALSE(GetTextExtentPointA(dc, "abc", -2, &size));
  EXPECT_FALSE(GetTextExtentPointA(nullptr, "abc", 3, &size));
  EXPECT_FALSE(GetTextMetricsA(dc, nullptr));

  std::string long_text(5000, 'W');
  EXPECT_TRUE(TextOutA(dc, INT_MAX - 3, INT_MIN, "Hello", 5));
  EXPECT_TRUE(TextOutA(dc, INT_MIN, 10, long_text.c_str(), int(long_text.size())));
  EXPECT_TRUE(TextOutA(dc, INT_MAX, INT_MAX, long_text.c_str(), int(long_text.size())));
  EXPECT_TRUE(GetTextExtentPointA(dc, long_text.c_str(), int(long_text.size()), &size));
  EXPECT_GT(size.cx, 5000);
  EXPECT_EQ(ink().count, 0);
  // Straddling the edges: the visible part is drawn.
  EXPECT_TRUE(TextOutA(dc, 190, 140, "WWW", 3));
  EXPECT_TRUE(TextOutA(dc, -8, -8, "WWW", 3));
  EXPECT_GT(ink().count, 0);
}

TEST_F(GdiText, FontsShareCachedFaces) {
  using plat::gdi::object_of;
  HFONT a = CreateFontA(-18, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  HFONT b = CreateFontA(-18, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  HFONT c = CreateFontA(-18, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Unknown");
  HFONT d = CreateFontA(-19, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  auto face = [](HFONT f) { return plat::gdi::font_face(object_of(f)->font); };
  ASSERT_TRUE(face(a));
  EXPECT_EQ(face(a), face(b));
  EXPECT_EQ(face(a), face(c)) << "both fall back to the same file at the same size";
  EXPECT_NE(face(a), face(d));
  const plat::gdi::Glyph& first = plat::gdi::glyph_for(*face(a), 'Q');
  EXPECT_EQ(&plat::gdi::glyph_for(*face(b), 'Q'), &first);
  EXPECT_FALSE(first.coverage.empty());
}

TEST_F(GdiText, WithoutFontsTextDrawsNothingAndSaysWhyOnce) {
  plat::gdi::font_cache_rebuild(false);
  testing::internal::CaptureStderr();
  select_font(-20);
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(TextOutA(dc, 10, 10, "Hello", 5));
  select_font(-30, FW_BOLD, "DejaVu Sans");
  EXPECT_TRUE(TextOutA(dc, 10, 40, "Hello", 5));
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA tm = metrics();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ink().count, 0);
  EXPECT_GT(tm.tmHeight, 0);
  size_t first = said.find("fonts-dejavu-core");
  EXPECT_NE(first, std::string::npos) << said;
  EXPECT_EQ(said.find("fonts-dejavu-core", first + 1), std::string::npos) << said;

  plat::gdi::font_cache_rebuild(true);
  select_font(-20);
  TextOutA(dc, 10, 10, "Hello", 5);
  EXPECT_GT(ink().count, 0);
}

TEST_F(GdiText, MenuTextServices) {
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  std::vector<uint32_t> pixels(100 * 40, 0xFFFFFF);
  plat::Surface surface{pixels.data(), 100, 40, 100};
  RECT clip{0, 0, 30, 40};
  int width = plat::draw_text_on_surface(surface, clip, font, 5, 10, "File Edit", 9, 0x000000);
  EXPECT_EQ(width, plat::text_width(font, "File Edit", 9));
  EXPECT_GT(width, 40);
  int inked_left = 0, inked_outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (pixels[y * 100 + x] != 0xFFFFFF) (x < 30 ? inked_left : inked_outside)++;
  EXPECT_GT(inked_left, 0);
  EXPECT_EQ(inked_outside, 0);

  SelectObject(dc, font);
  EXPECT_EQ(plat::font_height(font), metrics().tmHeight);
  EXPECT_EQ(plat::text_width(nullptr, "x", 1), 0);
  // Handles of another kind, as a cast would pass them, are refused.
  EXPECT_EQ(plat::font_height(static_cast<HFONT>(GetStockObject(BLACK_PEN))), 0);
  EXPECT_EQ(
      plat::draw_text_on_surface(surface, clip, reinterpret_cast<HFONT>(bitmap), 0, 0, "x", 1, 0),
      0);
}

}  // namespace
