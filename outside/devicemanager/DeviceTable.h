// The service's loaded devices, their handles and the opens on them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "outside/devicemanager/DeviceDriver.h"
#include "outside/devicemanager/DriverKey.h"
#include "platform/DeviceMessage.h"

namespace devicemanager {

inline constexpr uint32_t kMaxDeviceIndex = 9;

// DeviceTable: every device the service has loaded. Devices are named prefix
// + index + ":" ("VDD0:"); names compare regardless of letter case. Handles
// and open numbers are non-zero, counted up from a start value and never
// reused while the table lives. Every method returns 0 or a Win32 code. Not
// thread-safe: the service handles one request at a time.
class DeviceTable {
 public:
  // The first handle defaults to a value that differs from run to run, so a
  // handle a program remembered from an earlier service is unlikely to name
  // a device of this one.
  DeviceTable(DriverLoader loader, DriverKeyReader keyReader, uint32_t firstHandle);
  ~DeviceTable();
  DeviceTable(const DeviceTable&) = delete;
  DeviceTable& operator=(const DeviceTable&) = delete;

  // Register: loads `dllName` as device prefix + index and starts it with a
  // copy of `info`. 87 for a prefix that is not three letters or an index
  // above 9, 2404 when the name is taken (nothing is loaded then), the
  // loader's code (2: no such file), or the driver's Init code.
  uint32_t Register(std::u16string_view prefix, uint32_t index, std::u16string_view dllName,
                    std::span<const uint8_t> info, uint32_t& handle);

  // Activate: Register with the driver key's "Dll", "Prefix" and "Index", or
  // the lowest free index when "Index" is absent (2404 when all ten are
  // taken). The key reader's code when the key cannot be read.
  uint32_t Activate(std::u16string_view key, std::span<const uint8_t> info, uint32_t& handle);

  // Deregister: closes the device's opens, ends and unloads its driver.
  // 6 for an unknown handle.
  uint32_t Deregister(uint32_t handle);

  // Open: opens a device by name; 2 for an unknown name, or the driver's code.
  uint32_t Open(std::u16string_view name, uint32_t access, uint32_t share, uint32_t& id);

  // IoControl: forwards a control code to the driver of an open; 6 for an
  // unknown open number.
  uint32_t IoControl(uint32_t id, uint32_t code, std::span<uint8_t> input,
                     std::span<uint8_t> output, uint32_t& returned);

  // Close: ends an open; 6 for an unknown open number.
  uint32_t Close(uint32_t id);

  // Status: every device, by handle.
  std::vector<platform::DeviceStatusEntry> Status() const;

  // UnloadAll: deregisters every device (the service is stopping).
  void UnloadAll();

  size_t size() const { return devices_.size(); }

 private:
  struct Loaded {
    std::u16string name;
    std::unique_ptr<DeviceDriver> driver;
  };
  struct OpenEntry {
    uint32_t handle;
    uintptr_t context;
  };

  Loaded* FindByName(std::u16string_view name);

  DriverLoader loader_;
  DriverKeyReader keyReader_;
  uint32_t nextHandle_;
  uint32_t nextOpen_ = 1;
  std::map<uint32_t, Loaded> devices_;
  std::map<uint32_t, OpenEntry> opens_;
};

// DeviceName: prefix + index + ":".
std::u16string DeviceName(std::u16string_view prefix, uint32_t index);

// FirstHandleForThisRun: a small non-zero start value that varies per run.
uint32_t FirstHandleForThisRun();

}  // namespace devicemanager
