// Registration keys of type libraries under HKEY_CLASSES_ROOT\TypeLib.
#include "platform/com/TypeLibrary.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/RegKey.h"
#include "platform/RegTransaction.h"

namespace platform::com {
namespace {

HKEY ClassesRoot() {
  return RegRootKey(RegStore::Desktop, HKEY_CLASSES_ROOT);
}

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", v);
  return text;
}

std::string LibraryKey(const TypeLibrary& library) {
  return "TypeLib\\" + FormatGuid(library.libid);
}

bool Missing(uint32_t rc) {
  return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND;
}

uint32_t SetDefault(const std::string& path, std::string_view text) {
  RegKey key;
  if (uint32_t rc = key.Create(ClassesRoot(), path, RegAccess::All)) return rc;
  return key.SetString("", text);
}

}  // namespace

std::string TypeLibVersionKey(const TypeLibrary& library) {
  return LibraryKey(library) + "\\" + Hex(library.majorVersion) + "." + Hex(library.minorVersion);
}

HRESULT RegisterTypeLib(const TypeLibrary& library, std::string_view modulePath,
                        std::string_view helpDir) {
  const std::string version = TypeLibVersionKey(library);
  RegTransaction transaction(RegStore::Desktop);
  if (transaction.Begin() != ERROR_SUCCESS) return TYPE_E_REGISTRYACCESS;
  uint32_t rc = SetDefault(version, library.helpString ? library.helpString : "");
  if (rc == ERROR_SUCCESS)
    rc = SetDefault(version + "\\" + Hex(library.lcid) + "\\win32", modulePath);
  if (rc == ERROR_SUCCESS) rc = SetDefault(version + "\\FLAGS", "0");
  if (rc == ERROR_SUCCESS) rc = SetDefault(version + "\\HELPDIR", helpDir);
  if (rc != ERROR_SUCCESS) {
    transaction.Rollback();
    return TYPE_E_REGISTRYACCESS;
  }
  return transaction.Commit() == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(const TypeLibrary& library) {
  RegTransaction transaction(RegStore::Desktop);
  if (transaction.Begin() != ERROR_SUCCESS) return TYPE_E_REGISTRYACCESS;
  uint32_t rc = RegDeleteTree(ClassesRoot(), TypeLibVersionKey(library).c_str());
  if (Missing(rc)) rc = ERROR_SUCCESS;
  if (rc == ERROR_SUCCESS) {
    RegKey key;
    const uint32_t opened = key.Open(ClassesRoot(), LibraryKey(library), RegAccess::Read);
    std::vector<std::string> versions;
    if (opened == ERROR_SUCCESS) rc = key.SubKeyNames(&versions);
    key.Close();
    if (opened == ERROR_SUCCESS && rc == ERROR_SUCCESS && versions.empty())
      rc = RegDeleteTree(ClassesRoot(), LibraryKey(library).c_str());
    else if (opened != ERROR_SUCCESS && !Missing(opened))
      rc = opened;
  }
  if (rc != ERROR_SUCCESS) {
    transaction.Rollback();
    return TYPE_E_REGISTRYACCESS;
  }
  return transaction.Commit() == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
}

}  // namespace platform::com
