// SHA-0 block function and streaming.
#include "scanner/virusbase/Sha0.h"

#include <algorithm>
#include <cstring>

namespace scanner {
namespace {

constexpr ChainingWords kInitial = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u,
                                    0xC3D2E1F0u};

inline uint32_t Rol(uint32_t v, int n) {
  return (v << n) | (v >> (32 - n));
}

inline uint32_t LoadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

Sha0::Sha0() : h_(kInitial) {}

Sha0::Sha0(const ChainingWords& start) : h_(start) {}

// Rounds are unrolled five at a time so that the working variables rotate by
// renaming instead of by moves; the schedule is kept in a 16-word ring.
#define SHA0_SCHEDULE(t) \
  (w[(t)&15] = w[((t)-3) & 15] ^ w[((t)-8) & 15] ^ w[((t)-14) & 15] ^ w[(t)&15])
#define SHA0_ROUND(a, b, c, d, e, f, k, wt) \
  do {                                      \
    e += Rol(a, 5) + (f) + (k) + (wt);      \
    b = Rol(b, 30);                         \
  } while (0)
#define SHA0_F1(b, c, d) (d ^ (b & (c ^ d)))
#define SHA0_F2(b, c, d) (b ^ c ^ d)
#define SHA0_F3(b, c, d) ((b & c) | (d & (b | c)))
#define SHA0_FIVE(F, K, t, W)                           \
  SHA0_ROUND(a, b, c, d, e, F(b, c, d), K, W((t) + 0)); \
  SHA0_ROUND(e, a, b, c, d, F(a, b, c), K, W((t) + 1)); \
  SHA0_ROUND(d, e, a, b, c, F(e, a, b), K, W((t) + 2)); \
  SHA0_ROUND(c, d, e, a, b, F(d, e, a), K, W((t) + 3)); \
  SHA0_ROUND(b, c, d, e, a, F(c, d, e), K, W((t) + 4))
#define SHA0_LOAD(t) (w[(t)&15])
#define SHA0_NEXT(t) SHA0_SCHEDULE(t)

void Sha0::Compress(const uint8_t* block) {
  uint32_t w[16];
  for (int t = 0; t < 16; ++t) w[t] = LoadBe32(block + 4 * t);
  uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
  // W[t] = W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16], without SHA-1's rotation.
  SHA0_FIVE(SHA0_F1, 0x5A827999u, 0, SHA0_LOAD);
  SHA0_FIVE(SHA0_F1, 0x5A827999u, 5, SHA0_LOAD);
  SHA0_FIVE(SHA0_F1, 0x5A827999u, 10, SHA0_LOAD);
  SHA0_ROUND(a, b, c, d, e, SHA0_F1(b, c, d), 0x5A827999u, SHA0_LOAD(15));
  SHA0_ROUND(e, a, b, c, d, SHA0_F1(a, b, c), 0x5A827999u, SHA0_NEXT(16));
  SHA0_ROUND(d, e, a, b, c, SHA0_F1(e, a, b), 0x5A827999u, SHA0_NEXT(17));
  SHA0_ROUND(c, d, e, a, b, SHA0_F1(d, e, a), 0x5A827999u, SHA0_NEXT(18));
  SHA0_ROUND(b, c, d, e, a, SHA0_F1(c, d, e), 0x5A827999u, SHA0_NEXT(19));
  SHA0_FIVE(SHA0_F2, 0x6ED9EBA1u, 20, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0x6ED9EBA1u, 25, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0x6ED9EBA1u, 30, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0x6ED9EBA1u, 35, SHA0_NEXT);
  SHA0_FIVE(SHA0_F3, 0x8F1BBCDCu, 40, SHA0_NEXT);
  SHA0_FIVE(SHA0_F3, 0x8F1BBCDCu, 45, SHA0_NEXT);
  SHA0_FIVE(SHA0_F3, 0x8F1BBCDCu, 50, SHA0_NEXT);
  SHA0_FIVE(SHA0_F3, 0x8F1BBCDCu, 55, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0xCA62C1D6u, 60, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0xCA62C1D6u, 65, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0xCA62C1D6u, 70, SHA0_NEXT);
  SHA0_FIVE(SHA0_F2, 0xCA62C1D6u, 75, SHA0_NEXT);
  h_[0] += a;
  h_[1] += b;
  h_[2] += c;
  h_[3] += d;
  h_[4] += e;
}

#undef SHA0_SCHEDULE
#undef SHA0_ROUND
#undef SHA0_F1
#undef SHA0_F2
#undef SHA0_F3
#undef SHA0_FIVE
#undef SHA0_LOAD
#undef SHA0_NEXT

void Sha0::Update(std::span<const uint8_t> bytes) {
  // An empty piece may carry no data pointer, which memcpy must never see.
  if (bytes.empty()) return;
  const uint8_t* p = bytes.data();
  size_t n = bytes.size();
  byteCount_ += n;
  if (buffered_ > 0) {
    const size_t take = std::min(n, sizeof buffer_ - buffered_);
    std::memcpy(buffer_ + buffered_, p, take);
    buffered_ += take;
    p += take;
    n -= take;
    if (buffered_ < sizeof buffer_) return;
    Compress(buffer_);
    buffered_ = 0;
  }
  for (; n >= 64; p += 64, n -= 64) Compress(p);
  if (n > 0) std::memcpy(buffer_, p, n);
  buffered_ = n;
}

ChainingWords Sha0::Finish() {
  const uint64_t bits = byteCount_ * 8;
  buffer_[buffered_++] = 0x80;
  if (buffered_ > 56) {
    std::memset(buffer_ + buffered_, 0, sizeof buffer_ - buffered_);
    Compress(buffer_);
    buffered_ = 0;
  }
  std::memset(buffer_ + buffered_, 0, 56 - buffered_);
  for (int i = 0; i < 8; ++i) buffer_[56 + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Compress(buffer_);
  buffered_ = 0;
  return h_;
}

std::array<uint8_t, 20> Sha0::DigestBigEndian(const ChainingWords& words) {
  std::array<uint8_t, 20> out{};
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) out[4 * i + j] = static_cast<uint8_t>(words[i] >> (24 - 8 * j));
  return out;
}

std::array<uint8_t, 20> Sha0::DigestLittleEndian(const ChainingWords& words) {
  std::array<uint8_t, 20> out{};
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) out[4 * i + j] = static_cast<uint8_t>(words[i] >> (8 * j));
  return out;
}

}  // namespace scanner
