// Parsing of cedb's PROP arguments into properties.
#include "tools/cedb/PropArgument.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

#include "platform/Text.h"

namespace cedb {
namespace {

using platform::PropertyValue;

struct TypeEntry {
  const char* name;
  uint16_t type;
};

constexpr TypeEntry kTypes[] = {
    {"i2", platform::CEVT_I2},
    {"ui2", platform::CEVT_UI2},
    {"i4", platform::CEVT_I4},
    {"ui4", platform::CEVT_UI4},
    {"bool", platform::CEVT_BOOL},
    {"r8", platform::CEVT_R8},
    {"filetime", platform::CEVT_FILETIME},
    {"text", platform::CEVT_LPWSTR},
    {"blob", platform::CEVT_BLOB},
};

// Unsigned: a decimal or 0x hex number up to max, without sign.
std::optional<uint64_t> Unsigned(std::string_view text, uint64_t max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

// Signed: a decimal number that fits `bits` bits with its sign, or a 0x hex
// bit pattern of at most `bits` bits.
std::optional<int64_t> Signed(std::string_view text, int bits) {
  const uint64_t mask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    auto v = Unsigned(text, mask);
    if (!v) return std::nullopt;
    // Sign-extend the pattern so that 0xFFFF as i2 is -1.
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>((*v ^ sign) - sign);
  }
  if (text.empty() || text[0] == '+') return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const int64_t low = -(int64_t{1} << (bits - 1));
  const int64_t high = (int64_t{1} << (bits - 1)) - 1;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<std::vector<uint8_t>> HexBytes(std::string_view digits) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (digits.size() % 2) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(digits.size() / 2);
  for (size_t i = 0; i < digits.size(); i += 2) {
    int hi = nibble(digits[i]), lo = nibble(digits[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  return out;
}

bool ReadHostFile(const std::string& path, std::vector<uint8_t>* out) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  out->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

bool Bad(std::string* message, std::string_view text, std::string_view reason) {
  *message = "bad property \"" + std::string(text) + "\": " + std::string(reason);
  return false;
}

}  // namespace

const char* TypeName(uint16_t type) {
  for (const auto& t : kTypes)
    if (t.type == type) return t.name;
  return "?";
}

bool ParsePropArgument(std::string_view text, PropertyValue* out, std::string* message) {
  const size_t colon = text.find(':');
  const size_t equals = text.find('=');
  if (colon == std::string_view::npos || equals == std::string_view::npos || equals < colon)
    return Bad(message, text, "expected ID:TYPE=VALUE, e.g. 1:i4=42");
  auto id = Unsigned(text.substr(0, colon), std::numeric_limits<uint16_t>::max());
  if (!id) return Bad(message, text, "the ID must be a number from 0 to 65535 (decimal or 0x hex)");
  const std::string_view typeName = text.substr(colon + 1, equals - colon - 1);
  const std::string_view value = text.substr(equals + 1);
  std::optional<uint16_t> type;
  for (const auto& t : kTypes)
    if (typeName == t.name) type = t.type;
  if (!type)
    return Bad(message, text,
               "unknown type (use i2, ui2, i4, ui4, bool, r8, filetime, text or blob)");

  *out = PropertyValue();
  out->propid = platform::MakePropId(static_cast<uint16_t>(*id), *type);
  switch (*type) {
    case platform::CEVT_I2:
    case platform::CEVT_I4: {
      auto v = Signed(value, *type == platform::CEVT_I2 ? 16 : 32);
      if (!v)
        return Bad(message, text, "the value is not a number that fits " + std::string(typeName));
      out->number = *v;
      return true;
    }
    case platform::CEVT_UI2:
    case platform::CEVT_UI4:
    case platform::CEVT_FILETIME: {
      const uint64_t max = *type == platform::CEVT_UI2   ? 0xFFFF
                           : *type == platform::CEVT_UI4 ? 0xFFFFFFFF
                                                         : ~uint64_t{0};
      auto v = Unsigned(value, max);
      if (!v)
        return Bad(message, text, "the value is not a number that fits " + std::string(typeName));
      out->number = static_cast<int64_t>(*v);
      return true;
    }
    case platform::CEVT_BOOL:
      if (value != "0" && value != "1") return Bad(message, text, "a bool is 0 or 1");
      out->number = value == "1";
      return true;
    case platform::CEVT_R8: {
      double v = 0;
      auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
      if (value.empty() || ec != std::errc() || end != value.data() + value.size())
        return Bad(message, text, "the value is not a number");
      out->real = v;
      return true;
    }
    case platform::CEVT_LPWSTR:
      out->text = platform::Utf8ToUtf16(value);
      // Malformed UTF-8 would come back changed; refuse it rather than store
      // replacement characters.
      if (platform::Utf16ToUtf8(out->text) != value)
        return Bad(message, text, "the text is not valid UTF-8");
      return true;
    default:  // blob
      if (value.starts_with("@")) {
        const std::string path(value.substr(1));
        if (path.empty() || !ReadHostFile(path, &out->bytes))
          return Bad(message, text, "cannot read the file \"" + path + "\"");
        return true;
      }
      if (value.starts_with("hex:")) {
        auto bytes = HexBytes(value.substr(4));
        if (!bytes) return Bad(message, text, "hex: must be followed by whole hex bytes");
        out->bytes = std::move(*bytes);
        return true;
      }
      return Bad(message, text, "a blob is @FILE or hex:BYTES");
  }
}

}  // namespace cedb
