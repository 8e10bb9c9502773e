// GUIDs: class, interface and library identifiers, their text form and comparison.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::com {

// GUID: the Windows layout, 16 bytes; the first three fields in host order.
struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  uint8_t Data4[8] = {};

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
static_assert(sizeof(GUID) == 16);

using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const GUID&;
using REFIID = const GUID&;

inline constexpr GUID GUID_NULL{};

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
  return a == b;
}

// ParseGuid: reads the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
// (hexadecimal digits in either case; the braces may be left out). Anything
// else, including surrounding spaces, is refused: false and *out untouched.
bool ParseGuid(std::string_view text, GUID* out);

// FormatGuid: the registry form, braces and upper-case digits, as Windows
// writes class identifiers.
std::string FormatGuid(REFGUID guid);

// MakeGuid: a GUID from its text at compile time; a malformed literal does
// not compile.
consteval GUID MakeGuid(const char (&text)[39]) {
  auto hex = [](char c) -> uint32_t {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    throw "not a hexadecimal digit";
  };
  if (text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
      text[24] != '-')
    throw "not a GUID";
  auto field = [&](int from, int digits) {
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) v = v * 16 + hex(text[from + i]);
    return v;
  };
  GUID g;
  g.Data1 = field(1, 8);
  g.Data2 = static_cast<uint16_t>(field(10, 4));
  g.Data3 = static_cast<uint16_t>(field(15, 4));
  g.Data4[0] = static_cast<uint8_t>(field(20, 2));
  g.Data4[1] = static_cast<uint8_t>(field(22, 2));
  for (int i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<uint8_t>(field(25 + 2 * i, 2));
  return g;
}

}  // namespace platform::com
