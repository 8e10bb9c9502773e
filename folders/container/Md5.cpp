// MD5 as RFC 1321 describes it: 64-byte blocks, four rounds of sixteen steps.
#include "folders/container/Md5.h"

#include <algorithm>
#include <cstring>

namespace folders {

namespace {

// Per-step shift amounts and the sine-derived constants of RFC 1321, 3.4.
constexpr uint32_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr uint32_t RotateLeft(uint32_t x, uint32_t n) {
  return (x << n) | (x >> (32 - n));
}

uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void StoreLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

void Md5::Reset() {
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
  length_ = 0;
}

void Md5::Transform(const uint8_t* block) {
  uint32_t x[16];
  for (int k = 0; k < 16; ++k) x[k] = LoadLe32(block + 4 * k);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (uint32_t step = 0; step < 64; ++step) {
    uint32_t f;
    uint32_t word;
    switch (step / 16) {
      case 0:
        f = (b & c) | (~b & d);
        word = step;
        break;
      case 1:
        f = (b & d) | (c & ~d);
        word = (5 * step + 1) % 16;
        break;
      case 2:
        f = b ^ c ^ d;
        word = (3 * step + 5) % 16;
        break;
      default:
        f = c ^ (b | ~d);
        word = (7 * step) % 16;
        break;
    }
    const uint32_t next = b + RotateLeft(a + f + kSine[step] + x[word], kShift[step]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(std::span<const uint8_t> bytes) {
  // An empty span may carry a null pointer, which memcpy must never see.
  if (bytes.empty()) return;
  size_t held = static_cast<size_t>(length_ % 64);
  length_ += bytes.size();
  size_t at = 0;
  if (held != 0) {
    const size_t take = std::min(bytes.size(), 64 - held);
    std::memcpy(buffer_ + held, bytes.data(), take);
    at = take;
    held += take;
    if (held < 64) return;
    Transform(buffer_);
  }
  for (; at + 64 <= bytes.size(); at += 64) Transform(bytes.data() + at);
  if (at < bytes.size()) std::memcpy(buffer_, bytes.data() + at, bytes.size() - at);
}

Md5Digest Md5::Final() {
  const uint64_t bits = length_ * 8;
  // A one bit, zeros up to 56 bytes into the last block, then the bit length.
  uint8_t pad[72] = {0x80};
  const size_t held = static_cast<size_t>(length_ % 64);
  const size_t padLength = held < 56 ? 56 - held : 120 - held;
  Update({pad, padLength});
  uint8_t lengthBytes[8];
  StoreLe32(lengthBytes, static_cast<uint32_t>(bits));
  StoreLe32(lengthBytes + 4, static_cast<uint32_t>(bits >> 32));
  Update(lengthBytes);
  Md5Digest digest;
  for (int k = 0; k < 4; ++k) StoreLe32(digest.data() + 4 * k, state_[k]);
  return digest;
}

Md5Digest ComputeMd5(std::span<const uint8_t> bytes) {
  Md5 md5;
  md5.Update(bytes);
  return md5.Final();
}

}  // namespace folders
