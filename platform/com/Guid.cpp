// Text form of GUIDs.
#include "platform/com/Guid.h"

#include <cstdio>

namespace platform::com {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Field(std::string_view text, size_t from, size_t digits, uint32_t* out) {
  uint32_t v = 0;
  for (size_t i = 0; i < digits; ++i) {
    const int d = HexDigit(text[from + i]);
    if (d < 0) return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  *out = v;
  return true;
}

}  // namespace

bool ParseGuid(std::string_view text, GUID* out) {
  if (text.size() == 38) {
    if (text.front() != '{' || text.back() != '}') return false;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return false;
  if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return false;
  GUID g;
  uint32_t v = 0;
  if (!Field(text, 0, 8, &g.Data1)) return false;
  if (!Field(text, 9, 4, &v)) return false;
  g.Data2 = static_cast<uint16_t>(v);
  if (!Field(text, 14, 4, &v)) return false;
  g.Data3 = static_cast<uint16_t>(v);
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = i < 2 ? 19 + 2 * i : 24 + 2 * (i - 2);
    if (!Field(text, at, 2, &v)) return false;
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  *out = g;
  return true;
}

std::string FormatGuid(REFGUID g) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

}  // namespace platform::com
