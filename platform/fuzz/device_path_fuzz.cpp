// Fuzz target: mount file text, handheld and desktop paths and listing patterns never escape their
// roots.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/DesktopPath.h"
#include "platform/DevicePath.h"
#include "platform/MountTable.h"
#include "platform/PathName.h"

namespace {
constexpr size_t kMountFolders = 4;

// FuzzHome: the temporary home, removed when the fuzzer exits.
struct FuzzHome {
  std::string path;
  ~FuzzHome() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

const std::string& Root() {
  static FuzzHome home;
  static const std::string root = [] {
    char tmpl[] = "/tmp/qm_path_fuzz_XXXXXX";
    if (!mkdtemp(tmpl)) abort();
    std::string r = tmpl;
    home.path = r;
    // A small tree so that resolution also takes the other-case and card paths.
    std::filesystem::create_directories(r + "/device/My Documents/Sub");
    std::ofstream(r + "/device/My Documents/Readme.TXT") << "x";
    std::filesystem::create_directories(r + "/c/Program Files");
    for (size_t i = 0; i < kMountFolders; ++i)
      std::filesystem::create_directories(r + "/m" + std::to_string(i) + "/Dir");
    setenv("QM_HOME", r.c_str(), 1);
    setenv("QM_DEVICE_ROOT", (r + "/device").c_str(), 1);
    setenv("QM_DEVICE_MOUNTS", (r + "/none.conf").c_str(), 1);
    setenv("QM_DRIVE_C", (r + "/c").c_str(), 1);
    return r;
  }();
  return root;
}

bool Inside(const std::string& host, const std::string& folder) {
  return host == folder || host.starts_with(folder + "/");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& root = Root();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string_view config = input.substr(0, cut);
  const std::string_view path = cut == input.npos ? std::string_view{} : input.substr(cut + 1);

  platform::ResetDeviceMounts();
  size_t bad = 0;
  auto mounts = platform::ParseMountConfig(config, root, &bad);
  // Mount targets are kept inside the fuzz folder: only names come from the input.
  if (mounts.size() > kMountFolders) mounts.resize(kMountFolders);
  for (size_t i = 0; i < mounts.size(); ++i) {
    mounts[i].hostFolder = root + "/m" + std::to_string(i);
    if (platform::AddDeviceMount(mounts[i]) != 0) abort();
  }

  const platform::FilePath dev = platform::ResolveDevicePath(path);
  if (dev.ok()) {
    bool inside = Inside(dev.host, root + "/device");
    for (const auto& m : mounts) inside = inside || Inside(dev.host, m.hostFolder);
    if (!inside) abort();
  }
  if (path.size() >= 2 && (path[0] == 'c' || path[0] == 'C') && path[1] == ':') {
    const platform::FilePath desk = platform::ResolveDesktopPath(path);
    if (desk.ok() && !Inside(desk.host, root + "/c")) abort();
  }
  const auto [folder, pattern] = platform::SplitLastComponent(path);
  (void)platform::MatchPattern(pattern, folder);
  return 0;
}
