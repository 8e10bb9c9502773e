// The mount table: parsing the mount file, run-time additions and the shared snapshot.
#include "platform/MountTable.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/PathName.h"
#include "platform/Text.h"

namespace platform {

namespace {
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string AbsoluteHost(std::string_view dir, std::string_view baseFolder) {
  std::filesystem::path p{std::string(dir)};
  if (p.is_relative()) {
    std::error_code ec;
    std::filesystem::path base = baseFolder.empty()
                                     ? std::filesystem::current_path(ec)
                                     : std::filesystem::path(std::string(baseFolder));
    p = base / p;
  }
  return WithoutTrailingSlashes(p.lexically_normal().string());
}

void Upsert(std::vector<DeviceMount>& mounts, DeviceMount m) {
  const std::string folded = FoldName(m.name);
  for (auto& existing : mounts) {
    if (FoldName(existing.name) == folded) {
      existing = std::move(m);
      return;
    }
  }
  mounts.push_back(std::move(m));
}

struct State {
  std::mutex lock;
  std::vector<DeviceMount> added;
  std::string fileRead;  // path of the mount file the cached table was built from
  std::vector<DeviceMount> fromFile;
  bool fileLoaded = false;
  std::shared_ptr<const MountTable> snapshot;
};

State& TheState() {
  static State state;
  return state;
}

std::vector<DeviceMount> ReadMountFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseMountConfig(text.str(), std::filesystem::path(path).parent_path().string());
}
}  // namespace

MountTable::MountTable(std::string deviceRoot, std::vector<DeviceMount> mounts)
    : deviceRoot_(WithoutTrailingSlashes(std::move(deviceRoot))), mounts_(std::move(mounts)) {}

const DeviceMount* MountTable::Find(std::string_view name) const {
  for (const auto& m : mounts_)
    if (m.name == name) return &m;
  const std::string folded = FoldName(name);
  for (const auto& m : mounts_)
    if (FoldName(m.name) == folded) return &m;
  return nullptr;
}

uint32_t ParseMountArgument(std::string_view text, MountKind kind, DeviceMount& out,
                            std::string_view baseFolder) {
  const size_t eq = text.find('=');
  if (eq == text.npos) return ERROR_INVALID_PARAMETER;
  const std::string_view name = Trim(text.substr(0, eq));
  const std::string_view dir = Trim(text.substr(eq + 1));
  if (!IsValidName(name)) return ERROR_INVALID_NAME;
  if (dir.empty()) return ERROR_INVALID_PARAMETER;
  out.kind = kind;
  out.name = std::string(name);
  out.hostFolder = AbsoluteHost(dir, baseFolder);
  return ERROR_SUCCESS;
}

std::vector<DeviceMount> ParseMountConfig(std::string_view text, std::string_view baseFolder,
                                          size_t* firstBadLine) {
  std::vector<DeviceMount> mounts;
  if (firstBadLine) *firstBadLine = 0;
  size_t lineNo = 0;
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    const std::string_view raw = text.substr(0, nl);
    text = nl == text.npos ? std::string_view{} : text.substr(nl + 1);
    ++lineNo;
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    const size_t sp = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, sp);
    MountKind kind;
    if (word == "card") {
      kind = MountKind::Card;
    } else if (word == "rom") {
      kind = MountKind::Rom;
    } else {
      if (firstBadLine && *firstBadLine == 0) *firstBadLine = lineNo;
      continue;
    }
    DeviceMount m;
    if (sp == line.npos || ParseMountArgument(line.substr(sp + 1), kind, m, baseFolder) != 0) {
      if (firstBadLine && *firstBadLine == 0) *firstBadLine = lineNo;
      continue;
    }
    Upsert(mounts, std::move(m));
  }
  return mounts;
}

std::shared_ptr<const MountTable> CurrentMountTable() {
  const std::string root = StatePath("QM_DEVICE_ROOT", "device");
  const std::string file = StatePath("QM_DEVICE_MOUNTS", "device-mounts.conf");
  State& s = TheState();
  std::lock_guard<std::mutex> guard(s.lock);
  if (!s.fileLoaded || s.fileRead != file) {
    s.fromFile = ReadMountFile(file);
    s.fileRead = file;
    s.fileLoaded = true;
    s.snapshot.reset();
  }
  if (!s.snapshot || s.snapshot->deviceRoot() != WithoutTrailingSlashes(root)) {
    std::vector<DeviceMount> all = s.fromFile;
    for (const auto& m : s.added) Upsert(all, m);
    // The handheld always has a root folder; a fresh home gets one here.
    EnsureFolder(root);
    s.snapshot = std::make_shared<const MountTable>(root, std::move(all));
  }
  return s.snapshot;
}

uint32_t AddDeviceMount(const DeviceMount& mount) {
  if (!IsValidName(mount.name)) return ERROR_INVALID_NAME;
  if (mount.hostFolder.empty()) return ERROR_INVALID_PARAMETER;
  DeviceMount m = mount;
  m.hostFolder = AbsoluteHost(m.hostFolder, {});
  State& s = TheState();
  std::lock_guard<std::mutex> guard(s.lock);
  Upsert(s.added, std::move(m));
  s.snapshot.reset();
  return ERROR_SUCCESS;
}

void ResetDeviceMounts() {
  State& s = TheState();
  std::lock_guard<std::mutex> guard(s.lock);
  s.added.clear();
  s.fromFile.clear();
  s.fileLoaded = false;
  s.snapshot.reset();
}

}  // namespace platform
