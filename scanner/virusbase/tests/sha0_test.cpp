// SHA-0 against the published vectors, streaming and chosen starting words.
#include "scanner/virusbase/Sha0.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scanner/virusbase/CheckSignature.h"

namespace scanner {
namespace {

std::string Hex(const std::array<uint8_t, 20>& d) {
  static const char kHex[] = "0123456789abcdef";
  std::string s;
  for (uint8_t b : d) s += {kHex[b >> 4], kHex[b & 15]};
  return s;
}

std::string Sha0Hex(std::string_view text) {
  Sha0 h;
  h.Update({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  return Hex(Sha0::DigestBigEndian(h.Finish()));
}

TEST(Sha0, PublishedVectors) {
  EXPECT_EQ(Sha0Hex(""), "f96cea198ad1dd5617ac084a3d92c6107708c0ef");
  EXPECT_EQ(Sha0Hex("abc"), "0164b8a914cd2a5e74c4f7ff082c4d97f1edf880");
  EXPECT_EQ(Sha0Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "d2516ee1acfa5baf33dfc1c471e438449ef134c8");
  EXPECT_EQ(Sha0Hex(std::string(1000000, 'a')), "3232affa48628a26653b5aaa44541fd90d690603");
}

TEST(Sha0, PieceSizesDoNotChangeTheDigest) {
  std::vector<uint8_t> data(3 * Sha0::kMaxPiece + 123);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + 7);
  Sha0 whole;
  whole.Update(data);
  const ChainingWords expected = whole.Finish();
  for (size_t piece : {1u, 55u, 63u, 64u, 65u, 1000u}) {
    Sha0 h;
    for (size_t at = 0; at < data.size(); at += piece)
      h.Update(std::span(data).subspan(at, std::min(piece, data.size() - at)));
    EXPECT_EQ(h.Finish(), expected) << "piece " << piece;
  }
  EXPECT_EQ(HashContent(data), expected);
}

TEST(Sha0, EmptyPiecesChangeNothing) {
  // An empty vector's span has no data pointer; feeding it between bytes that
  // are still buffered must neither touch it nor change the digest.
  const std::vector<uint8_t> empty;
  const uint8_t abc[] = {'a', 'b', 'c'};
  Sha0 h;
  h.Update(std::span(abc).first(1));
  h.Update(empty);
  h.Update(std::span(abc).subspan(1));
  h.Update(empty);
  EXPECT_EQ(Hex(Sha0::DigestBigEndian(h.Finish())), "0164b8a914cd2a5e74c4f7ff082c4d97f1edf880");
}

TEST(Sha0, ChosenStartWordsBeginWithByteCountZero) {
  // Started from the standard words, the seeded hash is the ordinary one.
  Sha0 standard;
  const ChainingWords iv = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
  Sha0 seeded(iv);
  const uint8_t abc[] = {'a', 'b', 'c'};
  standard.Update(abc);
  seeded.Update(abc);
  EXPECT_EQ(seeded.Finish(), standard.Finish());

  ChainingWords other = iv;
  other[4] ^= 1;  // the lowest bit of the last word alone changes everything
  Sha0 changed(other);
  changed.Update(abc);
  Sha0 again(iv);
  again.Update(abc);
  EXPECT_NE(changed.Finish(), again.Finish());
}

}  // namespace
}  // namespace scanner
