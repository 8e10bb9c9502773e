// Filter code 2: data in blocks, each carrying its CRC-32 and length.
#pragma once

#include "configobject/proptree/ByteSource.h"

namespace proptree {

inline constexpr uint32_t kCrcBlockHeaderSize = 6;  // 32-bit CRC, 16-bit length

// CrcBlockFilter: delivers the checked bytes of the blocks; a zero-length
// block ends the data; a CRC mismatch, a block above the announced largest
// size or a short block is bad data. Owns one block buffer.
class CrcBlockFilter final : public ByteSource {
 public:
  explicit CrcBlockFilter(ByteSource& source) : source_(source) {}
  ~CrcBlockFilter();
  CrcBlockFilter(const CrcBlockFilter&) = delete;
  CrcBlockFilter& operator=(const CrcBlockFilter&) = delete;

  // Open: reads the 6-byte parameters (largest block size, unused 16 bits);
  // false on a short read.
  bool Open();
  long Read(uint8_t* out, size_t size) override;
  uint32_t largest() const { return largest_; }

 private:
  bool NextBlock();

  ByteSource& source_;
  uint32_t largest_ = 0;
  uint8_t* block_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t length_ = 0;
  uint32_t position_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace proptree
