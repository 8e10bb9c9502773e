// Expanding filter of the reading chain.
#include "configobject/proptree/Decompressor.h"

#include <cstring>

#include "configobject/proptree/Allocation.h"

namespace proptree {

Decompressor::~Decompressor() {
  Release(history_);
}

bool Decompressor::Open() {
  uint8_t parameters[6];
  if (!ReadExact(source_, parameters, sizeof parameters)) return false;
  uint8_t lo, hi;
  if (!NextByte(&lo) || !NextByte(&hi)) return false;
  control_ = static_cast<uint16_t>(lo | (hi << 8));
  bitsTaken_ = 0;
  return true;
}

bool Decompressor::NextByte(uint8_t* byte) {
  if (inputPosition_ == inputLength_) {
    const long n = source_.Read(input_, sizeof input_);
    if (n <= 0) return false;
    inputLength_ = static_cast<size_t>(n);
    inputPosition_ = 0;
  }
  *byte = input_[inputPosition_++];
  return true;
}

bool Decompressor::NextBit(int* bit) {
  *bit = control_ & 1;
  control_ >>= 1;
  if (++bitsTaken_ == 16) {
    // The next control word is taken as soon as the last bit is used.
    uint8_t lo, hi;
    if (!NextByte(&lo) || !NextByte(&hi)) return false;
    control_ = static_cast<uint16_t>(lo | (hi << 8));
    bitsTaken_ = 0;
  }
  return true;
}

bool Decompressor::Grow(size_t extra) {
  const size_t needed = produced_ + extra;
  if (needed <= capacity_) return true;
  // The slack keeps regrowth rare for literal runs; larger histories grow by
  // half again so that a long stream is not copied once per slack.
  size_t capacity = needed + kHistorySlack;
  if (capacity < capacity_ + capacity_ / 2) capacity = capacity_ + capacity_ / 2;
  auto* fresh = static_cast<uint8_t*>(Allocate(capacity));
  if (fresh == nullptr) return false;
  if (produced_ > 0) std::memcpy(fresh, history_, produced_);
  Release(history_);
  history_ = fresh;
  capacity_ = capacity;
  return true;
}

bool Decompressor::Step() {
  int bit;
  if (!NextBit(&bit)) return false;
  if (bit == 1) {
    uint8_t literal;
    if (!NextByte(&literal) || !Grow(1)) return false;
    history_[produced_++] = literal;
    return true;
  }
  if (!NextBit(&bit)) return false;
  size_t distance, length;
  if (bit == 1) {
    uint8_t lo, hi;
    if (!NextByte(&lo) || !NextByte(&hi)) return false;
    distance = kLongestDistance - ((hi >> 3) * 256u + lo);
    if ((hi & 7) != 0) {
      length = (hi & 7) + 2u;
    } else {
      uint8_t n;
      if (!NextByte(&n)) return false;
      if (n == 0) {
        ended_ = true;
        return true;
      }
      if (n == 1) return true;
      length = n + 1u;
    }
  } else {
    int b1, b2;
    if (!NextBit(&b1) || !NextBit(&b2)) return false;
    length = 2u * b1 + b2 + 2u;
    uint8_t x;
    if (!NextByte(&x)) return false;
    distance = 256u - x;
  }
  // A reference before the first byte produced has no history to copy.
  if (distance > produced_ || !Grow(length)) return false;
  for (size_t i = 0; i < length; ++i, ++produced_)
    history_[produced_] = history_[produced_ - distance];
  return true;
}

long Decompressor::Read(uint8_t* out, size_t size) {
  if (failed_) return -1;
  while (produced_ - delivered_ < size && !ended_) {
    if (!Step()) {
      failed_ = true;
      return -1;
    }
  }
  const size_t left = produced_ - delivered_;
  const size_t n = size < left ? size : left;
  if (n > 0) std::memcpy(out, history_ + delivered_, n);
  delivered_ += n;
  return static_cast<long>(n);
}

}  // namespace proptree
