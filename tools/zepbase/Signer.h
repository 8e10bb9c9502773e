// Signing a base's content: one trailer block for the producer's key.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "scanner/virusbase/VerificationKey.h"
#include "tools/zepbase/PrivateKey.h"

namespace zepbase {

// Signer: signs content with a private key, in the scheme the scanner checks.
class Signer {
 public:
  explicit Signer(const PrivateKey& key);

  // SignatureBlock: the 64-byte trailer block for content.
  std::vector<uint8_t> SignatureBlock(std::span<const uint8_t> content);

  // Sign: content followed by its trailer block.
  std::vector<uint8_t> Sign(std::span<const uint8_t> content);

  // UseFixedNonce: signs every content with the same k from now on (R is
  // computed once). For fuzzing and tests only: two signatures with one k give
  // the private key away.
  void UseFixedNonce(const Number512& k);

  // publicKey / group: what a verifier of this key needs.
  const std::vector<uint8_t>& publicKey() const { return publicKey_; }
  const scanner::GroupParameters& group() const { return group_; }

 private:
  PrivateKey key_;
  Modulus p_, q_;
  Random random_;
  std::vector<uint8_t> publicKey_;
  std::vector<uint8_t> table_;
  scanner::GroupParameters group_;
  std::optional<Number512> fixedK_;
  std::array<uint8_t, 64> fixedR_{};
};

}  // namespace zepbase
