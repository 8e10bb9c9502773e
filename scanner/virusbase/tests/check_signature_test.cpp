// Every result of the signature check, the trailer search, and the full-digest binding.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Errors.h"
#include "platform/testing/TempFolder.h"
#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/SignatureScheme.h"
#include "scanner/virusbase/SignatureTrailer.h"
#include "scanner/virusbase/tests/TestBase.h"

namespace scanner {
namespace {

using testing::DemoSigner;

std::vector<uint8_t> Content(size_t n, uint8_t seed = 1) {
  std::vector<uint8_t> c(n);
  for (size_t i = 0; i < n; ++i) c[i] = static_cast<uint8_t>(seed + i * 7);
  return c;
}

std::vector<uint8_t> Block(std::string_view signer) {
  std::vector<uint8_t> b(64, '0');
  std::memcpy(b.data(), kBlockPrefix, 4);
  std::memcpy(b.data() + 4, signer.data(), std::min<size_t>(22, signer.size()));
  b[62] = b[63] = 0xAD;
  return b;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CheckSignature, SignedContentIsGenuine) {
  for (size_t n : {1u, 63u, 64u, 1000u, 0x7000u * 2 + 5}) {
    EXPECT_EQ(CheckSignature(DemoSigner().Sign(Content(n))), kSignatureGenuine) << n;
  }
}

TEST(CheckSignature, FilesOf64BytesOrLessAreTooShort) {
  EXPECT_EQ(CheckSignature(Content(64)), kFileTooShort);
  EXPECT_EQ(CheckSignature(Block("x")), kFileTooShort);
  EXPECT_EQ(CheckSignature(Content(65)), kNoTrailer);
}

TEST(CheckSignature, ChangedOrExtendedFilesFail) {
  const auto genuine = DemoSigner().Sign(Content(500));
  auto lastByte = genuine;
  lastByte.back() ^= 0x01;  // the end mark is broken: no trailer
  EXPECT_EQ(CheckSignature(lastByte), kNoTrailer);

  auto appended = genuine;
  appended.push_back('x');
  EXPECT_EQ(CheckSignature(appended), kNoTrailer);

  auto content = genuine;
  content[10] ^= 0x80;
  EXPECT_EQ(CheckSignature(content), kSignatureInvalid);

  auto value = genuine;
  value[value.size() - 64 + kBlockValueOffset] ^= 1;  // '0'..'9' stay in the alphabet
  EXPECT_EQ(CheckSignature(value), kSignatureInvalid);
}

TEST(CheckSignature, BlocksOfOtherSignersAreSkipped) {
  const auto content = Content(300);
  const auto own = DemoSigner().SignatureBlock(content);
  EXPECT_EQ(CheckSignature(Concat(Concat(content, Block("Somebody Else 1")), own)), 0);
  EXPECT_EQ(CheckSignature(Concat(content, Block("Somebody Else 1"))), kNoTrailer);
  // Blocks after the trailer's own still leave it ending the file.
  EXPECT_EQ(CheckSignature(Concat(Concat(content, own), Block("Another Signer"))), 0);
}

TEST(CheckSignature, TrailerOfMoreThanTwentyBlocksIsDamaged) {
  const auto content = Content(300);
  std::vector<uint8_t> others;
  for (int i = 0; i < 19; ++i) others = Concat(others, Block("Another Signer"));
  const auto own = DemoSigner().SignatureBlock(Concat(content, {}));
  EXPECT_EQ(CheckSignature(Concat(Concat(content, others), own)), 0);  // 20 blocks
  others = Concat(others, Block("Another Signer"));
  EXPECT_EQ(CheckSignature(Concat(Concat(content, others), own)), kNoTrailer);  // 21 blocks
}

TEST(CheckSignature, SearchRestartsAfterAFailedCandidate) {
  // A prefix in the content whose block is broken must not hide the trailer.
  auto content = Content(300);
  std::memcpy(content.data() + 100, kBlockPrefix, 4);
  EXPECT_EQ(CheckSignature(DemoSigner().Sign(content)), 0);

  // A complete block in the middle of the content is forgotten at the next
  // failed candidate.
  content = Concat(Concat(Content(100), Block("Quillmark Lab ZEP PPC K1")), Content(77));
  EXPECT_EQ(CheckSignature(DemoSigner().Sign(content)), 0);
  const Trailer t = FindTrailer(DemoSigner().Sign(content));
  EXPECT_EQ(t.start, content.size());
  EXPECT_EQ(t.blockCount, 1u);
}

TEST(CheckSignature, KeyProblemsComeBeforeTheTrailerSearchResult) {
  const auto genuine = DemoSigner().Sign(Content(200));
  const auto& group = BuiltinGroup();
  std::vector<uint8_t> key(BuiltinKey().begin(), BuiltinKey().end());
  EXPECT_EQ(CheckSignatureWith(genuine, key, group), 0);
  EXPECT_EQ(CheckSignatureWith(genuine, {}, group), kNoKey);
  EXPECT_EQ(CheckSignatureWith(Content(200), {}, group), kNoKey);
  key[50] ^= 1;
  EXPECT_EQ(CheckSignatureWith(genuine, key, group), kKeyMalformed);
  key[50] ^= 1;
  key[kKeyVersionOffset] = 5;
  const uint32_t sum = KeyChecksum(key);
  for (int i = 0; i < 4; ++i) key[i] = static_cast<uint8_t>(sum >> (8 * i));
  EXPECT_EQ(CheckSignatureWith(genuine, key, group), kKeyVersionTooHigh);
}

TEST(CheckSignature, ReportsTheSignedLength) {
  const auto content = Content(333);
  size_t signedLength = 0;
  EXPECT_EQ(
      CheckSignatureWith(DemoSigner().Sign(content), BuiltinKey(), BuiltinGroup(), &signedLength),
      0);
  EXPECT_EQ(signedLength, content.size());
}

TEST(CheckSignature, ChallengeBindsEveryBitOfTheContentDigest) {
  // Only the top byte of each word used to seed the challenge; now the low
  // bytes count as well, so content digests that share top bytes differ.
  const ChainingWords words = {0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF00u, 0x01020304u};
  const std::array<uint8_t, 64> r{};
  const auto base = ChallengeDigest(words, "Quillmark Lab ZEP PPC K1", r);
  for (int w = 0; w < 5; ++w) {
    ChainingWords low = words;
    low[w] ^= 0x00000001u;
    EXPECT_NE(ChallengeDigest(low, "Quillmark Lab ZEP PPC K1", r), base) << w;
  }
}

TEST(CheckSignature, FromAPath) {
  platform::testing::TempFolder dir{"virusbase"};
  EXPECT_EQ(CheckSignature(dir.Write("good.zvb", DemoSigner().Sign(Content(100)))), 0);
  EXPECT_EQ(CheckSignature(dir.Write("bad.zvb", Content(100))), kNoTrailer);
  EXPECT_EQ(CheckSignature(dir.Path("missing.zvb")),
            static_cast<int>(platform::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(CheckSignature(dir.Write("empty.zvb", "")),
            static_cast<int>(platform::ERROR_FILE_INVALID));
}

}  // namespace
}  // namespace scanner
