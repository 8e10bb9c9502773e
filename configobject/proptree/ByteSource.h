// The byte sources a stored tree is read through: the memory block and the filters.
#pragma once

#include <cstddef>
#include <cstdint>

namespace proptree {

// ByteSource: one link of the reading chain.
class ByteSource {
 public:
  // Read: fills `out` with up to `size` bytes and returns how many; fewer
  // than asked only at the end of the data; -1 once the data is found bad
  // (and from then on).
  virtual long Read(uint8_t* out, size_t size) = 0;

 protected:
  ~ByteSource() = default;
};

// ReadExact: true when exactly `size` bytes were read.
inline bool ReadExact(ByteSource& source, uint8_t* out, size_t size) {
  return size == 0 || source.Read(out, size) == static_cast<long>(size);
}

// MemorySource: a memory block owned by the caller; never reads past its end.
class MemorySource final : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  long Read(uint8_t* out, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

inline uint16_t LoadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t LoadU32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace proptree
