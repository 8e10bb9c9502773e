// Reading driver registration keys from the device registry.
#include "outside/devicemanager/DriverKey.h"

#include "platform/RegKey.h"
#include "platform/Registry.h"

namespace devicemanager {

uint32_t ReadDriverKey(std::u16string_view key, DriverKey& out) {
  out = {};
  platform::RegKey k;
  const platform::HKEY root =
      platform::RegRootKey(platform::RegStore::Device, platform::HKEY_LOCAL_MACHINE);
  if (const uint32_t rc = k.Open(root, platform::RegName(key), platform::RegAccess::Read))
    return rc;
  if (const uint32_t rc = k.QueryString("Dll", &out.dll)) return rc;
  if (const uint32_t rc = k.QueryString("Prefix", &out.prefix)) return rc;
  if (k.HasValue("Index")) {
    uint32_t index = 0;
    if (const uint32_t rc = k.QueryDword("Index", &index)) return rc;
    out.index = index;
  }
  return 0;
}

}  // namespace devicemanager
