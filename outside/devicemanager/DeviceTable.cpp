// Loading, naming, numbering and unloading the service's devices.
#include "outside/devicemanager/DeviceTable.h"

#include <random>

#include "platform/Errors.h"
#include "platform/Text.h"

namespace devicemanager {
namespace {

using namespace platform;

bool IsPrefix(std::u16string_view prefix) {
  if (prefix.size() != 3) return false;
  for (char16_t c : prefix)
    if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))) return false;
  return true;
}

}  // namespace

std::u16string DeviceName(std::u16string_view prefix, uint32_t index) {
  std::u16string name(prefix);
  name += static_cast<char16_t>(u'0' + index);
  name += u':';
  return name;
}

uint32_t FirstHandleForThisRun() {
  std::random_device random;
  return ((random() % 0xFFFFu) + 1) << 8;
}

DeviceTable::DeviceTable(DriverLoader loader, DriverKeyReader keyReader, uint32_t firstHandle)
    : loader_(std::move(loader)),
      keyReader_(std::move(keyReader)),
      nextHandle_(firstHandle != 0 ? firstHandle : 1) {}

DeviceTable::~DeviceTable() {
  UnloadAll();
}

DeviceTable::Loaded* DeviceTable::FindByName(std::u16string_view name) {
  for (auto& [handle, device] : devices_)
    if (EqualsIgnoreCase(device.name, name)) return &device;
  return nullptr;
}

uint32_t DeviceTable::Register(std::u16string_view prefix, uint32_t index,
                               std::u16string_view dllName, std::span<const uint8_t> info,
                               uint32_t& handle) {
  handle = 0;
  if (!IsPrefix(prefix) || index > kMaxDeviceIndex) return ERROR_INVALID_PARAMETER;
  std::u16string name = DeviceName(prefix, index);
  if (FindByName(name)) return ERROR_DEVICE_IN_USE;
  std::unique_ptr<DeviceDriver> driver;
  if (const uint32_t rc = loader_(dllName, prefix, driver)) return rc;
  const uint32_t h = nextHandle_;
  if (const uint32_t rc = driver->Init(info, h)) return rc;
  nextHandle_ = nextHandle_ + 1 != 0 ? nextHandle_ + 1 : 1;
  devices_.emplace(h, Loaded{std::move(name), std::move(driver)});
  handle = h;
  return 0;
}

uint32_t DeviceTable::Activate(std::u16string_view key, std::span<const uint8_t> info,
                               uint32_t& handle) {
  handle = 0;
  DriverKey k;
  if (const uint32_t rc = keyReader_(key, k)) return rc;
  if (k.index) return Register(k.prefix, *k.index, k.dll, info, handle);
  if (!IsPrefix(k.prefix)) return ERROR_INVALID_PARAMETER;
  for (uint32_t i = 0; i <= kMaxDeviceIndex; ++i)
    if (!FindByName(DeviceName(k.prefix, i))) return Register(k.prefix, i, k.dll, info, handle);
  return ERROR_DEVICE_IN_USE;
}

uint32_t DeviceTable::Deregister(uint32_t handle) {
  const auto it = devices_.find(handle);
  if (handle == 0 || it == devices_.end()) return ERROR_INVALID_HANDLE;
  for (auto o = opens_.begin(); o != opens_.end();) {
    if (o->second.handle == handle) {
      it->second.driver->Close(o->second.context);
      o = opens_.erase(o);
    } else {
      ++o;
    }
  }
  it->second.driver->Deinit();
  devices_.erase(it);  // unloads the module
  return 0;
}

uint32_t DeviceTable::Open(std::u16string_view name, uint32_t access, uint32_t share,
                           uint32_t& id) {
  id = 0;
  for (auto& [handle, device] : devices_) {
    if (!EqualsIgnoreCase(device.name, name)) continue;
    uintptr_t context = 0;
    if (const uint32_t rc = device.driver->Open(access, share, context)) return rc;
    id = nextOpen_;
    nextOpen_ = nextOpen_ + 1 != 0 ? nextOpen_ + 1 : 1;
    opens_[id] = OpenEntry{handle, context};
    return 0;
  }
  return ERROR_FILE_NOT_FOUND;
}

uint32_t DeviceTable::IoControl(uint32_t id, uint32_t code, std::span<uint8_t> input,
                                std::span<uint8_t> output, uint32_t& returned) {
  returned = 0;
  const auto it = opens_.find(id);
  if (it == opens_.end()) return ERROR_INVALID_HANDLE;
  const auto device = devices_.find(it->second.handle);
  return device->second.driver->IoControl(it->second.context, code, input, output, returned);
}

uint32_t DeviceTable::Close(uint32_t id) {
  const auto it = opens_.find(id);
  if (it == opens_.end()) return ERROR_INVALID_HANDLE;
  devices_.find(it->second.handle)->second.driver->Close(it->second.context);
  opens_.erase(it);
  return 0;
}

std::vector<DeviceStatusEntry> DeviceTable::Status() const {
  std::vector<DeviceStatusEntry> entries;
  for (const auto& [handle, device] : devices_)
    entries.push_back({handle, device.name, device.driver->file()});
  return entries;
}

void DeviceTable::UnloadAll() {
  while (!devices_.empty()) Deregister(devices_.begin()->first);
}

}  // namespace devicemanager
