// Applying registration scripts: creating, replacing and removing keys in one transaction.
#include "platform/com/Registrar.h"

#include <vector>

#include "platform/RegKey.h"
#include "platform/RegTransaction.h"
#include "platform/Text.h"

namespace platform::com {
namespace {

// IsSharedKey: a key that other servers' registrations live under.
bool IsSharedKey(HKEY root, const std::string& name, int depth) {
  if (depth != 1) return false;
  if (root != HKEY_CLASSES_ROOT) return true;
  for (const char* shared : {"CLSID", "Interface", "TypeLib", "AppID"})
    if (EqualsIgnoreCase(name, shared)) return true;
  return false;
}

bool Missing(uint32_t rc) {
  return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND;
}

class Runner {
 public:
  explicit Runner(HKEY root) : root_(root) {}

  uint32_t Register(HKEY parent, const ScriptKey& key, int depth) {
    if (key.removal == Removal::ForceRemove && !IsSharedKey(root_, key.name, depth)) {
      const uint32_t rc = RegDeleteTree(parent, key.name.c_str());
      if (rc != ERROR_SUCCESS && !Missing(rc)) return rc;
    }
    RegKey k;
    if (uint32_t rc = k.Create(parent, key.name, RegAccess::All)) return rc;
    if (key.hasDefault) {
      if (uint32_t rc = Set(k, key.defaultValue)) return rc;
    }
    for (const ScriptValue& v : key.values)
      if (uint32_t rc = Set(k, v)) return rc;
    for (const ScriptKey& child : key.keys)
      if (uint32_t rc = Register(k.handle(), child, depth + 1)) return rc;
    return ERROR_SUCCESS;
  }

  uint32_t Unregister(HKEY parent, const ScriptKey& key, int depth) {
    const bool shared = IsSharedKey(root_, key.name, depth);
    if (key.removal == Removal::ForceRemove && !shared) {
      const uint32_t rc = RegDeleteTree(parent, key.name.c_str());
      return Missing(rc) ? ERROR_SUCCESS : rc;
    }
    RegKey k;
    if (uint32_t rc = k.Open(parent, key.name, RegAccess::All)) {
      return Missing(rc) ? ERROR_SUCCESS : rc;
    }
    for (const ScriptKey& child : key.keys)
      if (uint32_t rc = Unregister(k.handle(), child, depth + 1)) return rc;
    if (key.removal != Removal::Normal || shared) return ERROR_SUCCESS;
    if (key.hasDefault) {
      if (uint32_t rc = k.DeleteValue(""); rc != ERROR_SUCCESS && !Missing(rc)) return rc;
    }
    for (const ScriptValue& v : key.values)
      if (uint32_t rc = k.DeleteValue(v.name); rc != ERROR_SUCCESS && !Missing(rc)) return rc;
    std::vector<std::string> subKeys;
    std::vector<std::string> values;
    if (uint32_t rc = k.SubKeyNames(&subKeys)) return rc;
    if (uint32_t rc = k.ValueNames(&values)) return rc;
    k.Close();
    // What others put in the key keeps it.
    if (!subKeys.empty() || !values.empty()) return ERROR_SUCCESS;
    const uint32_t rc = RegDeleteKey(parent, key.name.c_str());
    return Missing(rc) ? ERROR_SUCCESS : rc;
  }

 private:
  static uint32_t Set(RegKey& key, const ScriptValue& v) {
    if (v.type == REG_SZ)
      return key.SetString(
          v.name, std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size()));
    return key.SetValue(v.name, v.type, v.data);
  }

  HKEY root_;
};

}  // namespace

HRESULT ApplyRegScript(const RegScript& script, ScriptDirection direction) {
  RegTransaction transaction(RegStore::Desktop);
  if (transaction.Begin() != ERROR_SUCCESS) return REGDB_E_WRITEREGDB;
  for (const ScriptRoot& root : script.roots) {
    Runner runner(root.root);
    const HKEY parent = RegRootKey(RegStore::Desktop, root.root);
    for (const ScriptKey& key : root.keys) {
      const uint32_t rc = direction == ScriptDirection::Register
                              ? runner.Register(parent, key, 1)
                              : runner.Unregister(parent, key, 1);
      if (rc != ERROR_SUCCESS) {
        transaction.Rollback();
        return REGDB_E_WRITEREGDB;
      }
    }
  }
  return transaction.Commit() == ERROR_SUCCESS ? S_OK : REGDB_E_WRITEREGDB;
}

HRESULT RunRegScript(std::string_view text, const Replacements& replacements,
                     ScriptDirection direction, std::string* error) {
  RegScript script;
  std::string message;
  if (!ParseRegScript(text, replacements, &script, &message)) {
    if (error) *error = message;
    return SELFREG_E_CLASS;
  }
  return ApplyRegScript(script, direction);
}

}  // namespace platform::com
