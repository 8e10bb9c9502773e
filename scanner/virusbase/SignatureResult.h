// Result codes of the signature check and of the base loader.
#pragma once

namespace scanner {

// Results of CheckSignature (positive values are platform error codes).
inline constexpr int kSignatureGenuine = 0;
inline constexpr int kSignatureInvalid = -1001;   // a block has the key's identifier but fails
inline constexpr int kKeyMalformed = -1002;       // bad length, identifier length or checksum
inline constexpr int kCheckNoMemory = -1003;      // memory for the check cannot be had
inline constexpr int kKeyVersionTooHigh = -1004;  // key version above 1
inline constexpr int kNoKey = -1006;              // no key available
inline constexpr int kNoTrailer = -1014;          // no trailer, or no block with the identifier
inline constexpr int kFileTooShort = -1016;       // 64 bytes or fewer

// Results of LoadBase besides 0 and platform error codes.
inline constexpr int kLoadNotABase = -1;  // wrong format mark, or file end where a record is due
inline constexpr int kLoadBadSignature = -3;  // the signature check failed

// SignatureResultText: a short English meaning of a CheckSignature result, for
// tools; positive codes are described as platform errors.
const char* SignatureResultText(int result);

}  // namespace scanner
