// Trailer, key and digest checks of a signed file.
#include "scanner/virusbase/CheckSignature.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Errors.h"
#include "platform/MappedFile.h"
#include "scanner/virusbase/SignatureScheme.h"
#include "scanner/virusbase/SignatureTrailer.h"
#include "scanner/virusbase/SixBitCode.h"

namespace scanner {

ChainingWords HashContent(std::span<const uint8_t> content) {
  Sha0 h;
  for (size_t at = 0; at < content.size(); at += Sha0::kMaxPiece)
    h.Update(content.subspan(at, std::min(Sha0::kMaxPiece, content.size() - at)));
  return h.Finish();
}

int CheckSignatureWith(std::span<const uint8_t> bytes, std::span<const uint8_t> keyBytes,
                       const GroupParameters& group, size_t* signedLength) {
  if (signedLength) *signedLength = bytes.size();
  if (bytes.size() <= kBlockSize) return kFileTooShort;

  const Trailer trailer = FindTrailer(bytes);
  if (trailer.blockCount > 0 && signedLength) *signedLength = trailer.start;

  VerificationKey key;
  if (const int r = ParseVerificationKey(keyBytes, key); r != 0) return r;
  if (group.powersOfG.size() != kPowersOfGSize) return kKeyMalformed;

  // A trailer longer than the format provides for is a damaged file.
  if (trailer.blockCount == 0 || trailer.blockCount > kMaxTrailerBlocks) return kNoTrailer;
  const uint8_t* block = nullptr;
  for (size_t i = 0; i < trailer.blockCount && block == nullptr; ++i) {
    const uint8_t* b = bytes.data() + trailer.start + i * kBlockSize;
    if (std::memcmp(b + kBlockSignerOffset, key.identifier.data(), kBlockSignerSize) == 0)
      block = b;
  }
  if (block == nullptr) return kNoTrailer;

  uint8_t value[kSignatureValueSize] = {};
  const std::vector<uint8_t> decoded =
      DecodeSixBit({reinterpret_cast<const char*>(block + kBlockValueOffset), kBlockValueSize},
                   kSignatureValueSize);
  std::copy(decoded.begin(), decoded.end(), value);

  const ChainingWords content = HashContent(bytes.first(trailer.start));
  const std::array<uint8_t, 64> r = ComputeCommitment(
      std::span<const uint8_t, kResponseSize>(value, kResponseSize),
      std::span<const uint8_t, kCheckValueSize>(value + kResponseSize, kCheckValueSize), key,
      group);
  const std::array<uint8_t, 20> digest = ChallengeDigest(content, key.identifier, r);
  return std::memcmp(digest.data(), value + kResponseSize, kCheckValueSize) == 0
             ? kSignatureGenuine
             : kSignatureInvalid;
}

int CheckSignature(std::span<const uint8_t> bytes) {
  return CheckSignatureWith(bytes, BuiltinKey(), BuiltinGroup());
}

int CheckSignature(const std::string& path) {
  platform::MappedFile file;
  if (const uint32_t code = file.Open(path); code != 0) return static_cast<int>(code);
  return CheckSignature(file.bytes());
}

const char* SignatureResultText(int result) {
  switch (result) {
    case kSignatureGenuine:
      return "genuine";
    case kSignatureInvalid:
      return "a block carries the key's identifier but does not verify";
    case kKeyMalformed:
      return "the built-in key is malformed";
    case kCheckNoMemory:
      return "memory for the check cannot be had";
    case kKeyVersionTooHigh:
      return "the key's version is above 1";
    case kNoKey:
      return "no key available";
    case kNoTrailer:
      return "no trailer, or no block with the key's identifier";
    case kFileTooShort:
      return "the file is 64 bytes long or shorter";
    default:
      break;
  }
  return result > 0 ? platform::ErrorText(static_cast<uint32_t>(result)) : "unknown result";
}

}  // namespace scanner
