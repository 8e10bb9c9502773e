// Encoding of registry text values.
#include "platform/RegText.h"

#include <algorithm>

#include "platform/Text.h"

namespace platform {
namespace {

void AppendUnits(std::vector<uint8_t>* out, std::u16string_view text) {
  for (char16_t c : text) {
    out->push_back(static_cast<uint8_t>(c & 0xFF));
    out->push_back(static_cast<uint8_t>(c >> 8));
  }
}

std::u16string Units(std::span<const uint8_t> bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return units;
}

}  // namespace

std::vector<uint8_t> EncodeRegText(RegStore store, std::string_view utf8, RegTerminator term) {
  std::vector<uint8_t> out;
  if (store == RegStore::Device) {
    AppendUnits(&out, Utf8ToUtf16(utf8));
    if (term == RegTerminator::Include) out.insert(out.end(), {0, 0});
  } else {
    out.assign(utf8.begin(), utf8.end());
    if (term == RegTerminator::Include) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> EncodeRegText(RegStore store, std::u16string_view text, RegTerminator term) {
  if (store == RegStore::Desktop) return EncodeRegText(store, Utf16ToUtf8(text), term);
  std::vector<uint8_t> out;
  AppendUnits(&out, text);
  if (term == RegTerminator::Include) out.insert(out.end(), {0, 0});
  return out;
}

std::u16string DecodeRegText16(RegStore store, std::span<const uint8_t> bytes) {
  if (store == RegStore::Desktop) return Utf8ToUtf16(DecodeRegText(store, bytes));
  std::u16string units = Units(bytes);
  if (size_t nul = units.find(u'\0'); nul != std::u16string::npos) units.resize(nul);
  return units;
}

std::string DecodeRegText(RegStore store, std::span<const uint8_t> bytes) {
  if (store == RegStore::Device) return Utf16ToUtf8(DecodeRegText16(store, bytes));
  std::string text(bytes.begin(), bytes.end());
  if (size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

bool DecodeRegTextExact(RegStore store, std::span<const uint8_t> bytes, std::string* text,
                        RegTerminator* term) {
  std::string decoded = DecodeRegText(store, bytes);
  for (RegTerminator t : {RegTerminator::Include, RegTerminator::Omit}) {
    std::vector<uint8_t> again = EncodeRegText(store, decoded, t);
    if (again.size() == bytes.size() && std::equal(again.begin(), again.end(), bytes.begin())) {
      *text = std::move(decoded);
      *term = t;
      return true;
    }
  }
  return false;
}

std::vector<uint8_t> EncodeRegMultiText(RegStore store, const std::vector<std::string>& items) {
  std::vector<uint8_t> out;
  for (const auto& item : items) {
    auto bytes = EncodeRegText(store, item, RegTerminator::Include);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  auto end = EncodeRegText(store, std::string_view(), RegTerminator::Include);
  out.insert(out.end(), end.begin(), end.end());
  return out;
}

std::vector<std::string> DecodeRegMultiText(RegStore store, std::span<const uint8_t> bytes) {
  std::vector<std::string> items;
  if (store == RegStore::Device) {
    std::u16string units = Units(bytes);
    for (size_t pos = 0; pos < units.size();) {
      size_t end = std::min(units.find(u'\0', pos), units.size());
      if (end == pos) break;
      items.push_back(Utf16ToUtf8(std::u16string_view(units).substr(pos, end - pos)));
      pos = end + 1;
    }
  } else {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (size_t pos = 0; pos < text.size();) {
      size_t end = std::min(text.find('\0', pos), text.size());
      if (end == pos) break;
      items.emplace_back(text.substr(pos, end - pos));
      pos = end + 1;
    }
  }
  return items;
}

}  // namespace platform
