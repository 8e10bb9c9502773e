// The device manager's requests and replies as they travel over the local socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// DeviceOp: what a request asks of the service. Arguments per operation:
//   Register    name = prefix, file = driver file, args[0] = index, data = info
//   Activate    name = registry key, data = info
//   Deregister  args[0] = device handle (also serves DeactivateDevice)
//   Open        name = device name, args = access, share, attributes
//   IoControl   args[0] = open number, args[1] = code, args[2] = output size,
//               data = input buffer
//   Close       args[0] = open number
//   Status      (nothing)
//   Stop        (nothing)
enum class DeviceOp : uint32_t {
  Register = 1,
  Activate,
  Deregister,
  Open,
  IoControl,
  Close,
  Status,
  Stop,
  _count
};
static_assert(static_cast<uint32_t>(DeviceOp::_count) == 9);

// Limits every decoder enforces before it allocates.
inline constexpr size_t kMaxDeviceText = 1024;             // characters of a name
inline constexpr size_t kMaxDeviceData = size_t{1} << 20;  // info, control buffers

struct DeviceRequest {
  DeviceOp op = DeviceOp::Status;
  uint32_t args[3] = {};
  std::u16string name;
  std::u16string file;
  std::vector<uint8_t> data;
};

// DeviceReply: error is 0 or the Win32 code for the client's last error.
// value: the handle (Register, Activate), the open number (Open), the byte
// count the driver returned (IoControl), the service's process id (Status).
// data: the input buffer as the driver left it (IoControl), the listing
// (Status). output: the control call's output buffer.
struct DeviceReply {
  uint32_t error = 0;
  uint32_t value = 0;
  std::vector<uint8_t> data;
  std::vector<uint8_t> output;
};

// DeviceStatusEntry: one loaded device in a Status listing.
struct DeviceStatusEntry {
  uint32_t handle = 0;
  std::u16string name;     // "VDD0:"
  std::string driverFile;  // host path of the driver loaded
};

// EncodeRequest / EncodeReply: the message bytes (little-endian fields).
std::vector<uint8_t> EncodeRequest(const DeviceRequest& request);
std::vector<uint8_t> EncodeReply(const DeviceReply& reply);

// DecodeRequest / DecodeReply: parse untrusted bytes. Return 0, or
// ERROR_INVALID_DATA (13) when the bytes are short, long, name an unknown
// operation or exceed the limits; `out` is then unspecified.
uint32_t DecodeRequest(std::span<const uint8_t> bytes, DeviceRequest& out);
uint32_t DecodeReply(std::span<const uint8_t> bytes, DeviceReply& out);

// EncodeStatus / DecodeStatus: the listing carried in a Status reply's data.
std::vector<uint8_t> EncodeStatus(const std::vector<DeviceStatusEntry>& entries);
uint32_t DecodeStatus(std::span<const uint8_t> bytes, std::vector<DeviceStatusEntry>& out);

}  // namespace platform
