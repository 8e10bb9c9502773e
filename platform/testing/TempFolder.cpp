// Private temporary folders for tests, made with mkdtemp.
#include "platform/testing/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace platform::testing {

TempFolder::TempFolder(std::string_view prefix) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("TempFolder: mkdtemp");
    std::abort();  // no test can run without its folder
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::Path(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

std::string TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  const std::string p = Path(relative);
  std::filesystem::create_directories(std::filesystem::path(p).parent_path());
  std::ofstream(p, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::string TempFolder::Write(std::string_view relative, std::span<const uint8_t> bytes) const {
  return Write(relative,
               std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TempFolder::MakeFolder(std::string_view relative) const {
  const std::string p = Path(relative);
  std::filesystem::create_directories(p);
  return p;
}

std::string TempFolder::Read(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace platform::testing
