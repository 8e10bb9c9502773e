// Text lines for the properties of a record's read buffer.
#include "tools/cedb/RecordText.h"

#include <bit>
#include <charconv>
#include <cstring>

#include "platform/ObjectStore.h"
#include "platform/Text.h"
#include "tools/cedb/PropArgument.h"

namespace cedb {
namespace {

using namespace platform;

constexpr size_t kBlobBytesShown = 16;

std::string HexByte(uint8_t b) {
  static const char kDigits[] = "0123456789ABCDEF";
  return {kDigits[b >> 4], kDigits[b & 15]};
}

std::string Real(double v) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, v);
  return ec == std::errc() ? std::string(text, end) : std::string("?");
}

// ValueText: the value of one property, or "(damaged)" when it points
// outside the buffer.
std::string ValueText(std::span<const uint8_t> buffer, const PropertyHeader& h) {
  const uint64_t wide = uint64_t{h.extra} << 32 | h.value;
  switch (h.propid & 0xFFFF) {
    case CEVT_I2:
      return std::to_string(static_cast<int16_t>(h.value));
    case CEVT_UI2:
      return std::to_string(static_cast<uint16_t>(h.value));
    case CEVT_I4:
    case CEVT_BOOL:
      return std::to_string(static_cast<int32_t>(h.value));
    case CEVT_UI4:
      return std::to_string(h.value);
    case CEVT_FILETIME:
      return std::to_string(wide);
    case CEVT_R8:
      return Real(std::bit_cast<double>(wide));
    case CEVT_LPWSTR: {
      std::u16string text;
      for (size_t at = h.value;; at += 2) {
        if (at + 1 >= buffer.size()) return "(damaged)";
        char16_t c = static_cast<char16_t>(buffer[at] | buffer[at + 1] << 8);
        if (c == 0) break;
        text.push_back(c);
      }
      return Utf16ToUtf8(text);
    }
    case CEVT_BLOB: {
      if (uint64_t{h.extra} + h.value > buffer.size()) return "(damaged)";
      std::string out = "[" + std::to_string(h.value) + " bytes]";
      for (size_t i = 0; i < h.value && i < kBlobBytesShown; ++i)
        out += " " + HexByte(buffer[h.extra + i]);
      if (h.value > kBlobBytesShown) out += " ...";
      return out;
    }
    default:
      return "(unknown type)";
  }
}

}  // namespace

std::vector<std::string> DescribeRecord(std::span<const uint8_t> buffer, uint16_t count) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < count; ++i) {
    if ((i + 1) * sizeof(PropertyHeader) > buffer.size()) {
      lines.push_back("(damaged)");
      break;
    }
    PropertyHeader h;
    std::memcpy(&h, buffer.data() + i * sizeof h, sizeof h);
    lines.push_back(std::to_string(h.propid >> 16) + ":" +
                    TypeName(static_cast<uint16_t>(h.propid & 0xFFFF)) + "=" +
                    ValueText(buffer, h));
  }
  return lines;
}

}  // namespace cedb
