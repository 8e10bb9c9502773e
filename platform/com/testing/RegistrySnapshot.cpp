// Registry snapshots and the private desktop registry of the component tests.
#include "platform/com/testing/RegistrySnapshot.h"

#include <stdlib.h>

#include <algorithm>

#include "platform/CaseLookup.h"
#include "platform/RegKey.h"

namespace platform::com::testing {
namespace {

std::string TypeName(uint32_t type) {
  switch (type) {
    case REG_SZ:
      return "SZ";
    case REG_DWORD:
      return "DWORD";
    case REG_BINARY:
      return "BINARY";
    default:
      return "TYPE" + std::to_string(type);
  }
}

std::string DataText(const RegValue& v) {
  if (v.type == REG_SZ) {
    std::string text(v.data.begin(), v.data.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : v.data) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

void Walk(const RegKey& key, const std::string& path, std::vector<std::string>* lines) {
  if (!path.empty()) lines->push_back(path);
  std::vector<std::string> values;
  key.ValueNames(&values);
  for (const std::string& name : values) {
    RegValue v;
    key.QueryValue(name, &v);
    lines->push_back(path + "|" + (name.empty() ? "@" : name) + "=" + TypeName(v.type) + ":" +
                     DataText(v));
  }
  std::vector<std::string> subKeys;
  key.SubKeyNames(&subKeys);
  for (const std::string& name : subKeys) {
    RegKey sub;
    if (sub.Open(key.handle(), name, RegAccess::Read) == 0)
      Walk(sub, path.empty() ? name : path + "\\" + name, lines);
  }
}

}  // namespace

std::vector<std::string> Snapshot(HKEY root, std::string_view path) {
  std::vector<std::string> lines;
  RegKey key;
  if (key.Open(RegRootKey(RegStore::Desktop, root), std::string(path), RegAccess::Read) != 0)
    return lines;
  Walk(key, std::string(path), &lines);
  std::sort(lines.begin(), lines.end());
  return lines;
}

DesktopRegistryHome::DesktopRegistryHome() {
  ::setenv("QM_HOME", home_.path().c_str(), 1);
  ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
  ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
  RegCloseStores();
  ForgetCaseLookups();
}

DesktopRegistryHome::~DesktopRegistryHome() {
  RegCloseStores();
  ForgetCaseLookups();
}

}  // namespace platform::com::testing
