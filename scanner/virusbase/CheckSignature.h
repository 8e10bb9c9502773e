// Verification of a base file's signature trailer against the built-in key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "scanner/virusbase/Sha0.h"
#include "scanner/virusbase/SignatureResult.h"
#include "scanner/virusbase/VerificationKey.h"

namespace scanner {

// CheckSignature: verifies the file at a host path. Returns 0 when genuine, a
// negative code of SignatureResult.h when not, or the platform error code (2,
// 5, 1006 for an empty file, ...) when the file cannot be opened or mapped.
// The mapping is released before returning.
int CheckSignature(const std::string& path);

// CheckSignature: the same check over bytes already in memory.
int CheckSignature(std::span<const uint8_t> bytes);

// CheckSignatureWith: the check with a given key and group. On 0, and whenever
// a trailer was found, *signedLength (when given) receives the length of the
// signed content (the offset of the trailer's first block); otherwise the
// whole length.
int CheckSignatureWith(std::span<const uint8_t> bytes, std::span<const uint8_t> key,
                       const GroupParameters& group, size_t* signedLength = nullptr);

// HashContent: the SHA-0 chaining words of signed content, fed in pieces of at
// most 0x7000 bytes.
ChainingWords HashContent(std::span<const uint8_t> content);

}  // namespace scanner
