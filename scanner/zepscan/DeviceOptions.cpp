// Device root override and card mounts for one zepscan run.
#include "scanner/zepscan/DeviceOptions.h"

#include <filesystem>
#include <ostream>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/MountTable.h"

namespace zepscan {
namespace {

std::string CurrentFolder() {
  std::error_code ec;
  std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::string() : current.string();
}

bool IsFolder(const std::string& hostPath) {
  std::error_code ec;
  return std::filesystem::is_directory(hostPath, ec);
}

}  // namespace

unsigned ApplyDeviceOptions(const DeviceOptions& options, std::ostream& err) {
  std::string root;
  if (!options.deviceRoot.empty()) {
    std::error_code ec;
    root = std::filesystem::absolute(options.deviceRoot, ec).lexically_normal().string();
    if (ec || !IsFolder(root)) {
      err << "zepscan: --device-root " << options.deviceRoot << ": no such folder\n";
      return platform::ERROR_PATH_NOT_FOUND;
    }
    // A trailing separator would make the root differ from the same folder
    // named without it.
    while (root.size() > 1 && root.back() == '/') root.pop_back();
  }
  std::vector<platform::DeviceMount> mounts;
  const std::string base = CurrentFolder();
  for (const std::string& card : options.cards) {
    platform::DeviceMount mount;
    const uint32_t parsed =
        platform::ParseMountArgument(card, platform::MountKind::Card, mount, base);
    if (parsed != 0) {
      err << "zepscan: --card " << card << ": " << platform::ErrorText(parsed)
          << " (expected NAME=DIR)\n";
      return parsed;
    }
    if (!IsFolder(mount.hostFolder)) {
      err << "zepscan: --card " << card << ": no such folder\n";
      return platform::ERROR_PATH_NOT_FOUND;
    }
    mounts.push_back(std::move(mount));
  }
  if (!root.empty()) platform::OverrideStatePath("QM_DEVICE_ROOT", root);
  for (const platform::DeviceMount& mount : mounts) {
    const uint32_t added = platform::AddDeviceMount(mount);
    if (added != 0) {
      err << "zepscan: --card " << mount.name << ": " << platform::ErrorText(added) << "\n";
      return added;
    }
  }
  return 0;
}

}  // namespace zepscan
