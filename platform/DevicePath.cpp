// Resolution of handheld paths against the device root and its mounts.
#include "platform/DevicePath.h"

#include <filesystem>

#include "platform/CaseLookup.h"
#include "platform/Errors.h"
#include "platform/HostFiles.h"
#include "platform/MountTable.h"
#include "platform/PathName.h"
#include "platform/Text.h"

namespace platform {

namespace {
bool IsPresent(const DeviceMount& m) {
  HostStatus st;
  return HostStat(m.hostFolder, st) == ERROR_SUCCESS && st.isFolder;
}

FilePath Failed(uint32_t code) {
  FilePath r;
  r.error = code;
  return r;
}
}  // namespace

FilePath ResolveDevicePath(std::string_view path) {
  const std::vector<std::string_view> parts = SplitComponents(path);
  for (auto p : parts)
    if (!IsValidName(p)) return Failed(ERROR_INVALID_NAME);
  std::shared_ptr<const MountTable> table = CurrentMountTable();
  if (parts.empty()) {
    FilePath r;
    r.host = table->deviceRoot();
    r.kind = PathKind::DeviceRoot;
    r.mounts = std::move(table);
    return r;
  }
  if (const DeviceMount* m = table->Find(parts[0]); m && IsPresent(*m)) {
    const bool card = m->kind == MountKind::Card;
    if (parts.size() == 1) {
      FilePath r;
      r.host = m->hostFolder;
      r.kind = card ? PathKind::CardFolder : PathKind::RomFolder;
      return r;
    }
    return ResolveBelow(m->hostFolder, {parts.begin() + 1, parts.end()},
                        card ? PathKind::Plain : PathKind::InRom);
  }
  return ResolveBelow(table->deviceRoot(), parts, PathKind::Plain);
}

FilePath ResolveDevicePath(std::u16string_view path) {
  return ResolveDevicePath(Utf16ToUtf8(path));
}

std::string DevicePathFromHost(std::string_view hostPath) {
  const std::string host = std::filesystem::path(std::string(hostPath)).lexically_normal().string();
  auto below = [&](const std::string& folder, std::string& rest) {
    if (host == folder || host == folder + "/") {
      rest.clear();
      return true;
    }
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (!host.starts_with(prefix)) return false;
    rest = host.substr(prefix.size());
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    return true;
  };
  auto toDevice = [](std::string text) {
    for (char& c : text)
      if (c == '/') c = '\\';
    return text;
  };
  const auto table = CurrentMountTable();
  std::string rest;
  for (const auto& m : table->mounts()) {
    if (IsPresent(m) && below(m.hostFolder, rest))
      return "\\" + m.name + (rest.empty() ? "" : "\\" + toDevice(rest));
  }
  if (below(table->deviceRoot(), rest)) return "\\" + toDevice(rest);
  return {};
}

}  // namespace platform
