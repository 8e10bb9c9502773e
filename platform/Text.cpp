// UTF conversions and simple case mapping, written out so that invalid input
// has one defined result everywhere.
#include "platform/Text.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes one sequence at text[i]; advances i past it (a malformed sequence
// consumes its lead byte and any continuation bytes that were valid so far).
char32_t DecodeUtf8(std::string_view text, size_t& i) {
  const auto b0 = static_cast<uint8_t>(text[i++]);
  if (b0 < 0x80) return b0;
  int extra;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto b = static_cast<uint8_t>(text[i]);
    if ((b & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

// Utf8SequenceStart: the cut moved back over continuation bytes, so that it
// lands on the start of a sequence.
size_t Utf8SequenceStart(std::string_view text, size_t cut) {
  size_t pos = cut;
  while (pos > 0 && (static_cast<uint8_t>(text[pos]) & 0xC0) == 0x80) --pos;
  return pos;
}

struct CaseRange {
  char16_t upperFirst;
  char16_t upperLast;
  int16_t delta;  // lower = upper + delta
  bool alternating;  // upper and lower alternate (even upper, odd lower)
};

constexpr CaseRange kCaseRanges[] = {
    {u'A', u'Z', 32, false},
    {0x00C0, 0x00D6, 32, false},
    {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},
    {0x0132, 0x0137, 1, true},
    {0x0139, 0x0148, 1, true},  // capitals on odd units here
    {0x014A, 0x0177, 1, true},
    {0x0391, 0x03A1, 32, false},
    {0x03A3, 0x03AB, 32, false},
    {0x0400, 0x040F, 80, false},
    {0x0410, 0x042F, 32, false},
    {0x0460, 0x0481, 1, true},
    {0x048A, 0x04BF, 1, true},
    {0x04D0, 0x04FF, 1, true},
};

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

size_t FieldLength(const char16_t* field, size_t n) {
  size_t len = 0;
  while (len < n && field[len] != 0) ++len;
  return len;
}

size_t FieldLength(const char* field, size_t n) {
  size_t len = 0;
  while (len < n && field[len] != 0) ++len;
  return len;
}

size_t CopyToField(char16_t* field, size_t n, std::u16string_view text) {
  if (n == 0) return 0;
  size_t len = text.size() < n - 1 ? text.size() : n - 1;
  // Do not leave the lead half of a surrogate pair at the end.
  if (len < text.size() && len > 0 && text[len - 1] >= 0xD800 && text[len - 1] <= 0xDBFF) --len;
  for (size_t i = 0; i < len; ++i) field[i] = text[i];
  for (size_t i = len; i < n; ++i) field[i] = 0;
  return len;
}

size_t CopyToField(char* field, size_t n, std::string_view text) {
  if (n == 0) return 0;
  size_t len = text.size() < n - 1 ? text.size() : n - 1;
  if (len < text.size()) len = Utf8SequenceStart(text, len);
  for (size_t i = 0; i < len; ++i) field[i] = text[i];
  for (size_t i = len; i < n; ++i) field[i] = 0;
  return len;
}

char16_t ToLower(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  for (const auto& r : kCaseRanges) {
    if (c < r.upperFirst || c > r.upperLast) continue;
    if (!r.alternating) return static_cast<char16_t>(c + r.delta);
    // In alternating ranges the capital is the member with the same parity
    // as the range's first unit.
    if ((c - r.upperFirst) % 2 == 0) return static_cast<char16_t>(c + 1);
    return c;
  }
  return c;
}

char16_t ToUpper(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  for (const auto& r : kCaseRanges) {
    if (!r.alternating) {
      const int first = r.upperFirst + r.delta;
      const int last = r.upperLast + r.delta;
      if (c >= first && c <= last) return static_cast<char16_t>(c - r.delta);
      continue;
    }
    if (c <= r.upperFirst || c > r.upperLast) continue;
    if ((c - r.upperFirst) % 2 == 1) return static_cast<char16_t>(c - 1);
    return c;
  }
  return c;
}

std::u16string ToLower(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = ToLower(c);
  return out;
}

std::u16string ToUpper(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = ToUpper(c);
  return out;
}

std::string ToLower(std::string_view utf8) { return Utf16ToUtf8(ToLower(Utf8ToUtf16(utf8))); }

std::string ToUpper(std::string_view utf8) { return Utf16ToUtf8(ToUpper(Utf8ToUtf16(utf8))); }

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ToLower(a[i]) != ToLower(b[i])) return false;
  return true;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return EqualsIgnoreCase(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

namespace {
template <typename Char>
std::basic_string_view<Char> TrimImpl(std::basic_string_view<Char> text) {
  auto space = [](Char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t b = 0, e = text.size();
  while (b < e && space(text[b])) ++b;
  while (e > b && space(text[e - 1])) --e;
  return text.substr(b, e - b);
}
}  // namespace

std::string_view Trim(std::string_view text) { return TrimImpl(text); }
std::u16string_view Trim(std::u16string_view text) { return TrimImpl(text); }

}  // namespace platform
