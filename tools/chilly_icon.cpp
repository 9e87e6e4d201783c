// chilly-icon: makes the game's desktop icon at build time. The game's own title-screen code
// draws the snowman face through the package on the headless host, over a background of one
// palette colour the face never uses; that colour becomes transparent, the face is cut out
// square and scaled down by area averaging to each size of the desktop's icon theme.
//
// Usage: chilly-icon DIR    writes DIR/hicolor/SIZExSIZE/apps/virtual-chilly.png
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/main.h"
#include "app/palette.h"
#include "platform/headless.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* GRAPHICS = "EASEL Graphics";
constexpr int SIZES[] = {48, 64, 128, 256};
constexpr int MARGIN_PERCENT = 3;

// Premultiplied RGBA in floating point, so averaging never bleeds the background's colour
// into the face's edge.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

struct Image {
  int size = 0;
  std::vector<Rgba> pixels;  // size * size, rows top to bottom
};

// The face cut out of the drawing area (x -300..300, y -250..250 around the client area's
// centre): the smallest square around every pixel that is not the background, with a small
// margin, the background made transparent.
bool cut_out_face(Image* face) {
  const HWND window = headless_find_window(GRAPHICS);
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return false;
  const int area_left = client.right / 2 - 300, area_top = client.bottom / 2 - 250;
  const int area_right = area_left + 600, area_bottom = area_top + 500;
  auto drawn = [&](int x, int y) {
    return x >= area_left && x <= area_right && y >= area_top && y <= area_bottom;
  };
  const uint32_t background = headless_client_pixel(GRAPHICS, area_left, area_top);
  int left = area_right, top = area_bottom, right = -1, bottom = -1;
  for (int y = area_top; y <= area_bottom; ++y) {
    for (int x = area_left; x <= area_right; ++x) {
      if (headless_client_pixel(GRAPHICS, x, y) == background) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return false;
  const int extent = std::max(right - left + 1, bottom - top + 1);
  const int side = extent + 2 * (extent * MARGIN_PERCENT / 100);
  const int x0 = (left + right + 1 - side) / 2, y0 = (top + bottom + 1 - side) / 2;
  face->size = side;
  face->pixels.assign(size_t(side) * side, Rgba{});
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      if (!drawn(x0 + x, y0 + y)) continue;
      const uint32_t p = headless_client_pixel(GRAPHICS, x0 + x, y0 + y);
      if (p == background) continue;
      face->pixels[size_t(y) * side + x] = {double((p >> 16) & 0xFF), double((p >> 8) & 0xFF),
                                            double(p & 0xFF), 1.0};
    }
  }
  return true;
}

// Each target pixel is the average of the source area it covers, partly covered source pixels
// weighted by the part covered.
Image scale_down(const Image& source, int size) {
  Image out;
  out.size = size;
  out.pixels.assign(size_t(size) * size, Rgba{});
  const double step = double(source.size) / size;
  for (int ty = 0; ty < size; ++ty) {
    const double sy0 = ty * step, sy1 = sy0 + step;
    for (int tx = 0; tx < size; ++tx) {
      const double sx0 = tx * step, sx1 = sx0 + step;
      Rgba sum;
      for (int sy = int(sy0); sy < source.size && sy < sy1; ++sy) {
        const double wy = std::min(sy1, sy + 1.0) - std::max(sy0, double(sy));
        for (int sx = int(sx0); sx < source.size && sx < sx1; ++sx) {
          const double w = wy * (std::min(sx1, sx + 1.0) - std::max(sx0, double(sx)));
          const Rgba& p = source.pixels[size_t(sy) * source.size + sx];
          sum.r += w * p.r * p.a;
          sum.g += w * p.g * p.a;
          sum.b += w * p.b * p.a;
          sum.a += w * p.a;
        }
      }
      const double area = step * step;
      Rgba& t = out.pixels[size_t(ty) * size + tx];
      t.a = sum.a / area;
      if (sum.a > 0) t = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, t.a};
    }
  }
  return out;
}

uint8_t to_byte(double v) {
  return uint8_t(std::clamp(v + 0.5, 0.0, 255.0));
}

// An RGBA PNG, written under a temporary name and renamed, so a failed run leaves no half file.
bool write_png(const fs::path& path, const Image& image) {
  std::vector<uint8_t> rgba(size_t(image.size) * image.size * 4);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const Rgba& p = image.pixels[i];
    rgba[i * 4] = to_byte(p.r);
    rgba[i * 4 + 1] = to_byte(p.g);
    rgba[i * 4 + 2] = to_byte(p.b);
    rgba[i * 4 + 3] = to_byte(p.a * 255.0);
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.size);
  png.height = png_uint_32(image.size);
  png.format = PNG_FORMAT_RGBA;
  const fs::path partial = path.string() + ".tmp";
  FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) return false;
  bool ok = png_image_write_to_stdio(&png, file, 0, rgba.data(), 0, nullptr) != 0;
  png_image_free(&png);
  ok = std::fclose(file) == 0 && ok;
  std::error_code failure;
  if (ok) fs::rename(partial, path, failure);
  if (!ok || failure) fs::remove(partial, failure);
  return ok && !failure;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: chilly-icon DIR\n", stderr);
    return 2;
  }
  headless_reset();
  headless_set_time_limit(10000);
  EASEL_open(nullptr, nullptr, nullptr, SW_SHOWDEFAULT);
  EASEL_logging(0);
  EASEL_rectangle(COLOUR_ICE_BLUE, -300, -250, 300, 250, 0);  // not among the face's colours
  draw_title_face();
  // Two periodic events: the first wait copies the picture to the window, the second shows it.
  EASEL_animate(EASEL_ANIM_RUN);
  int32_t x = 0, y = 0;
  char key = 0;
  EASEL_await_event(&x, &y, &key);
  EASEL_await_event(&x, &y, &key);

  Image face;
  if (!cut_out_face(&face)) {
    std::fputs("chilly-icon: the face was not drawn\n", stderr);
    return 1;
  }
  for (int size : SIZES) {
    const fs::path dir = fs::path(argv[1]) / "hicolor" /
                         (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::error_code failure;
    fs::create_directories(dir, failure);
    const fs::path file = dir / "virtual-chilly.png";
    if (failure || !write_png(file, scale_down(face, size))) {
      std::fprintf(stderr, "chilly-icon: cannot write %s\n", file.c_str());
      return 1;
    }
  }
  EASEL_close();
  return 0;
}
