// The scanner's options in the device registry, and the Infected folder they name.
#include "scanner/settings/Settings.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DevicePath.h"
#include "platform/FileAttributes.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace scanner {
namespace {

// Read sizes in bytes of UTF-16 text, terminator included: smaller than the
// members, so a longer stored value does not fit and is not read.
constexpr uint32_t kPathReadBytes = 260;
constexpr uint32_t kMaskReadBytes = 128;
constexpr uint32_t kFlagsReadBytes = 4;

platform::HKEY CurrentUser() {
  return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER);
}

// ReadText: the text value `name` when it is text and fits `limitBytes`
// with its terminator; false (out untouched) otherwise.
bool ReadText(platform::HKEY key, const char16_t* name, uint32_t limitBytes, std::u16string& out) {
  uint8_t buffer[kPathReadBytes];
  uint32_t type = platform::REG_NONE;
  uint32_t size = limitBytes;
  if (platform::RegQueryValueExW(key, name, nullptr, &type, buffer, &size) != 0) return false;
  if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ) return false;
  std::u16string text;
  for (uint32_t i = 0; i + 1 < size; i += 2) {
    const char16_t c = static_cast<char16_t>(buffer[i] | (buffer[i + 1] << 8));
    if (c == u'\0') break;
    text.push_back(c);
  }
  // A value stored without its terminator can fill the buffer with one
  // character more than the field holds.
  if (text.size() >= limitBytes / 2) return false;
  out = std::move(text);
  return true;
}

// ReadFlags: a 4-byte number value; false (out untouched) for another type
// or size.
bool ReadFlags(platform::HKEY key, uint32_t& out) {
  uint8_t buffer[kFlagsReadBytes] = {};
  uint32_t type = platform::REG_NONE;
  uint32_t size = kFlagsReadBytes;
  if (platform::RegQueryValueExW(key, kFlagsValue, nullptr, &type, buffer, &size) != 0)
    return false;
  if (type != platform::REG_DWORD || size != kFlagsReadBytes) return false;
  out = static_cast<uint32_t>(buffer[0]) | static_cast<uint32_t>(buffer[1]) << 8 |
        static_cast<uint32_t>(buffer[2]) << 16 | static_cast<uint32_t>(buffer[3]) << 24;
  return true;
}

template <size_t N>
void ReadTextInto(platform::HKEY key, const char16_t* name, uint32_t limitBytes,
                  char16_t (&field)[N]) {
  std::u16string text;
  if (ReadText(key, name, limitBytes, text)) platform::CopyToField(field, text);
}

// CreateFolder: creates a handheld folder; an existing folder counts as
// created, an existing file of that name does not.
bool CreateFolder(std::u16string_view devicePath) {
  const platform::FilePath path = platform::ResolveDevicePath(devicePath);
  const uint32_t code = platform::CreateDirectory(path);
  if (code == 0) return true;
  if (code != platform::ERROR_ALREADY_EXISTS) return false;
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::INVALID_FILE_ATTRIBUTES &&
         (attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::u16string ProgramDeviceFolder() {
  const std::string device = platform::DevicePathFromHost(platform::ProgramFolder());
  if (!device.empty()) {
    std::u16string folder = platform::Utf8ToUtf16(device);
    if (folder.back() != u'\\') folder.push_back(u'\\');
    return folder;
  }
  // Each level in turn, since a folder is only made inside an existing one.
  // A failure shows later, as a missing base or an impossible Infected folder.
  const std::u16string_view install = kInstallFolder;
  for (size_t end = install.find(u'\\', 1); end != std::u16string_view::npos;
       end = install.find(u'\\', end + 1))
    CreateFolder(install.substr(0, end));
  return std::u16string(install);
}

int LoadSettings(Scanner& scanner) {
  platform::RegKey key;
  const bool open = key.Create(CurrentUser(), kSettingsKey, platform::RegAccess::All) == 0;
  std::u16string infected;
  std::u16string bases;
  bool haveInfected = false;
  bool haveBases = false;
  if (open) {
    ReadFlags(key.handle(), scanner.flags);
    ReadTextInto(key.handle(), kReportValue, kPathReadBytes, scanner.reportPath);
    haveInfected = ReadText(key.handle(), kInfectedValue, kPathReadBytes, infected);
    haveBases = ReadText(key.handle(), kBasesValue, kPathReadBytes, bases);
    ReadTextInto(key.handle(), kMaskValue, kMaskReadBytes, scanner.userMask);
    ReadTextInto(key.handle(), kExcludeValue, kMaskReadBytes, scanner.excludeMask);
  }
  // Without a key the two folders still take their defaults: an empty base
  // folder would look for the base in the root, and an empty Infected folder
  // could never be created.
  if (!haveInfected || !haveBases) {
    const std::u16string program = ProgramDeviceFolder();
    if (!haveInfected) infected = program + u"Infected\\";
    if (!haveBases) bases = program;
  }
  platform::CopyToField(scanner.infectedPath, platform::ToLower(infected));
  platform::CopyToField(scanner.szBasePath, platform::ToLower(bases));
  return open ? 1 : 0;
}

int SaveSettings(const Scanner& scanner) {
  platform::RegKey key;
  if (key.Create(CurrentUser(), kSettingsKey, platform::RegAccess::All) != 0) return 0;
  uint32_t failed = key.SetDword(kFlagsValue, scanner.flags);
  failed |= key.SetString(kReportValue, platform::FieldText(scanner.reportPath));
  failed |= key.SetString(kInfectedValue, platform::FieldText(scanner.infectedPath));
  failed |= key.SetString(kBasesValue, platform::FieldText(scanner.szBasePath));
  failed |= key.SetString(kMaskValue, platform::FieldText(scanner.userMask));
  failed |= key.SetString(kExcludeValue, platform::FieldText(scanner.excludeMask));
  // A value that could not be written is a save that did not happen.
  return failed == 0 ? 1 : 0;
}

bool EnsureInfectedFolder(Scanner& scanner) {
  std::u16string path(platform::FieldText(scanner.infectedPath));
  bool made = false;
  // An empty path would become the root folder, which the walk then skips
  // entirely; it stays empty and counts as a failure.
  if (!path.empty()) {
    while (path.size() > 1 && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
    made = CreateFolder(path);
    platform::CopyToField(scanner.infectedPath, path + u'\\');
  }
  if (!made) scanner.flags &= ~kCopyToInfected;
  return made;
}

}  // namespace scanner
