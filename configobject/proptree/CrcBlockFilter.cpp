// CRC-checked block filter of the reading chain.
#include "configobject/proptree/CrcBlockFilter.h"

#include <cstring>

#include "configobject/proptree/Allocation.h"
#include "configobject/proptree/Crc32.h"

namespace proptree {

CrcBlockFilter::~CrcBlockFilter() {
  Release(block_);
}

bool CrcBlockFilter::Open() {
  uint8_t parameters[6];
  if (!ReadExact(source_, parameters, sizeof parameters)) return false;
  largest_ = LoadU32(parameters);
  return true;
}

bool CrcBlockFilter::NextBlock() {
  uint8_t header[kCrcBlockHeaderSize];
  if (!ReadExact(source_, header, sizeof header)) return false;
  const uint32_t stored = LoadU32(header);
  const uint32_t length = LoadU16(header + 4);
  if (length == 0) {
    ended_ = true;
    return true;
  }
  if (length > largest_) return false;
  if (length > capacity_) {
    auto* fresh = static_cast<uint8_t*>(Allocate(length));
    if (fresh == nullptr) return false;
    Release(block_);
    block_ = fresh;
    capacity_ = length;
  }
  if (!ReadExact(source_, block_, length)) return false;
  if (Crc32Update(kCrcStart, block_, length) != stored) return false;
  length_ = length;
  position_ = 0;
  return true;
}

long CrcBlockFilter::Read(uint8_t* out, size_t size) {
  if (failed_) return -1;
  size_t done = 0;
  while (done < size) {
    if (position_ == length_) {
      if (ended_) break;
      if (!NextBlock()) {
        failed_ = true;
        return -1;
      }
      continue;
    }
    const size_t left = length_ - position_;
    const size_t n = size - done < left ? size - done : left;
    std::memcpy(out + done, block_ + position_, n);
    position_ += static_cast<uint32_t>(n);
    done += n;
  }
  return static_cast<long>(done);
}

}  // namespace proptree
