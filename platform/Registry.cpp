// The Win32 registry functions over the registry stores, and the key handles.
#include "platform/Registry.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/RegPath.h"
#include "platform/RegistryStore.h"
#include "platform/Text.h"

namespace platform {

// An open key: the store connection it was opened on, the key's row, and the
// rights it was opened with.
struct HKEY__ {
  std::shared_ptr<RegistryStore> store;
  RegKeyId id = 0;
  uint32_t access = 0;
};

namespace {

std::atomic<RegStore> g_defaultStore{RegStore::Desktop};

// Root pseudo-handles: 0x80000000 + root index for the default store, with
// 0x100 (device) or 0x200 (desktop) added when bound to one store.
constexpr uintptr_t kRootBase = 0x80000000;
constexpr uintptr_t kRootCount = 3;
constexpr uintptr_t kDeviceBit = 0x100;
constexpr uintptr_t kDesktopBit = 0x200;
constexpr RegKeyId kRootIds[kRootCount] = {kRegClassesRootId, kRegCurrentUserId,
                                           kRegLocalMachineId};

std::mutex g_handleMutex;
std::unordered_set<HKEY__*>& LiveHandles() {
  static auto* live = new std::unordered_set<HKEY__*>();
  return *live;
}

bool IsRootValue(uintptr_t v) {
  if ((v & ~uintptr_t{0x3FF}) != kRootBase) return false;
  uintptr_t bits = v & 0x300;
  return (v & 0xFF) < kRootCount && bits != 0x300;
}

// A resolved handle: what every operation works on.
struct Target {
  std::shared_ptr<RegistryStore> store;
  RegKeyId id = 0;
  uint32_t access = 0;
};

uint32_t Resolve(HKEY key, Target* out) {
  auto v = reinterpret_cast<uintptr_t>(key);
  if (IsRootValue(v)) {
    RegStore kind = (v & kDeviceBit)    ? RegStore::Device
                    : (v & kDesktopBit) ? RegStore::Desktop
                                        : g_defaultStore.load();
    uint32_t error = ERROR_SUCCESS;
    out->store = RegistryStore::ForStore(kind, &error);
    if (!out->store) return error;
    out->id = kRootIds[v & 0xFF];
    out->access = KEY_ALL_ACCESS;
    return ERROR_SUCCESS;
  }
  std::lock_guard<std::mutex> guard(g_handleMutex);
  if (!key || !LiveHandles().count(key)) return ERROR_INVALID_HANDLE;
  if (!key->store->OwnedByThisProcess()) return ERROR_INVALID_HANDLE;
  out->store = key->store;
  out->id = key->id;
  out->access = key->access;
  return ERROR_SUCCESS;
}

// Allowed: whether the handle carries the right; the device store, like
// Windows CE, does not check rights.
bool Allowed(const Target& t, uint32_t right) {
  return t.store->kind() == RegStore::Device || (t.access & right) == right;
}

HKEY NewHandle(const Target& parent, RegKeyId id, uint32_t access) {
  auto* h = new HKEY__{parent.store, id, access};
  std::lock_guard<std::mutex> guard(g_handleMutex);
  LiveHandles().insert(h);
  return h;
}

std::string NameOf(const char* name) {
  return name ? std::string(name) : std::string();
}
std::string NameOf(const char16_t* name) {
  return name ? Utf16ToUtf8(std::u16string_view(name)) : std::string();
}

uint32_t CheckValueName(const std::string& name) {
  // Counted in UTF-16 units, as Windows counts characters.
  if (name.size() > kRegMaxValueNameLength && Utf8ToUtf16(name).size() > kRegMaxValueNameLength)
    return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

uint32_t SplitChecked(const std::string& path, std::vector<std::string_view>* parts) {
  *parts = SplitRegPath(path);
  for (auto part : *parts)
    if (part.size() > kRegMaxKeyNameLength && Utf8ToUtf16(part).size() > kRegMaxKeyNameLength)
      return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

uint32_t Fail(HKEY* result, uint32_t e) {
  if (result) *result = nullptr;
  return e;
}

uint32_t CreateKey(HKEY key, const std::string& subKey, const std::string& className,
                   uint32_t samDesired, HKEY* result, uint32_t* disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return Fail(result, e);
  std::vector<std::string_view> parts;
  if (uint32_t e = SplitChecked(subKey, &parts)) return Fail(result, e);
  if (!parts.empty() && !Allowed(t, KEY_CREATE_SUB_KEY)) return Fail(result, ERROR_ACCESS_DENIED);
  RegKeyId id = 0;
  bool created = false;
  if (uint32_t e = t.store->CreateKey(t.id, parts, className, &id, &created))
    return Fail(result, e);
  *result = NewHandle(t, id, samDesired);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

uint32_t OpenKey(HKEY key, const std::string& subKey, uint32_t samDesired, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return Fail(result, e);
  std::vector<std::string_view> parts;
  if (uint32_t e = SplitChecked(subKey, &parts)) return Fail(result, e);
  RegKeyId id = 0;
  if (uint32_t e = t.store->FindKey(t.id, parts, &id)) return Fail(result, e);
  *result = NewHandle(t, id, samDesired);
  return ERROR_SUCCESS;
}

uint32_t QueryValue(HKEY key, const std::string& name, uint32_t* type, uint8_t* data,
                    uint32_t* cbData) {
  if (data && !cbData) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  RegValueRecord v;
  if (uint32_t e = t.store->GetValue(t.id, name, &v)) return e;
  if (type) *type = v.type;
  auto size = static_cast<uint32_t>(v.data.size());
  if (!data) {
    if (cbData) *cbData = size;
    return ERROR_SUCCESS;
  }
  if (*cbData < size) {
    *cbData = size;
    return ERROR_MORE_DATA;
  }
  if (size) std::memcpy(data, v.data.data(), size);
  *cbData = size;
  return ERROR_SUCCESS;
}

uint32_t SetValue(HKEY key, const std::string& name, uint32_t type, const uint8_t* data,
                  uint32_t cbData) {
  if (!data && cbData) return ERROR_NOACCESS;
  if (cbData > kRegMaxValueDataSize) return ERROR_INVALID_PARAMETER;
  if (uint32_t e = CheckValueName(name)) return e;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  return t.store->SetValue(t.id, name, type, {data, cbData});
}

uint32_t DeleteValue(HKEY key, const std::string& name) {
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  return t.store->DeleteValue(t.id, name);
}

uint32_t DeleteKey(HKEY key, const std::string& subKey, RegDeleteMode mode) {
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  std::vector<std::string_view> parts;
  if (uint32_t e = SplitChecked(subKey, &parts)) return e;
  if (parts.empty() && mode == RegDeleteMode::Tree) mode = RegDeleteMode::ContentsOnly;
  if (parts.empty() && mode == RegDeleteMode::ContentsOnly && !Allowed(t, KEY_SET_VALUE))
    return ERROR_ACCESS_DENIED;
  return t.store->DeleteKey(t.id, parts, mode);
}

// CopyName: copies a name and its terminator into a buffer of *cch units; too
// small gives ERROR_MORE_DATA with nothing copied.
template <typename Char>
uint32_t CopyName(std::basic_string_view<Char> text, Char* buffer, uint32_t* cch) {
  if (!cch) return ERROR_INVALID_PARAMETER;
  if (!buffer || *cch < text.size() + 1) return ERROR_MORE_DATA;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = Char{};
  *cch = static_cast<uint32_t>(text.size());
  return ERROR_SUCCESS;
}

template <typename Char>
std::basic_string<Char> Encode(const std::string& utf8) {
  if constexpr (std::is_same_v<Char, char>)
    return utf8;
  else
    return Utf8ToUtf16(utf8);
}

template <typename Char>
uint32_t EnumValue(HKEY key, uint32_t index, Char* name, uint32_t* cchName, uint32_t* type,
                   uint8_t* data, uint32_t* cbData) {
  if (!name || !cchName || (data && !cbData)) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  RegValueRecord v;
  if (uint32_t e = t.store->ValueAt(t.id, index, &v)) return e;
  auto text = Encode<Char>(v.name);
  if (*cchName < text.size() + 1) return ERROR_MORE_DATA;
  auto size = static_cast<uint32_t>(v.data.size());
  bool dataFits = !data || *cbData >= size;
  CopyName<Char>(text, name, cchName);
  if (type) *type = v.type;
  if (data && dataFits && size) std::memcpy(data, v.data.data(), size);
  if (cbData) *cbData = size;
  return dataFits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

template <typename Char>
uint32_t EnumKey(HKEY key, uint32_t index, Char* name, uint32_t* cchName, Char* className,
                 uint32_t* cchClass) {
  if (!name || !cchName || (className && !cchClass)) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  RegKeyRecord k;
  if (uint32_t e = t.store->SubKeyAt(t.id, index, &k)) return e;
  auto text = Encode<Char>(k.name);
  auto cls = Encode<Char>(k.className);
  if (*cchName < text.size() + 1) return ERROR_MORE_DATA;
  if (className && *cchClass < cls.size() + 1) return ERROR_MORE_DATA;
  CopyName<Char>(text, name, cchName);
  if (className) CopyName<Char>(cls, className, cchClass);
  return ERROR_SUCCESS;
}

}  // namespace

void SetDefaultRegStore(RegStore store) {
  g_defaultStore.store(store);
}

RegStore DefaultRegStore() {
  return g_defaultStore.load();
}

HKEY RegRootKey(RegStore store, HKEY root) {
  auto v = reinterpret_cast<uintptr_t>(root);
  if (!IsRootValue(v)) return nullptr;
  v = kRootBase | (v & 0xFF) | (store == RegStore::Device ? kDeviceBit : kDesktopBit);
  return reinterpret_cast<HKEY>(v);
}

bool RegKeyStore(HKEY key, RegStore* store) {
  auto v = reinterpret_cast<uintptr_t>(key);
  if (IsRootValue(v)) {
    *store = (v & kDeviceBit)    ? RegStore::Device
             : (v & kDesktopBit) ? RegStore::Desktop
                                 : g_defaultStore.load();
    return true;
  }
  std::lock_guard<std::mutex> guard(g_handleMutex);
  if (!key || !LiveHandles().count(key)) return false;
  *store = key->store->kind();
  return true;
}

void RegCloseStores() {
  RegistryStore::CloseAll();
}

uint32_t RegCreateKeyEx(HKEY key, const char* subKey, uint32_t, const char* className, uint32_t,
                        uint32_t samDesired, void*, HKEY* result, uint32_t* disposition) {
  return CreateKey(key, NameOf(subKey), NameOf(className), samDesired, result, disposition);
}

uint32_t RegCreateKeyExW(HKEY key, const char16_t* subKey, uint32_t, const char16_t* className,
                         uint32_t, uint32_t samDesired, void*, HKEY* result,
                         uint32_t* disposition) {
  return CreateKey(key, NameOf(subKey), NameOf(className), samDesired, result, disposition);
}

uint32_t RegOpenKeyEx(HKEY key, const char* subKey, uint32_t, uint32_t samDesired, HKEY* result) {
  return OpenKey(key, NameOf(subKey), samDesired, result);
}

uint32_t RegOpenKeyExW(HKEY key, const char16_t* subKey, uint32_t, uint32_t samDesired,
                       HKEY* result) {
  return OpenKey(key, NameOf(subKey), samDesired, result);
}

uint32_t RegCloseKey(HKEY key) {
  if (IsRootValue(reinterpret_cast<uintptr_t>(key))) return ERROR_SUCCESS;
  std::unique_lock<std::mutex> guard(g_handleMutex);
  if (!key || !LiveHandles().erase(key)) return ERROR_INVALID_HANDLE;
  guard.unlock();
  delete key;
  return ERROR_SUCCESS;
}

uint32_t RegQueryValueEx(HKEY key, const char* name, uint32_t*, uint32_t* type, uint8_t* data,
                         uint32_t* cbData) {
  return QueryValue(key, NameOf(name), type, data, cbData);
}

uint32_t RegQueryValueExW(HKEY key, const char16_t* name, uint32_t*, uint32_t* type, uint8_t* data,
                          uint32_t* cbData) {
  return QueryValue(key, NameOf(name), type, data, cbData);
}

uint32_t RegSetValueEx(HKEY key, const char* name, uint32_t, uint32_t type, const uint8_t* data,
                       uint32_t cbData) {
  return SetValue(key, NameOf(name), type, data, cbData);
}

uint32_t RegSetValueExW(HKEY key, const char16_t* name, uint32_t, uint32_t type,
                        const uint8_t* data, uint32_t cbData) {
  return SetValue(key, NameOf(name), type, data, cbData);
}

uint32_t RegDeleteValue(HKEY key, const char* name) {
  return DeleteValue(key, NameOf(name));
}

uint32_t RegDeleteValueW(HKEY key, const char16_t* name) {
  return DeleteValue(key, NameOf(name));
}

uint32_t RegDeleteKey(HKEY key, const char* subKey) {
  return DeleteKey(key, NameOf(subKey), RegDeleteMode::LeafOnly);
}

uint32_t RegDeleteKeyW(HKEY key, const char16_t* subKey) {
  return DeleteKey(key, NameOf(subKey), RegDeleteMode::LeafOnly);
}

uint32_t RegDeleteTree(HKEY key, const char* subKey) {
  return DeleteKey(key, NameOf(subKey), RegDeleteMode::Tree);
}

uint32_t RegDeleteTreeW(HKEY key, const char16_t* subKey) {
  return DeleteKey(key, NameOf(subKey), RegDeleteMode::Tree);
}

uint32_t RegEnumValue(HKEY key, uint32_t index, char* name, uint32_t* cchName, uint32_t*,
                      uint32_t* type, uint8_t* data, uint32_t* cbData) {
  return EnumValue<char>(key, index, name, cchName, type, data, cbData);
}

uint32_t RegEnumValueW(HKEY key, uint32_t index, char16_t* name, uint32_t* cchName, uint32_t*,
                       uint32_t* type, uint8_t* data, uint32_t* cbData) {
  return EnumValue<char16_t>(key, index, name, cchName, type, data, cbData);
}

uint32_t RegEnumKeyEx(HKEY key, uint32_t index, char* name, uint32_t* cchName, uint32_t*,
                      char* className, uint32_t* cchClass, void*) {
  return EnumKey<char>(key, index, name, cchName, className, cchClass);
}

uint32_t RegEnumKeyExW(HKEY key, uint32_t index, char16_t* name, uint32_t* cchName, uint32_t*,
                       char16_t* className, uint32_t* cchClass, void*) {
  return EnumKey<char16_t>(key, index, name, cchName, className, cchClass);
}

uint32_t RegQueryInfoKey(HKEY key, char* className, uint32_t* cchClass, uint32_t*,
                         uint32_t* subKeys, uint32_t* maxSubKeyLen, uint32_t* maxClassLen,
                         uint32_t* values, uint32_t* maxValueNameLen, uint32_t* maxValueLen,
                         uint32_t*, void*) {
  if (className && !cchClass) return ERROR_INVALID_PARAMETER;
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  RegKeyCounts c;
  if (uint32_t e = t.store->KeyInfo(t.id, &c)) return e;
  if (className)
    if (uint32_t e = CopyName<char>(c.className, className, cchClass)) return e;
  if (subKeys) *subKeys = c.subKeys;
  if (maxSubKeyLen) *maxSubKeyLen = c.maxSubKeyLen;
  if (maxClassLen) *maxClassLen = c.maxClassLen;
  if (values) *values = c.values;
  if (maxValueNameLen) *maxValueNameLen = c.maxValueNameLen;
  if (maxValueLen) *maxValueLen = c.maxValueLen;
  return ERROR_SUCCESS;
}

uint32_t RegGetValueBytes(HKEY key, const char* name, uint32_t* type, std::vector<uint8_t>* data) {
  data->clear();
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  RegValueRecord v;
  if (uint32_t e = t.store->GetValue(t.id, NameOf(name), &v)) return e;
  if (type) *type = v.type;
  *data = std::move(v.data);
  return ERROR_SUCCESS;
}

uint32_t RegEnumValueBytes(HKEY key, uint32_t index, std::string* name, uint32_t* type,
                           std::vector<uint8_t>* data) {
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  RegValueRecord v;
  if (uint32_t e = t.store->ValueAt(t.id, index, &v)) return e;
  if (name) *name = std::move(v.name);
  if (type) *type = v.type;
  if (data) *data = std::move(v.data);
  return ERROR_SUCCESS;
}

uint32_t RegEnumKeyName(HKEY key, uint32_t index, std::string* name, std::string* className) {
  Target t;
  if (uint32_t e = Resolve(key, &t)) return e;
  if (!Allowed(t, KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  RegKeyRecord k;
  if (uint32_t e = t.store->SubKeyAt(t.id, index, &k)) return e;
  if (name) *name = std::move(k.name);
  if (className) *className = std::move(k.className);
  return ERROR_SUCCESS;
}

}  // namespace platform
