// Frames as PNG files: 0x00RRGGBB pixels written as 8-bit RGB through a temporary file renamed
// into place, so a failed write leaves nothing behind, and PNG files of any colour type (read
// with libpng's simplified API) read back as 0x00RRGGBB. Writing is tuned for speed: frames
// are mostly flat colour, which the fastest zlib level with the Sub filter packs nearly as
// tightly as the defaults, in a fraction of the time.
#include <png.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {

// Larger images are refused on both sides; no frame of this system comes near.
constexpr int MAX_PNG_SIDE = 16384;
constexpr uint64_t MAX_PNG_PIXELS = uint64_t(1) << 26;

bool sane_size(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= MAX_PNG_SIDE && height <= MAX_PNG_SIDE &&
         uint64_t(width) * uint64_t(height) <= MAX_PNG_PIXELS;
}

// libpng's own messages are not printed: the caller says in one line which file failed.
[[noreturn]] void quiet_error(png_structp png, png_const_charp /*message*/) {
  png_longjmp(png, 1);
}
void quiet_warning(png_structp /*png*/, png_const_charp /*message*/) {}

// libpng reports errors by longjmp, so nothing here may need destroying on the way out.
bool write_rows(FILE* file, const uint32_t* pixels, int width, int height) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quiet_error, quiet_warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(png, info);
  // A 0x00RRGGBB pixel is B, G, R, 0 in memory on a little-endian machine (RGB reversed, a
  // filler byte after), 0, R, G, B on a big-endian one; the filler is dropped as rows are written.
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  } else {
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
  }
  for (int row = 0; row < height; ++row)
    png_write_row(png, reinterpret_cast<png_const_bytep>(pixels + size_t(row) * size_t(width)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool headless_write_png(const std::string& path, const std::vector<uint32_t>& pixels, int width,
                        int height) {
  if (path.empty() || !sane_size(width, height) || pixels.size() < size_t(width) * size_t(height))
    return false;
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  bool ok = write_rows(file, pixels.data(), width, height);
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  // mkstemp makes the file readable by its owner only; a frame is meant to be looked at.
  ok = ok && chmod(temp.c_str(), 0644) == 0;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool headless_read_png(const std::string& path, std::vector<uint32_t>* pixels, int* width,
                       int* height) {
  if (!pixels) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  if (!sane_size(image.width, image.height)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  size_t count = size_t(image.width) * size_t(image.height);
  pixels->resize(count);
  for (size_t i = 0; i < count; ++i)
    (*pixels)[i] = (uint32_t(rgb[i * 3]) << 16) | (uint32_t(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
  if (width) *width = int(image.width);
  if (height) *height = int(image.height);
  return true;
}
