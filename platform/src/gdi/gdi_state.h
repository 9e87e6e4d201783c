// The GDI's own records: device contexts, pens, brushes, fonts and bitmaps, the two handle
// tables they live in, the stock objects, and the drawing target a DC resolves to at each call
// (a bitmap, or the client area of a window that may have changed or gone since the DC was made).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "handle_table.h"
#include "internal.h"

namespace plat::gdi {

struct SizedFace;

enum class ObjectKind { PEN, BRUSH, FONT, BITMAP };

struct Pen {
  bool null = false;  // NULL_PEN and PS_NULL: no outline at all
  int width = 1;      // 0 and 1 both mean the thinnest pen
  uint32_t pixel = 0;
};

struct Brush {
  bool hollow = false;
  uint32_t pixel = 0;
};

// What CreateFontA asked for; the face it resolves to is shared through the font cache.
struct FontRequest {
  int height = 0;  // < 0: em height, 0: default, > 0: cell height (ascent + descent)
  int weight = 400;
  bool italic = false;
  bool fixed_pitch = false;
  std::string face_name;
  std::string generic = "sans-serif";  // fontconfig family to fall back on
  // The cell is the em box itself, shared between ascent and descent as the face's typographic
  // ascender and descender share it: how the stock fixed font gets the 8-pixel advance and
  // 13-pixel line of the bitmap font that Windows has under that name.
  bool em_cell = false;
};

struct Font {
  FontRequest request;
  SizedFace* face = nullptr;  // null when no font file is available
  unsigned epoch = 0;         // font cache generation the face pointer belongs to
};

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uintptr_t selected_in = 0;  // the memory DC holding it, 0 when free
};

struct GdiObject {
  ObjectKind kind = ObjectKind::PEN;
  bool stock = false;
  int select_count = 0;  // DCs that currently hold this pen, brush or font
  Pen pen;
  Brush brush;
  Font font;
  Bitmap bitmap;
};

struct DeviceContext {
  HWND window = nullptr;  // null for a memory DC
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;  // memory DCs only
  COLORREF text_colour = RGB(0, 0, 0);
  COLORREF bk_colour = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  int pos_x = 0;
  int pos_y = 0;
  // BeginPaint's DC draws only inside the update area (client coordinates, not overlapping).
  bool paint_clipped = false;
  std::vector<RECT> paint_area;
};

constexpr int STOCK_COUNT = 14;  // indices 0..SYSTEM_FONT

// The GDI's part of the window system's context (the tables are with the other handle tables).
struct GdiState {
  std::array<HGDIOBJ, STOCK_COUNT> stock{};
  HGDIOBJ stock_bitmap = nullptr;
  int stock_count = 0;
  bool missing_fonts_reported = false;  // said once that there is no font file to draw with
};

GdiState& gdi_state();
HandleTable<GdiObject>& objects();
HandleTable<DeviceContext>& dcs();

inline GdiObject* object_of(HGDIOBJ h) {
  return objects().get(h);
}
inline DeviceContext* dc_of(HDC h) {
  return dcs().get(h);
}

// Creates the stock objects on first use; their handles stay the same until the next reset.
void ensure_stock_objects();
HGDIOBJ stock_object(int index);
// The 1x1 bitmap a new memory DC starts with.
HGDIOBJ stock_bitmap();
HFONT create_font_object(const FontRequest& request);

// Where a DC draws right now. Surface coordinates = DC coordinates + (origin_x, origin_y);
// `clip` bounds the pixels that may change, in surface coordinates; when the DC draws into an
// area of several rectangles, `parts` lists them (each inside `clip`), else it is empty.
struct Target {
  Surface surface;
  RECT clip{0, 0, 0, 0};
  std::vector<RECT> parts;
  int origin_x = 0;
  int origin_y = 0;
  HWND window = nullptr;
};

// False when the DC's window no longer exists (nothing may be drawn then).
bool dc_target(const DeviceContext& dc, Target* target);
// Marks the target's window as changed so the host shows it again.
void target_changed(const Target& target);

// Current objects of a DC, resolved; the stock defaults stand in should a handle be stale.
const Pen& dc_pen(const DeviceContext& dc);
const Brush& dc_brush(const DeviceContext& dc);
Font& dc_font(const DeviceContext& dc);

// Resolves a font's face, re-matching it when the font cache has been rebuilt.
SizedFace* font_face(Font& font);

}  // namespace plat::gdi
