// Frames as PNG files (libpng's simplified API): 0x00RRGGBB pixels written as 8-bit RGB through
// a temporary file renamed into place, so a failed write leaves nothing behind, and PNG files
// of any colour type read back as 0x00RRGGBB.
#include <png.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

bool headless_write_png(const std::string& path, const std::vector<uint32_t>& pixels, int width,
                        int height) {
  if (path.empty() || !sane_size(width, height) || pixels.size() < size_t(width) * size_t(height))
    return false;
  std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
    rgb[i * 3 + 0] = (pixels[i] >> 16) & 0xFF;
    rgb[i * 3 + 1] = (pixels[i] >> 8) & 0xFF;
    rgb[i * 3 + 2] = pixels[i] & 0xFF;
  }

  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
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
