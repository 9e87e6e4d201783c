// Files and working directories for tests, benchmarks and fuzz targets: a temporary directory
// that removes itself, which a test may make its working directory (where a program looks for
// "EASEL.SCR"), and whole files read and written as bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The bytes of a file; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);
// Replaces a file with these bytes; false when it cannot be written whole.
bool write_file(const std::filesystem::path& path, std::string_view bytes);

// A new, empty directory of its own under the system's temporary directory, named after
// `prefix`. Destroying it gives back the working directory it took (if it was entered) and
// removes it with all it holds. A directory that could not be made is empty() and enters nowhere.
class TemporaryDirectory {
 public:
  explicit TemporaryDirectory(std::string_view prefix = "chilly");
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  bool empty() const { return path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Makes it the working directory until it is destroyed; false if that failed.
  bool enter();

 private:
  std::filesystem::path path_;
  std::filesystem::path home_;
};
