// A run's frames against the expected ones, outside the program (a program under test never
// sees the expected frames, so the comparison cannot be its own). Equal files are equal frames;
// other pairs are decoded and compared pixel by pixel, so that two encodings of one picture pass.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <set>
#include <system_error>

#include "grade.h"

namespace grade {

namespace {

struct Picture {
  png_uint_32 width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

bool read_picture(const fs::path& path, Picture* picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  picture->width = image.width;
  picture->height = image.height;
  picture->rgba.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, picture->rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

bool write_picture(const fs::path& path, const Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr) != 0;
}

std::string bytes_of(const fs::path& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, n);
  std::fclose(file);
  return bytes;
}

// The runner's pictures in a folder: frame-NNNNNN.png and the others it names, not diff-*.png.
std::set<std::string> pictures_in(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code failure;
  for (const auto& entry : fs::directory_iterator(folder, failure)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name.ends_with(".png") && !name.starts_with("diff-")) names.insert(name);
  }
  return names;
}

// Counts the differing pixels and draws them red over a pale copy of the expected picture.
int64_t difference(const Picture& expected, const Picture& got, Picture* diff) {
  *diff = expected;
  int64_t count = 0;
  for (size_t i = 0; i + 3 < expected.rgba.size(); i += 4) {
    const bool same = std::equal(expected.rgba.begin() + long(i),
                                 expected.rgba.begin() + long(i) + 4, got.rgba.begin() + long(i));
    uint8_t* pixel = &diff->rgba[i];
    if (same) {
      for (int c = 0; c < 3; ++c) pixel[c] = uint8_t(255 - (255 - pixel[c]) / 4);
    } else {
      pixel[0] = 255, pixel[1] = 0, pixel[2] = 0, pixel[3] = 255;
      ++count;
    }
  }
  return count;
}

void fail(Run& run, const std::string& frame, const std::string& reason) {
  run.passed = false;
  run.first_frame = frame;
  run.reason = reason;
}

}  // namespace

void compare_frames(Run& run) {
  const fs::path got_folder = run.folder / "frames";
  const std::set<std::string> expected = pictures_in(run.expected);
  const std::set<std::string> got = pictures_in(got_folder);
  std::set<std::string> all;
  std::set_union(expected.begin(), expected.end(), got.begin(), got.end(),
                 std::inserter(all, all.end()));
  run.frames_matched = 0;
  for (const std::string& name : all) {
    if (!got.contains(name)) return fail(run, name, name + " expected, but not made");
    if (!expected.contains(name)) return fail(run, name, name + " made, but not expected");
    if (bytes_of(run.expected / name) == bytes_of(got_folder / name)) {
      ++run.frames_matched;
      continue;
    }
    Picture want, have, diff;
    if (!read_picture(run.expected / name, &want))
      return fail(run, name, "expected " + name + " cannot be read");
    if (!read_picture(got_folder / name, &have))
      return fail(run, name, name + " cannot be read as a PNG picture");
    if (want.width != have.width || want.height != have.height) {
      return fail(run, name,
                  name + " is " + std::to_string(have.width) + " x " + std::to_string(have.height) +
                      ", not " + std::to_string(want.width) + " x " + std::to_string(want.height));
    }
    const int64_t count = difference(want, have, &diff);
    if (count == 0) {
      ++run.frames_matched;
      continue;
    }
    const std::string number = name.substr(name.find('-') + 1);
    write_picture(run.folder / ("diff-" + number), diff);
    std::error_code ignored;
    fs::copy_file(run.expected / name, run.folder / ("expected-" + number),
                  fs::copy_options::overwrite_existing, ignored);
    return fail(run, name, name + " differs in " + std::to_string(count) + " pixels");
  }
}

}  // namespace grade
