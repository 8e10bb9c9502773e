// Encoding and bounds-checked decoding of device-manager messages.
#include "platform/DeviceMessage.h"

#include "platform/Errors.h"

namespace platform {
namespace {

class Writer {
 public:
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Bytes(std::span<const uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  void Text(const std::u16string& t) {
    for (char16_t c : t) {
      bytes_.push_back(static_cast<uint8_t>(c));
      bytes_.push_back(static_cast<uint8_t>(c >> 8));
    }
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reader: every read checks the remaining length; a failed read leaves the
// reader failed, so callers check once at the end.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> b) : rest_(b) {}
  uint32_t U32() {
    if (rest_.size() < 4) return Fail();
    const uint32_t v = rest_[0] | rest_[1] << 8 | rest_[2] << 16 | uint32_t{rest_[3]} << 24;
    rest_ = rest_.subspan(4);
    return v;
  }
  bool Bytes(size_t n, std::vector<uint8_t>& out) {
    if (failed_ || rest_.size() < n) return Fail(), false;
    out.assign(rest_.begin(), rest_.begin() + static_cast<std::ptrdiff_t>(n));
    rest_ = rest_.subspan(n);
    return true;
  }
  bool Text(size_t chars, std::u16string& out) {
    if (failed_ || rest_.size() / 2 < chars) return Fail(), false;
    out.resize(chars);
    for (size_t i = 0; i < chars; ++i)
      out[i] = static_cast<char16_t>(rest_[2 * i] | rest_[2 * i + 1] << 8);
    rest_ = rest_.subspan(2 * chars);
    return true;
  }
  bool Utf8(size_t n, std::string& out) {
    if (failed_ || rest_.size() < n) return Fail(), false;
    out.assign(reinterpret_cast<const char*>(rest_.data()), n);
    rest_ = rest_.subspan(n);
    return true;
  }
  bool ok() const { return !failed_; }
  bool atEnd() const { return !failed_ && rest_.empty(); }

 private:
  uint32_t Fail() {
    failed_ = true;
    rest_ = {};
    return 0;
  }
  std::span<const uint8_t> rest_;
  bool failed_ = false;
};

}  // namespace

std::vector<uint8_t> EncodeRequest(const DeviceRequest& request) {
  Writer w;
  w.U32(static_cast<uint32_t>(request.op));
  for (uint32_t a : request.args) w.U32(a);
  w.U32(static_cast<uint32_t>(request.name.size()));
  w.U32(static_cast<uint32_t>(request.file.size()));
  w.U32(static_cast<uint32_t>(request.data.size()));
  w.Text(request.name);
  w.Text(request.file);
  w.Bytes(request.data);
  return w.Take();
}

uint32_t DecodeRequest(std::span<const uint8_t> bytes, DeviceRequest& out) {
  Reader r(bytes);
  const uint32_t op = r.U32();
  for (uint32_t& a : out.args) a = r.U32();
  const uint32_t nameChars = r.U32();
  const uint32_t fileChars = r.U32();
  const uint32_t dataSize = r.U32();
  if (!r.ok() || op == 0 || op >= static_cast<uint32_t>(DeviceOp::_count) ||
      nameChars > kMaxDeviceText || fileChars > kMaxDeviceText || dataSize > kMaxDeviceData)
    return ERROR_INVALID_DATA;
  out.op = static_cast<DeviceOp>(op);
  r.Text(nameChars, out.name);
  r.Text(fileChars, out.file);
  r.Bytes(dataSize, out.data);
  return r.atEnd() ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

std::vector<uint8_t> EncodeReply(const DeviceReply& reply) {
  Writer w;
  w.U32(reply.error);
  w.U32(reply.value);
  w.U32(static_cast<uint32_t>(reply.data.size()));
  w.U32(static_cast<uint32_t>(reply.output.size()));
  w.Bytes(reply.data);
  w.Bytes(reply.output);
  return w.Take();
}

uint32_t DecodeReply(std::span<const uint8_t> bytes, DeviceReply& out) {
  Reader r(bytes);
  out.error = r.U32();
  out.value = r.U32();
  const uint32_t dataSize = r.U32();
  const uint32_t outputSize = r.U32();
  if (!r.ok() || dataSize > kMaxDeviceData || outputSize > kMaxDeviceData)
    return ERROR_INVALID_DATA;
  r.Bytes(dataSize, out.data);
  r.Bytes(outputSize, out.output);
  return r.atEnd() ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

std::vector<uint8_t> EncodeStatus(const std::vector<DeviceStatusEntry>& entries) {
  Writer w;
  w.U32(static_cast<uint32_t>(entries.size()));
  for (const auto& e : entries) {
    w.U32(e.handle);
    w.U32(static_cast<uint32_t>(e.name.size()));
    w.Text(e.name);
    w.U32(static_cast<uint32_t>(e.driverFile.size()));
    w.Bytes({reinterpret_cast<const uint8_t*>(e.driverFile.data()), e.driverFile.size()});
  }
  return w.Take();
}

uint32_t DecodeStatus(std::span<const uint8_t> bytes, std::vector<DeviceStatusEntry>& out) {
  out.clear();
  Reader r(bytes);
  const uint32_t count = r.U32();
  // Each entry takes at least 12 bytes, which bounds the count before use.
  if (!r.ok() || count > bytes.size() / 12) return ERROR_INVALID_DATA;
  for (uint32_t i = 0; i < count; ++i) {
    DeviceStatusEntry e;
    e.handle = r.U32();
    const uint32_t nameChars = r.U32();
    if (!r.ok() || nameChars > kMaxDeviceText || !r.Text(nameChars, e.name))
      return ERROR_INVALID_DATA;
    const uint32_t fileBytes = r.U32();
    if (!r.ok() || fileBytes > kMaxDeviceData || !r.Utf8(fileBytes, e.driverFile))
      return ERROR_INVALID_DATA;
    out.push_back(std::move(e));
  }
  return r.atEnd() ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

}  // namespace platform
