// Greedy LZ77 compressor with hash chains over an 8192-byte window.
#include "configobject/proptree/Compressor.h"

namespace proptree {
namespace {

constexpr size_t kWindow = 8192;
constexpr size_t kLongest = 256;
constexpr size_t kShortDistance = 256;
constexpr size_t kShortLongest = 5;
constexpr size_t kHashSize = 1 << 14;
constexpr int kChainLimit = 64;

// BitWriter: control bits gathered least significant first; as the reader
// takes a new control word right after the sixteenth bit, the next word's
// place is reserved at that moment, ahead of any data bytes that follow.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) { Reserve(); }
  void Bit(int bit) {
    word_ |= static_cast<uint16_t>(bit << taken_);
    if (++taken_ == 16) {
      Store();
      Reserve();
    }
  }
  void Byte(uint8_t b) { out_.push_back(b); }
  void Finish() { Store(); }

 private:
  void Reserve() {
    slot_ = out_.size();
    out_.push_back(0);
    out_.push_back(0);
    word_ = 0;
    taken_ = 0;
  }
  void Store() {
    out_[slot_] = static_cast<uint8_t>(word_ & 0xFF);
    out_[slot_ + 1] = static_cast<uint8_t>(word_ >> 8);
  }
  std::vector<uint8_t>& out_;
  size_t slot_ = 0;
  uint16_t word_ = 0;
  int taken_ = 0;
};

size_t Hash(const uint8_t* p) {
  return ((p[0] << 6) ^ (p[1] << 3) ^ p[2] ^ (p[0] >> 3)) % kHashSize;
}

}  // namespace

std::vector<uint8_t> Compress(std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 16);
  BitWriter bits(out);
  std::vector<int64_t> head(kHashSize, -1);
  std::vector<int64_t> previous(kWindow, -1);
  const size_t n = data.size();
  auto insert = [&](size_t at) {
    if (at + 3 > n) return;
    const size_t h = Hash(&data[at]);
    previous[at % kWindow] = head[h];
    head[h] = static_cast<int64_t>(at);
  };
  size_t i = 0;
  while (i < n) {
    size_t bestLength = 0, bestDistance = 0;
    if (i + 3 <= n) {
      const size_t limit = n - i < kLongest ? n - i : kLongest;
      int64_t candidate = head[Hash(&data[i])];
      for (int steps = 0; candidate >= 0 && steps < kChainLimit; ++steps) {
        const size_t distance = i - static_cast<size_t>(candidate);
        if (distance > kWindow) break;
        size_t length = 0;
        while (length < limit && data[candidate + length] == data[i + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = distance;
          if (length == limit) break;
        }
        const int64_t next = previous[candidate % kWindow];
        if (next >= candidate) break;
        candidate = next;
      }
    }
    if (bestLength < 3) {
      bits.Bit(1);
      bits.Byte(data[i]);
      insert(i);
      ++i;
      continue;
    }
    bits.Bit(0);
    if (bestDistance <= kShortDistance && bestLength <= kShortLongest) {
      const size_t code = bestLength - 2;
      bits.Bit(0);
      bits.Bit(static_cast<int>(code >> 1));
      bits.Bit(static_cast<int>(code & 1));
      bits.Byte(static_cast<uint8_t>(kShortDistance - bestDistance));
    } else {
      bits.Bit(1);
      const size_t value = kWindow - bestDistance;
      bits.Byte(static_cast<uint8_t>(value & 0xFF));
      if (bestLength <= 9) {
        bits.Byte(static_cast<uint8_t>(((value >> 8) << 3) | (bestLength - 2)));
      } else {
        bits.Byte(static_cast<uint8_t>((value >> 8) << 3));
        bits.Byte(static_cast<uint8_t>(bestLength - 1));
      }
    }
    for (size_t k = 0; k < bestLength; ++k) insert(i + k);
    i += bestLength;
  }
  // End code: a long match form whose length byte is 0.
  bits.Bit(0);
  bits.Bit(1);
  bits.Byte(0);
  bits.Byte(0);
  bits.Byte(0);
  bits.Finish();
  return out;
}

}  // namespace proptree
