// Filter code 4: exclusive-or with a 16-bit shift-register key stream.
#pragma once

#include "configobject/proptree/ByteSource.h"

namespace proptree {

// The starting key of every scrambled stream.
inline constexpr uint16_t kScrambleSeed = 0x5A3C;

// ScrambleKeyStep: the key after one 16-bit word.
constexpr uint16_t ScrambleKeyStep(uint16_t k) {
  return static_cast<uint16_t>((k >> 1) | (((k ^ (k >> 1)) & 1) << 15));
}

// ScrambleState: the key stream taken as bytes: low byte of a key, high byte,
// then the next key. Reads of any length continue it, which is what the
// odd-length rule of the word form amounts to.
class ScrambleState {
 public:
  void Apply(uint8_t* bytes, size_t size);

 private:
  uint16_t key_ = kScrambleSeed;
  bool high_ = false;
};

// Scrambler: descrambles what its source delivers. Open() reads the 2-byte
// parameter (unused) from the source.
class Scrambler final : public ByteSource {
 public:
  explicit Scrambler(ByteSource& source) : source_(source) {}
  bool Open();
  long Read(uint8_t* out, size_t size) override;

 private:
  ByteSource& source_;
  ScrambleState state_;
};

}  // namespace proptree
