// The 6-bit text coding of signature values and text-form keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace scanner {

// The alphabet; a character's position is its 6-bit value.
inline constexpr char kSixBitAlphabet[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";

// DecodeSixBit: decodes text into at most maxBytes bytes. Groups are packed from
// the least significant bit up and a byte is emitted whenever 8 bits are
// pending; the first character outside the alphabet ends the decoding.
std::vector<uint8_t> DecodeSixBit(std::string_view text, size_t maxBytes);

// EncodeSixBit: the inverse for producers: ceil(8n / 6) characters, the last
// group padded with zero bits.
std::string EncodeSixBit(std::span<const uint8_t> bytes);

}  // namespace scanner
