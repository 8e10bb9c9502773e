// Schnorr-type signing over the content's SHA-0 chaining words.
#include "tools/zepbase/Signer.h"

#include <cstring>

#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/SignatureScheme.h"
#include "scanner/virusbase/SignatureTrailer.h"
#include "scanner/virusbase/SixBitCode.h"

namespace zepbase {

Signer::Signer(const PrivateKey& key) : key_(key), p_(MakeModulus(key.p)), q_(MakeModulus(key.q)) {
  publicKey_ = PublicKeyStructure(key_);
  group_ = PublicGroup(key_, table_);
}

void Signer::UseFixedNonce(const Number512& k) {
  fixedK_ = k;
  fixedR_ = scanner::Number512ToBytes(ModPow(key_.g, k, p_));
}

std::vector<uint8_t> Signer::SignatureBlock(std::span<const uint8_t> content) {
  const scanner::ChainingWords words = scanner::HashContent(content);
  const Number512 k = fixedK_ ? *fixedK_ : RandomBelow(key_.q, random_);
  const std::array<uint8_t, 64> r =
      fixedK_ ? fixedR_ : scanner::Number512ToBytes(ModPow(key_.g, k, p_));
  const std::array<uint8_t, 20> digest = scanner::ChallengeDigest(words, key_.identifier, r);
  const Number512 e = scanner::Number512FromBytes({digest.data(), scanner::kCheckValueSize});

  // s = k - x * e mod q
  const Number512 xe = ModMul(key_.x, e, q_);
  Number512 s = k;
  if (scanner::SubtractInPlace(s, xe) != 0) {
    // Borrow: add q back (the sum wraps to the right value below q).
    uint32_t carry = 0;
    for (int i = 0; i < scanner::kDigits512; ++i) {
      const uint32_t v = uint32_t{s[i]} + key_.q[i] + carry;
      s[i] = static_cast<uint16_t>(v);
      carry = v >> 16;
    }
  }

  uint8_t value[scanner::kSignatureValueSize];
  const auto sBytes = scanner::Number512ToBytes(s);
  std::memcpy(value, sBytes.data(), scanner::kResponseSize);
  std::memcpy(value + scanner::kResponseSize, digest.data(), scanner::kCheckValueSize);
  const std::string text = scanner::EncodeSixBit(value);

  std::vector<uint8_t> block(scanner::kBlockSize);
  std::memcpy(block.data(), scanner::kBlockPrefix, sizeof scanner::kBlockPrefix);
  std::memcpy(block.data() + scanner::kBlockSignerOffset, key_.identifier.data(),
              scanner::kBlockSignerSize);
  std::memcpy(block.data() + scanner::kBlockValueOffset, text.data(), scanner::kBlockValueSize);
  block[scanner::kBlockEndOffset] = scanner::kBlockEndMark;
  block[scanner::kBlockEndOffset + 1] = scanner::kBlockEndMark;
  return block;
}

std::vector<uint8_t> Signer::Sign(std::span<const uint8_t> content) {
  std::vector<uint8_t> out(content.begin(), content.end());
  const std::vector<uint8_t> block = SignatureBlock(content);
  out.insert(out.end(), block.begin(), block.end());
  return out;
}

}  // namespace zepbase
