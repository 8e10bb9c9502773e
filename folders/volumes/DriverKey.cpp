// Writing the driver registration key and the storage profile.
#include "folders/volumes/DriverKey.h"

#include <cstdio>
#include <string>

#include "platform/RegKey.h"
#include "platform/RegTransaction.h"

namespace folders {
namespace {

platform::HKEY LocalMachine() {
  return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_LOCAL_MACHINE);
}

uint32_t WriteDriverValues(std::u16string_view dllName, std::u16string_view keyPath) {
  platform::RegKey key;
  if (uint32_t err = key.Create(LocalMachine(), keyPath, platform::RegAccess::All)) return err;
  if (uint32_t err = key.SetString("Prefix", std::u16string_view(kDriverPrefix))) return err;
  if (uint32_t err = key.SetString("Dll", dllName)) return err;
  return key.SetString("IClass", std::u16string_view(kDriverIClass));
}

}  // namespace

uint32_t RegisterDriverKey(std::u16string_view dllName, std::u16string_view keyPath) {
  // One transaction, so that a failure part-way leaves the key as it was.
  platform::RegTransaction transaction(platform::RegStore::Device);
  uint32_t err = transaction.Begin();
  if (err == 0) err = WriteDriverValues(dllName, keyPath);
  if (err == 0) err = transaction.Commit();
  if (err != 0) {
    transaction.Rollback();
    std::fputs("ERROR Opening the registry key\r\n", stderr);
  }
  return err;
}

uint32_t WriteStorageProfile(std::u16string_view mountName) {
  std::u16string path(kProfilesKey);
  path += u'\\';
  path += kProfileName;
  platform::RegKey key;
  if (uint32_t err = key.Create(LocalMachine(), path, platform::RegAccess::All)) return err;
  return key.SetString(kProfileFolderValue, mountName);
}

}  // namespace folders
