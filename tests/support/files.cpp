// Whole-file reads and writes, and the self-removing temporary directory.
#include "support/files.h"

#include <stdlib.h>

#include <fstream>

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  return bytes;
}

bool write_file(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

TemporaryDirectory::TemporaryDirectory(std::string_view prefix) {
  std::error_code failure;
  const std::filesystem::path base = std::filesystem::temp_directory_path(failure);
  if (failure) return;
  // mkdtemp picks a name nobody holds, so tests run side by side or repeated never share one.
  std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  if (!home_.empty()) std::filesystem::current_path(home_, ignored);
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

bool TemporaryDirectory::enter() {
  if (path_.empty()) return false;
  std::error_code failure;
  std::filesystem::path home = std::filesystem::current_path(failure);
  if (failure) return false;
  std::filesystem::current_path(path_, failure);
  if (failure) return false;
  if (home_.empty()) home_ = home;
  return true;
}
