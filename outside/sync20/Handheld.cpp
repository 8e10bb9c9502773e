// The emulated handheld's files: names, reading, atomic writing and installing.
#include "outside/sync20/Handheld.h"

#include <algorithm>
#include <cstring>

#include "outside/sync20/Sync20Api.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FindFile.h"
#include "platform/Home.h"
#include "platform/PathName.h"

namespace sync20 {

namespace {

constexpr char kSuffix[] = ".pdb";
constexpr size_t kSuffixLength = sizeof kSuffix - 1;

bool KeptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr(" ._-()',+=@[]!#$&~", c) != nullptr;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// NameFromFile: the inverse of FileNameFor; false for a name it cannot have
// made.
bool NameFromFile(std::string_view file, std::string& name) {
  name.clear();
  for (size_t i = 0; i < file.size(); ++i) {
    if (file[i] != '%') {
      name += file[i];
      continue;
    }
    if (i + 2 >= file.size()) return false;
    const int high = HexValue(file[i + 1]);
    const int low = HexValue(file[i + 2]);
    if (high < 0 || low < 0) return false;
    name += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

uint32_t ReadAll(const std::string& hostPath, std::vector<uint8_t>& bytes) {
  platform::File file;
  if (const uint32_t rc = file.Open(platform::HostFilePath(hostPath), platform::GENERIC_READ,
                                    platform::FILE_SHARE_READ, platform::Disposition::OpenExisting);
      rc != 0)
    return rc;
  uint64_t size = 0;
  if (const uint32_t rc = file.Size(size); rc != 0) return rc;
  if (size > conduit::kMaxPdbFileSize) return platform::ERROR_FILE_INVALID;
  bytes.resize(size);
  size_t filled = 0;
  while (filled < bytes.size()) {
    size_t got = 0;
    if (const uint32_t rc = file.Read(std::span(bytes).subspan(filled), got); rc != 0) return rc;
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  return 0;
}

}  // namespace

std::string HandheldFolder() {
  return platform::StatePath("QM_HANDHELD", "handheld");
}

std::string FileNameFor(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (KeptAsIs(c) && !(i == 0 && c == '.')) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string UserFolder(std::string_view user) {
  return platform::JoinHost(HandheldFolder(), FileNameFor(user));
}

std::string DatabasePath(std::string_view user, std::string_view database) {
  return platform::JoinHost(UserFolder(user), FileNameFor(database) + kSuffix);
}

int32_t LoadDatabase(const std::string& hostPath, conduit::PdbDatabase& database) {
  std::vector<uint8_t> bytes;
  if (const uint32_t rc = ReadAll(hostPath, bytes); rc != 0)
    return rc == platform::ERROR_FILE_INVALID ? kSyncErrDamaged : static_cast<int32_t>(rc);
  return conduit::ParsePdbDatabase(bytes, database) == 0 ? kSyncOk : kSyncErrDamaged;
}

int32_t StoreDatabase(const std::string& hostPath, const conduit::PdbDatabase& database) {
  const std::vector<uint8_t> bytes = conduit::SerializePdb(database);
  const auto [folder, name] = platform::SplitLastComponent(hostPath);
  const std::string temporary = std::string(folder) + "." + std::string(name) + ".new";
  platform::File file;
  uint32_t rc = file.Open(platform::HostFilePath(temporary), platform::GENERIC_WRITE, 0,
                          platform::Disposition::CreateAlways);
  if (rc != 0) return static_cast<int32_t>(rc);
  size_t written = 0;
  rc = file.Write(bytes, written);
  if (rc == 0) rc = file.Flush();
  file.Close();
  if (rc == 0)
    rc = platform::MoveFile(platform::HostFilePath(temporary), platform::HostFilePath(hostPath),
                            platform::IfExists::Replace);
  if (rc != 0) platform::DeleteFile(platform::HostFilePath(temporary));
  return static_cast<int32_t>(rc);
}

int32_t InstallFile(std::string_view user, const std::string& hostFile,
                    std::string& installedName) {
  conduit::PdbDatabase database;
  if (const int32_t rc = LoadDatabase(hostFile, database); rc != 0) return rc;
  installedName = database.Name();
  if (installedName.empty()) return kSyncErrDamaged;
  if (const uint32_t rc = platform::EnsureFolder(UserFolder(user)); rc != 0)
    return static_cast<int32_t>(rc);
  return StoreDatabase(DatabasePath(user, installedName), database);
}

std::vector<std::string> ListDatabases(std::string_view user) {
  std::vector<std::string> names;
  platform::FindFile find;
  platform::FindData data;
  for (uint32_t rc = find.First(platform::HostFilePath(UserFolder(user)), "*", data); rc == 0;
       rc = find.Next(data)) {
    if (data.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string& file = data.name;
    if (file.size() <= kSuffixLength ||
        file.compare(file.size() - kSuffixLength, kSuffixLength, kSuffix) != 0)
      continue;
    std::string name;
    if (NameFromFile(std::string_view(file).substr(0, file.size() - kSuffixLength), name))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace sync20
