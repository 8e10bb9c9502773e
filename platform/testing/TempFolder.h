// Test support: a private temporary folder that disappears with its contents.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform::testing {

// TempFolder: a new, empty folder below the host's temporary folder, unique
// to this object (created atomically, so parallel tests never share one);
// removed with everything in it when the object goes away.
class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix = "qm");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }

  // Path: the host path of a name relative to the folder.
  std::string Path(std::string_view relative) const;

  // Write: writes a file below the folder, making its parent folders; returns
  // its host path.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  std::string Write(std::string_view relative, std::span<const uint8_t> bytes) const;

  // MakeFolder: creates a folder below the folder; returns its host path.
  std::string MakeFolder(std::string_view relative) const;

  // Read: the whole content of a host file, empty when it cannot be read.
  static std::string Read(const std::string& hostPath);

 private:
  std::string path_;
};

}  // namespace platform::testing
