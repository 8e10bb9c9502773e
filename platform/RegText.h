// The bytes of registry text values in each store's encoding.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegStore.h"

namespace platform {

// RegTerminator: whether a text value is stored with its terminating NUL.
// Both forms are legal and kept as written; readers accept either.
enum class RegTerminator { Include, Omit };

// EncodeRegText: the bytes of a text value: UTF-16LE in the device store,
// UTF-8 in the desktop store, with or without the terminator.
std::vector<uint8_t> EncodeRegText(RegStore store, std::string_view utf8, RegTerminator term);
std::vector<uint8_t> EncodeRegText(RegStore store, std::u16string_view text, RegTerminator term);

// DecodeRegText: the text of a value's bytes up to the first NUL (or all of
// them when there is none). An odd last byte in the device store is ignored.
std::string DecodeRegText(RegStore store, std::span<const uint8_t> bytes);
std::u16string DecodeRegText16(RegStore store, std::span<const uint8_t> bytes);

// DecodeRegTextExact: true when the bytes are exactly one text, without an
// inner NUL, optionally followed by one terminator, in valid encoding, so
// that EncodeRegText(store, *text, *term) gives the same bytes back.
bool DecodeRegTextExact(RegStore store, std::span<const uint8_t> bytes, std::string* text,
                        RegTerminator* term);

// EncodeRegMultiText / DecodeRegMultiText: REG_MULTI_SZ, each text with its
// terminator and one more at the end. Decoding stops at the first empty text.
std::vector<uint8_t> EncodeRegMultiText(RegStore store, const std::vector<std::string>& items);
std::vector<std::string> DecodeRegMultiText(RegStore store, std::span<const uint8_t> bytes);

}  // namespace platform
