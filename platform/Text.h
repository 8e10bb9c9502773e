// Text conversions: UTF-8 ⇄ UTF-16, fixed-size text fields, and letter case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Utf8ToUtf16: decodes UTF-8; every malformed, overlong, surrogate or
// out-of-range sequence becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Utf16ToUtf8: encodes UTF-16; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// FieldLength: the number of units before the first terminator, at most n.
size_t FieldLength(const char16_t* field, size_t n);
size_t FieldLength(const char* field, size_t n);

// CopyToField: copies text into a fixed field of n units, truncating to n - 1
// units and always terminating; the rest of the field is zero-filled. A UTF-8
// cut never splits a sequence and a UTF-16 cut never splits a surrogate pair.
// Returns the number of units copied (without the terminator).
size_t CopyToField(char16_t* field, size_t n, std::u16string_view text);
size_t CopyToField(char* field, size_t n, std::string_view text);

template <size_t N>
size_t CopyToField(char16_t (&field)[N], std::u16string_view text) {
  return CopyToField(field, N, text);
}
template <size_t N>
size_t CopyToField(char (&field)[N], std::string_view text) {
  return CopyToField(field, N, text);
}

// FieldText: the text held in a fixed field, up to its terminator.
template <size_t N>
std::u16string_view FieldText(const char16_t (&field)[N]) {
  return {field, FieldLength(field, N)};
}
template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return {field, FieldLength(field, N)};
}

// ToLower / ToUpper: simple one-to-one letter case mapping for Latin (ASCII,
// Latin-1, Latin Extended-A), Greek and Cyrillic letters; other units are
// returned unchanged. Comparisons fold a copy, never the original name.
char16_t ToLower(char16_t c);
char16_t ToUpper(char16_t c);
std::u16string ToLower(std::u16string_view text);
std::u16string ToUpper(std::u16string_view text);
std::string ToLower(std::string_view utf8);
std::string ToUpper(std::string_view utf8);

// EqualsIgnoreCase: compares two texts after ToLower.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Trim: the text without leading and trailing spaces, tabs and line breaks.
std::string_view Trim(std::string_view text);
std::u16string_view Trim(std::u16string_view text);

}  // namespace platform
