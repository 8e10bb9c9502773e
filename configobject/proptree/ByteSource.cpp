// The memory block at the bottom of the reading chain.
#include "configobject/proptree/ByteSource.h"

#include <cstring>

namespace proptree {

long MemorySource::Read(uint8_t* out, size_t size) {
  const size_t left = size_ - position_;
  const size_t n = size < left ? size : left;
  if (n > 0) std::memcpy(out, data_ + position_, n);
  position_ += n;
  return static_cast<long>(n);
}

}  // namespace proptree
