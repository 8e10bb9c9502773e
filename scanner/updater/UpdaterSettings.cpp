// The updater's addresses, base file name and frequency in the device registry.
#include "scanner/updater/UpdaterSettings.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/RegKey.h"
#include "platform/RegTransaction.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "scanner/settings/Settings.h"
#include "scanner/startup/ScannerApp.h"

namespace scanner {
namespace {

platform::HKEY CurrentUser() {
  return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER);
}

// TextFromValue: the UTF-16 text of a text value up to its first NUL; false
// for another type or a text that does not fit a field of `fieldChars`.
bool TextFromValue(uint32_t type, std::span<const uint8_t> bytes, size_t fieldChars,
                   std::u16string& out) {
  if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ) return false;
  if (bytes.size() > kUpdaterReadBytes) return false;
  std::u16string text = platform::DecodeRegText16(platform::RegStore::Device, bytes);
  // A value stored without its terminator may hold one character more than
  // the field; it is not cut, since a cut address or path is a wrong one.
  if (text.size() >= fieldChars) return false;
  out = std::move(text);
  return true;
}

// QueryRaw: the type and bytes of a value of at most kUpdaterReadBytes.
// Returns 0, ERROR_FILE_NOT_FOUND when it is missing, ERROR_MORE_DATA when
// it is longer, or another code when it cannot be read.
uint32_t QueryRaw(platform::HKEY key, const char16_t* name, uint32_t& type,
                  std::vector<uint8_t>& bytes) {
  bytes.assign(kUpdaterReadBytes, 0);
  uint32_t size = kUpdaterReadBytes;
  const uint32_t rc = platform::RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size);
  if (rc != 0) return rc;
  bytes.resize(size);
  return 0;
}

bool ReadText(platform::HKEY key, const char16_t* name, size_t fieldChars, std::u16string& out) {
  uint32_t type = platform::REG_NONE;
  std::vector<uint8_t> bytes;
  return QueryRaw(key, name, type, bytes) == 0 && TextFromValue(type, bytes, fieldChars, out);
}

uint32_t ReadFrequency(platform::HKEY key) {
  uint8_t buffer[4] = {};
  uint32_t type = platform::REG_NONE;
  uint32_t size = sizeof buffer;
  if (platform::RegQueryValueExW(key, kFrequencyValue, nullptr, &type, buffer, &size) != 0 ||
      type != platform::REG_DWORD || size != sizeof buffer)
    return kDefaultFrequency;
  return uint32_t{buffer[0]} | uint32_t{buffer[1]} << 8 | uint32_t{buffer[2]} << 16 |
         uint32_t{buffer[3]} << 24;
}

}  // namespace

std::u16string UrlValueName(size_t index) {
  return u"Url" + std::u16string(1, static_cast<char16_t>(u'0' + index % 10));
}

std::u16string WithTrailingSlash(std::u16string_view url) {
  std::u16string out(url);
  if (!out.empty() && out.back() != u'/' && out.back() != u'\\') out.push_back(u'/');
  return out;
}

bool FitsUrlField(std::u16string_view url) {
  return WithTrailingSlash(url).size() < kUrlChars;
}

bool UrlFromValue(uint32_t type, std::span<const uint8_t> bytes, std::u16string& out) {
  std::u16string text;
  if (!TextFromValue(type, bytes, kUrlChars, text) || text.empty() || !FitsUrlField(text))
    return false;
  out = WithTrailingSlash(text);
  return true;
}

uint32_t LoadUpdaterSettings(UpdaterState& updater) {
  updater.urlCount = 0;
  std::u16string bases;
  platform::RegKey main;
  const bool haveBases = main.Open(CurrentUser(), kSettingsKey, platform::RegAccess::Read) == 0 &&
                         ReadText(main.handle(), kBasesValue, kUpdaterPathChars, bases);
  // Start-up gives a missing "Bases" the program's folder; the new base must
  // go where start-up will look for it.
  if (!haveBases) bases = ProgramDeviceFolder();
  platform::CopyToField(updater.basesFolder, bases);

  platform::RegKey key;
  if (const uint32_t rc = key.Create(CurrentUser(), kUpdaterKey, platform::RegAccess::All); rc != 0)
    return rc;
  updater.frequency = ReadFrequency(key.handle());
  std::u16string file;
  if (!ReadText(key.handle(), kFileValue, kUpdaterPathChars, file) || file.empty())
    file = kBaseFileName;
  platform::CopyToField(updater.fileName, file);

  for (size_t i = 0; i < kMaxUrls; ++i) {
    uint32_t type = platform::REG_NONE;
    std::vector<uint8_t> bytes;
    const std::u16string name = UrlValueName(i);
    const uint32_t rc = QueryRaw(key.handle(), name.c_str(), type, bytes);
    if (rc == platform::ERROR_FILE_NOT_FOUND) break;
    std::u16string url;
    if (rc != 0 || !UrlFromValue(type, bytes, url)) continue;
    platform::CopyToField(updater.urls[updater.urlCount++], url);
  }
  return 0;
}

uint32_t SaveUpdaterSettings(const UpdaterState& updater) {
  platform::RegKey key;
  if (const uint32_t rc = key.Create(CurrentUser(), kUpdaterKey, platform::RegAccess::All); rc != 0)
    return rc;
  // Deleting the old list and writing the new one is one change: a failure
  // half-way must not leave the list shortened.
  platform::RegTransaction transaction(platform::RegStore::Device);
  if (const uint32_t rc = transaction.Begin(); rc != 0) return rc;
  for (size_t i = 0; i < kMaxUrls; ++i) {
    const uint32_t rc = key.DeleteValue(UrlValueName(i));
    if (rc != 0 && rc != platform::ERROR_FILE_NOT_FOUND) return rc;
  }
  const size_t count = std::min<size_t>(std::max(updater.urlCount, 0), kMaxUrls);
  for (size_t i = 0; i < count; ++i) {
    const std::u16string url = WithTrailingSlash(platform::FieldText(updater.urls[i]));
    if (const uint32_t rc = key.SetString(UrlValueName(i), url, platform::RegTerminator::Omit);
        rc != 0)
      return rc;
  }
  return transaction.Commit();
}

}  // namespace scanner
