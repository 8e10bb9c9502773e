// List parsing and base writing.
#include "tools/zepbase/BaseList.h"

#include <cstring>

#include "platform/Text.h"
#include "scanner/virusbase/BaseFormat.h"
#include "scanner/virusbase/LittleEndian.h"

namespace zepbase {
namespace {

using scanner::AppendLe;
using scanner::ChunkType;

constexpr size_t kMaxNameUnits = 31;
constexpr size_t kMaxDescriptionUnits = 128;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Quoted text: \\ \" \n and \xHH are escapes; any other backslash is itself.
bool ParseQuoted(std::string_view v, std::vector<uint8_t>& out) {
  if (v.size() < 2 || v.front() != '"' || v.back() != '"') return false;
  v = v.substr(1, v.size() - 2);
  for (size_t i = 0; i < v.size(); ++i) {
    const char c = v[i];
    if (c == '"') return false;  // an unescaped quote inside
    if (c != '\\' || i + 1 == v.size()) {
      out.push_back(static_cast<uint8_t>(c));
      continue;
    }
    const char n = v[i + 1];
    if (n == '\\' || n == '"') {
      out.push_back(static_cast<uint8_t>(n));
      ++i;
    } else if (n == 'n') {
      out.push_back('\n');
      ++i;
    } else if (n == 'x' && i + 3 < v.size() && HexValue(v[i + 2]) >= 0 && HexValue(v[i + 3]) >= 0) {
      out.push_back(static_cast<uint8_t>(HexValue(v[i + 2]) * 16 + HexValue(v[i + 3])));
      i += 3;
    } else {
      out.push_back('\\');
    }
  }
  return true;
}

bool ParseHex(std::string_view v, std::vector<uint8_t>& out) {
  int high = -1;
  for (char c : v) {
    if (c == ' ' || c == '\t') continue;
    const int h = HexValue(c);
    if (h < 0) return false;
    if (high < 0) {
      high = h;
    } else {
      out.push_back(static_cast<uint8_t>(high * 16 + h));
      high = -1;
    }
  }
  return high < 0;
}

bool ParseNumber(std::string_view v, uint32_t& out) {
  if (v.empty() || v.size() > 10) return false;
  uint64_t n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  if (n > 0xFFFFFFFFu) return false;
  out = static_cast<uint32_t>(n);
  return true;
}

void AppendChunk(std::vector<uint8_t>& out, ChunkType type, uint16_t flags, uint32_t length) {
  AppendLe(out, static_cast<uint16_t>(type), 2);
  AppendLe(out, flags, 2);
  AppendLe(out, length, 4);
}

void AppendScrambled(std::vector<uint8_t>& out, std::vector<uint8_t> payload) {
  scanner::Scramble(payload);
  out.insert(out.end(), payload.begin(), payload.end());
}

std::vector<uint8_t> Utf16Le(std::u16string_view text, size_t padTo) {
  std::vector<uint8_t> out;
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  if (out.size() < padTo) out.resize(padTo, 0);
  return out;
}

}  // namespace

std::string ParseBaseList(std::string_view text, BaseList& list) {
  size_t lineNumber = 0;
  BaseEntry* current = nullptr;
  auto fault = [&](const std::string& what) {
    return "line " + std::to_string(lineNumber) + ": " + what;
  };
  auto finish = [&]() -> std::string {
    if (current != nullptr && current->signature.empty())
      return "record \"" + platform::Utf16ToUtf8(current->name) + "\" has no signature";
    return {};
  };
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    line = platform::Trim(line);
    if (line.empty() || line[0] == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']') return fault("a record name needs a closing ']'");
      if (std::string e = finish(); !e.empty()) return fault(e);
      BaseEntry entry;
      entry.name = platform::Utf8ToUtf16(line.substr(1, line.size() - 2));
      if (entry.name.empty()) return fault("empty record name");
      if (entry.name.size() > kMaxNameUnits) return fault("record name longer than 31 characters");
      list.entries.push_back(std::move(entry));
      current = &list.entries.back();
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return fault("expected 'key = value' or '[name]'");
    const std::string_view key = platform::Trim(line.substr(0, eq));
    const std::string_view value = platform::Trim(line.substr(eq + 1));
    if (current == nullptr) {
      if (key != "build") return fault("only 'build' may come before the first record");
      if (!ParseNumber(value, list.build)) return fault("build is not a 32-bit number");
      continue;
    }
    if (key == "signature") {
      current->signature.clear();
      const bool ok = !value.empty() && value.front() == '"'
                          ? ParseQuoted(value, current->signature)
                          : ParseHex(value, current->signature);
      if (!ok) return fault("signature is neither quoted text nor hexadecimal bytes");
      if (current->signature.empty()) return fault("empty signature");
    } else if (key == "description") {
      current->description = platform::Utf8ToUtf16(value);
      if (current->description.size() > kMaxDescriptionUnits)
        return fault("description longer than 128 characters");
    } else if (key == "value") {
      if (!ParseNumber(value, current->value)) return fault("value is not a 32-bit number");
    } else {
      return fault("unknown key '" + std::string(key) + "'");
    }
  }
  if (std::string e = finish(); !e.empty()) return fault(e);
  return {};
}

std::vector<uint8_t> BuildBaseContent(const BaseList& list) {
  std::vector<uint8_t> out(sizeof(scanner::BaseHeader), 0);
  std::memcpy(out.data(), scanner::kBaseMagic, sizeof scanner::kBaseMagic);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(offsetof(scanner::BaseHeader, build), list.build);
  put32(offsetof(scanner::BaseHeader, recordCount), static_cast<uint32_t>(list.entries.size()));
  put32(offsetof(scanner::BaseHeader, formatMark), scanner::kBaseFormatMark);

  for (const BaseEntry& e : list.entries) {
    AppendChunk(out, ChunkType::kName, 0, scanner::kNamePayloadSize);
    AppendScrambled(out, Utf16Le(e.name, scanner::kNamePayloadSize));
    AppendChunk(out, ChunkType::kValue, scanner::kChunkHasValue, e.value);
    AppendChunk(out, ChunkType::kSignature, 0, static_cast<uint32_t>(e.signature.size()));
    AppendScrambled(out, e.signature);
    if (!e.description.empty()) {
      const std::vector<uint8_t> text = Utf16Le(e.description, 0);
      AppendChunk(out, ChunkType::kDescription, 0, static_cast<uint32_t>(text.size()));
      AppendScrambled(out, text);
    }
    AppendChunk(out, ChunkType::kEndOfRecord, scanner::kChunkHasValue, 0);
  }
  AppendChunk(out, ChunkType::kFileEnd, scanner::kChunkHasValue, 0);
  return out;
}

}  // namespace zepbase
