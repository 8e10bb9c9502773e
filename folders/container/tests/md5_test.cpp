// MD5 against the RFC 1321 test suite and block-boundary lengths, whole and in pieces.
#include "folders/container/Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace folders {
namespace {

std::string Hex(const Md5Digest& d) {
  std::string out;
  char two[3];
  for (uint8_t b : d) {
    std::snprintf(two, sizeof two, "%02x", b);
    out += two;
  }
  return out;
}

std::span<const uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

struct KnownDigest {
  std::string message;
  const char* digest;
};

// The seven messages of RFC 1321, A.5, then lengths around the 56-byte
// padding limit and the 64-byte block, and the long message of one million
// "a" (digests from an independent implementation).
const KnownDigest kKnown[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
     "0",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
    {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
    {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
    {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
};

// PrintTo: names a case by its length, not by the bytes of its message.
void PrintTo(const KnownDigest& known, std::ostream* out) {
  *out << known.message.size() << " bytes";
}

class Md5Known : public ::testing::TestWithParam<KnownDigest> {};

TEST_P(Md5Known, WholeMessageGivesKnownDigest) {
  EXPECT_EQ(Hex(ComputeMd5(Bytes(GetParam().message))), GetParam().digest);
}

TEST_P(Md5Known, MessageFedInUnevenPiecesGivesSameDigest) {
  const std::string& m = GetParam().message;
  Md5 md5;
  // Pieces of 1, 2, 3, ... bytes cross every block boundary at a new offset;
  // an empty piece (with no data pointer) between them adds nothing.
  for (size_t at = 0, piece = 1; at < m.size(); at += piece, ++piece) {
    md5.Update(Bytes(std::string_view(m).substr(at, piece)));
    md5.Update({});
  }
  EXPECT_EQ(Hex(md5.Final()), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(Rfc1321, Md5Known, ::testing::ValuesIn(kKnown));

}  // namespace
}  // namespace folders
