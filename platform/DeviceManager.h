// The handheld's device manager as the programs see it: loading stream
// drivers, device handles, opening devices by name and sending them control
// codes. The drivers run in a separate service process that outlives the
// programs; these calls reach it over a local socket and start it on demand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// DeviceHandle: a device handle as the handheld hands it out; never 0 for a
// loaded driver, and small enough for the 4-byte fields that store it.
using DeviceHandle = uint32_t;

// FILE_ATTRIBUTE_SYSTEM: the attribute the programs open devices with.
inline constexpr uint32_t DEVICE_OPEN_SYSTEM = 0x4;

// RegisterDevice: loads the driver file `dllName` (looked up in the device's
// "\Windows" folder, letter case ignored; "X.dll" is the file "X.so") as the
// device prefix + index + ":" and hands its initialisation the bytes of
// `info`, copied. Returns the handle, or 0 with the last error: 2 when the
// driver file is missing, ERROR_DEVICE_IN_USE (2404) when the name is taken,
// 87 for a bad prefix or index (or names or info beyond the message limits
// of DeviceMessage.h), 21 when the service cannot be reached or started, or
// the error the driver's initialisation set.
DeviceHandle RegisterDevice(std::u16string_view prefix, uint32_t index, std::u16string_view dllName,
                            std::span<const uint8_t> info);

// DeregisterDevice: unloads the device of that handle. Returns true, or false
// with last error 6 for an unknown handle.
bool DeregisterDevice(DeviceHandle handle);

// ActivateDeviceEx: loads the driver named by the device registry key
// HKEY_LOCAL_MACHINE\`registryKey` (values "Dll" and "Prefix"; "Index" when
// present, else the lowest free index 0 to 9) and hands it `info`. Returns
// the handle or 0 with the last error as for RegisterDevice (2 also when the
// key or its values are missing).
DeviceHandle ActivateDeviceEx(std::u16string_view registryKey, std::span<const uint8_t> info);

// DeactivateDevice: unloads a device loaded by ActivateDeviceEx (any loaded
// device is accepted). Returns true, or false with last error 6.
bool DeactivateDevice(DeviceHandle handle);

// PlatformMajorVersion: the handheld's major system version: QM_DEVICE_OS_VERSION
// when it holds a number, else 4.
uint32_t PlatformMajorVersion();

// Device: one open device ("VDD0:" and the like). Move-only; closed by Close()
// or the destructor.
class Device {
 public:
  Device() = default;
  Device(Device&& other) noexcept;
  Device& operator=(Device&& other) noexcept;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  ~Device();

  // Open: opens the device of that name (letter case ignored) with the access
  // and share bits of File. Returns 0, or 2 when no device has the name, or
  // the driver's refusal.
  uint32_t Open(std::u16string_view name, uint32_t access, uint32_t share, uint32_t attributes);

  // IoControl: sends a control code with an input and an output buffer; the
  // driver fills at most output.size() bytes of `output` and `returned` tells
  // how many. A handheld driver works in the caller's memory and may write
  // into the input buffer too (control code 10 of the folder driver does), so
  // both buffers are copied to the service and back. Returns 0 or the
  // driver's error (50 for a code it does not know).
  uint32_t IoControl(uint32_t code, std::span<uint8_t> input, std::span<uint8_t> output,
                     uint32_t& returned);

  void Close();
  bool isOpen() const { return id_ != 0; }

 private:
  uint32_t id_ = 0;  // the service's number for this open
};

// DeviceManagerSocketPath: where the service listens: QM_DEVICE_MANAGER_SOCKET,
// else $QM_HOME/devicemanager.sock.
std::string DeviceManagerSocketPath();

}  // namespace platform
