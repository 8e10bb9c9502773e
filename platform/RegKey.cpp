// RegKey over the Win32 registry functions.
#include "platform/RegKey.h"

#include <cstring>
#include <utility>

#include "platform/Text.h"

namespace platform {

RegName::RegName(const char16_t* name)
    : utf8_(name ? Utf16ToUtf8(std::u16string_view(name)) : std::string()) {}
RegName::RegName(std::u16string_view name) : utf8_(Utf16ToUtf8(name)) {}
RegName::RegName(const std::u16string& name) : utf8_(Utf16ToUtf8(name)) {}

RegKey::RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    key_ = std::exchange(other.key_, nullptr);
  }
  return *this;
}

RegKey::~RegKey() {
  Close();
}

uint32_t RegKey::Open(HKEY parent, const RegName& path, RegAccess access) {
  Close();
  return RegOpenKeyEx(parent, path.c_str(), 0, static_cast<uint32_t>(access), &key_);
}

uint32_t RegKey::Create(HKEY parent, const RegName& path, RegAccess access,
                        const RegName& className, uint32_t* disposition) {
  Close();
  return RegCreateKeyEx(parent, path.c_str(), 0, className.c_str(), REG_OPTION_NON_VOLATILE,
                        static_cast<uint32_t>(access), nullptr, &key_, disposition);
}

void RegKey::Close() {
  if (key_) RegCloseKey(std::exchange(key_, nullptr));
}

HKEY RegKey::Release() {
  return std::exchange(key_, nullptr);
}

RegStore RegKey::store() const {
  RegStore store = RegStore::Desktop;
  if (key_) RegKeyStore(key_, &store);
  return store;
}

uint32_t RegKey::QueryValue(const RegName& name, RegValue* out) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegGetValueBytes(key_, name.c_str(), &out->type, &out->data);
}

uint32_t RegKey::QueryDword(const RegName& name, uint32_t* out) const {
  RegValue v;
  if (uint32_t e = QueryValue(name, &v)) return e;
  if ((v.type != REG_DWORD && v.type != REG_BINARY) || v.data.size() != 4)
    return ERROR_INVALID_DATA;
  *out = static_cast<uint32_t>(v.data[0]) | static_cast<uint32_t>(v.data[1]) << 8 |
         static_cast<uint32_t>(v.data[2]) << 16 | static_cast<uint32_t>(v.data[3]) << 24;
  return ERROR_SUCCESS;
}

uint32_t RegKey::QueryString(const RegName& name, std::string* out) const {
  RegValue v;
  if (uint32_t e = QueryValue(name, &v)) return e;
  if (v.type != REG_SZ && v.type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  *out = DecodeRegText(store(), v.data);
  return ERROR_SUCCESS;
}

uint32_t RegKey::QueryString(const RegName& name, std::u16string* out) const {
  RegValue v;
  if (uint32_t e = QueryValue(name, &v)) return e;
  if (v.type != REG_SZ && v.type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
  *out = DecodeRegText16(store(), v.data);
  return ERROR_SUCCESS;
}

uint32_t RegKey::QueryMultiString(const RegName& name, std::vector<std::string>* out) const {
  RegValue v;
  if (uint32_t e = QueryValue(name, &v)) return e;
  if (v.type != REG_MULTI_SZ) return ERROR_INVALID_DATA;
  *out = DecodeRegMultiText(store(), v.data);
  return ERROR_SUCCESS;
}

uint32_t RegKey::QueryBinary(const RegName& name, std::vector<uint8_t>* out) const {
  RegValue v;
  if (uint32_t e = QueryValue(name, &v)) return e;
  *out = std::move(v.data);
  return ERROR_SUCCESS;
}

uint32_t RegKey::DwordOr(const RegName& name, uint32_t fallback) const {
  uint32_t value = fallback;
  return QueryDword(name, &value) == ERROR_SUCCESS ? value : fallback;
}

std::string RegKey::StringOr(const RegName& name, std::string_view fallback) const {
  std::string value;
  return QueryString(name, &value) == ERROR_SUCCESS ? value : std::string(fallback);
}

std::u16string RegKey::StringOr(const RegName& name, std::u16string_view fallback) const {
  std::u16string value;
  return QueryString(name, &value) == ERROR_SUCCESS ? value : std::u16string(fallback);
}

bool RegKey::HasValue(const RegName& name) const {
  return key_ &&
         RegQueryValueEx(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

uint32_t RegKey::SetValue(const RegName& name, uint32_t type, std::span<const uint8_t> data) {
  if (!key_) return ERROR_INVALID_HANDLE;
  if (data.size() > kRegMaxValueDataSize) return ERROR_INVALID_PARAMETER;
  return RegSetValueEx(key_, name.c_str(), 0, type, data.data(),
                       static_cast<uint32_t>(data.size()));
}

uint32_t RegKey::SetDword(const RegName& name, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return SetValue(name, REG_DWORD, bytes);
}

uint32_t RegKey::SetString(const RegName& name, std::string_view text, RegTerminator term,
                           uint32_t type) {
  return SetValue(name, type, EncodeRegText(store(), text, term));
}

uint32_t RegKey::SetString(const RegName& name, std::u16string_view text, RegTerminator term,
                           uint32_t type) {
  return SetValue(name, type, EncodeRegText(store(), text, term));
}

uint32_t RegKey::SetMultiString(const RegName& name, const std::vector<std::string>& items) {
  for (const auto& item : items)
    if (item.empty()) return ERROR_INVALID_PARAMETER;
  return SetValue(name, REG_MULTI_SZ, EncodeRegMultiText(store(), items));
}

uint32_t RegKey::SetBinary(const RegName& name, std::span<const uint8_t> data) {
  return SetValue(name, REG_BINARY, data);
}

uint32_t RegKey::DeleteValue(const RegName& name) {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegDeleteValue(key_, name.c_str());
}

uint32_t RegKey::DeleteSubKey(const RegName& path) {
  if (!key_) return ERROR_INVALID_HANDLE;
  if (path.utf8().empty()) return ERROR_INVALID_PARAMETER;
  return RegDeleteTree(key_, path.c_str());
}

uint32_t RegKey::EnumValue(uint32_t index, std::string* name, RegValue* value) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegEnumValueBytes(key_, index, name, value ? &value->type : nullptr,
                           value ? &value->data : nullptr);
}

uint32_t RegKey::EnumSubKey(uint32_t index, std::string* name, std::string* className) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegEnumKeyName(key_, index, name, className);
}

uint32_t RegKey::ValueNames(std::vector<std::string>* names) const {
  names->clear();
  for (uint32_t i = 0;; ++i) {
    std::string name;
    uint32_t e = EnumValue(i, &name);
    if (e == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (e) return e;
    names->push_back(std::move(name));
  }
}

uint32_t RegKey::SubKeyNames(std::vector<std::string>* names) const {
  names->clear();
  for (uint32_t i = 0;; ++i) {
    std::string name;
    uint32_t e = EnumSubKey(i, &name);
    if (e == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (e) return e;
    names->push_back(std::move(name));
  }
}

}  // namespace platform
