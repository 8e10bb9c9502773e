// Descrambling filter of the reading chain.
#include "configobject/proptree/Scrambler.h"

namespace proptree {

void ScrambleState::Apply(uint8_t* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (!high_) {
      bytes[i] ^= static_cast<uint8_t>(key_ & 0xFF);
      high_ = true;
    } else {
      bytes[i] ^= static_cast<uint8_t>(key_ >> 8);
      key_ = ScrambleKeyStep(key_);
      high_ = false;
    }
  }
}

bool Scrambler::Open() {
  uint8_t parameter[2];
  return ReadExact(source_, parameter, sizeof parameter);
}

long Scrambler::Read(uint8_t* out, size_t size) {
  const long n = source_.Read(out, size);
  if (n > 0) state_.Apply(out, static_cast<size_t>(n));
  return n;
}

}  // namespace proptree
