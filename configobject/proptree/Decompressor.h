// Filter code 1: expansion of the LZ77-style compressed form.
#pragma once

#include "configobject/proptree/ByteSource.h"

namespace proptree {

inline constexpr uint32_t kHistorySlack = 2048;
inline constexpr uint32_t kLongestDistance = 8192;

// Decompressor: expands its source, keeping everything produced as the
// history that matches copy from. A match reaching before the start of the
// output, or input ending before the end code, is bad data.
class Decompressor final : public ByteSource {
 public:
  explicit Decompressor(ByteSource& source) : source_(source) {}
  ~Decompressor();
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  // Open: reads the 6-byte parameters (unused by reading) and the first
  // control word; false on a short read.
  bool Open();
  long Read(uint8_t* out, size_t size) override;

 private:
  bool NextByte(uint8_t* byte);
  bool NextBit(int* bit);
  bool Step();
  bool Grow(size_t extra);

  ByteSource& source_;
  uint8_t input_[1024];
  size_t inputLength_ = 0;
  size_t inputPosition_ = 0;
  uint16_t control_ = 0;
  int bitsTaken_ = 0;
  uint8_t* history_ = nullptr;
  size_t capacity_ = 0;
  size_t produced_ = 0;
  size_t delivered_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace proptree
