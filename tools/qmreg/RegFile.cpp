// The REGEDIT4 parser.
#include "tools/qmreg/RegFile.h"

#include "platform/RegPath.h"
#include "platform/RegText.h"
#include "platform/Text.h"

namespace qmreg {
namespace {

using platform::RegStore;

// A logical line: physical lines joined at a trailing backslash, numbered by
// the first of them.
struct Line {
  std::string text;
  int number = 0;
};

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::vector<Line> LogicalLines(std::string_view text) {
  std::vector<Line> lines;
  bool continuing = false;
  int number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = TrimRight(text.substr(pos, end - pos));
    pos = end + 1;
    ++number;
    std::string_view body = continuing ? TrimLeft(raw) : raw;
    if (!continuing) lines.push_back({std::string(), number});
    bool comment = !continuing && !TrimLeft(body).empty() && TrimLeft(body).front() == ';';
    continuing = !comment && !body.empty() && body.back() == '\\';
    if (continuing) body.remove_suffix(1);
    lines.back().text.append(body);
  }
  return lines;
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() &&
         platform::EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

// ReadQuoted: a "..." text at the start of s with \\ and \" escapes; s is
// advanced past the closing quote. Returns an error message or empty.
std::string ReadQuoted(std::string_view* s, std::string* out) {
  if (s->empty() || s->front() != '"') return "expected a quoted text";
  size_t i = 1;
  out->clear();
  while (i < s->size()) {
    char c = (*s)[i];
    if (c == '"') {
      s->remove_prefix(i + 1);
      return {};
    }
    if (c == '\\') {
      if (i + 1 >= s->size()) break;
      char next = (*s)[i + 1];
      if (next != '\\' && next != '"')
        return std::string("unknown escape \"\\") + next + "\" (write a backslash as \\\\)";
      out->push_back(next);
      i += 2;
      continue;
    }
    out->push_back(c);
    ++i;
  }
  return "missing closing quote";
}

// ReadHexBytes: comma-separated two-digit hex bytes.
std::string ReadHexBytes(std::string_view s, std::vector<uint8_t>* out) {
  s = TrimLeft(TrimRight(s));
  if (s.empty()) return {};
  out->reserve(s.size() / 3 + 1);
  while (true) {
    s = TrimLeft(s);
    size_t n = 0;
    while (n < s.size() && n < 3 && IsHex(s[n])) ++n;
    if (n == 0 || n > 2) return "bad hex byte list";
    int value = 0;
    for (size_t k = 0; k < n; ++k) value = value * 16 + HexValue(s[k]);
    out->push_back(static_cast<uint8_t>(value));
    if (out->size() > platform::kRegMaxValueDataSize) return {};  // reported by the caller
    s = TrimLeft(s.substr(n));
    if (s.empty()) return {};
    if (s.front() != ',') return "bad hex byte list";
    s.remove_prefix(1);
  }
}

std::string LengthError(const RegFileValue& v) {
  return "value \"" + v.name + "\" is longer than " +
         std::to_string(platform::kRegMaxValueDataSize) + " bytes";
}

class Parser {
 public:
  Parser(RegStore store, RegFile* out, RegFileError* error)
      : store_(store), out_(out), error_(error) {}

  bool Run(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool header = false;
    for (auto& line : LogicalLines(text)) {
      std::string_view s = TrimLeft(TrimRight(line.text));
      if (s.empty()) continue;
      if (!header) {
        if (s != "REGEDIT4") return Fail(line.number, "the file does not start with REGEDIT4");
        header = true;
        continue;
      }
      if (s.front() == ';') continue;
      bool ok = s.front() == '['                       ? Section(s, line.number)
                : s.front() == '"' || s.front() == '@' ? Value(s, line.number)
                                                       : Fail(line.number, "malformed line");
      if (!ok) return false;
    }
    if (!header) return Fail(1, "the file does not start with REGEDIT4");
    return true;
  }

 private:
  bool Fail(int line, std::string message) {
    error_->line = line;
    error_->message = std::move(message);
    return false;
  }

  bool Section(std::string_view s, int line) {
    if (s.back() != ']') return Fail(line, "malformed key line (missing \"]\")");
    s = s.substr(1, s.size() - 2);
    RegFileKey key;
    key.line = line;
    if (!s.empty() && s.front() == '-') {
      key.remove = true;
      s.remove_prefix(1);
    }
    if (!platform::ParseRegRoot(s, &key.root, &key.subPath))
      return Fail(line, "unknown root key \"" + std::string(s.substr(0, s.find('\\'))) + "\"");
    auto parts = platform::SplitRegPath(key.subPath);
    for (auto part : parts)
      if (platform::Utf8ToUtf16(part).size() > platform::kRegMaxKeyNameLength)
        return Fail(line, "key name longer than " + std::to_string(platform::kRegMaxKeyNameLength) +
                              " characters");
    if (key.remove && parts.empty()) return Fail(line, "a root key cannot be deleted");
    out_->keys.push_back(std::move(key));
    return true;
  }

  bool Value(std::string_view s, int line) {
    if (out_->keys.empty()) return Fail(line, "value outside a [key] section");
    if (out_->keys.back().remove) return Fail(line, "value under a key that is being deleted");
    RegFileValue v;
    v.line = line;
    if (s.front() == '@') {
      s.remove_prefix(1);
    } else if (std::string e = ReadQuoted(&s, &v.name); !e.empty()) {
      return Fail(line, "value name: " + e);
    }
    if (platform::Utf8ToUtf16(v.name).size() > platform::kRegMaxValueNameLength)
      return Fail(line, "value name longer than " +
                            std::to_string(platform::kRegMaxValueNameLength) + " characters");
    s = TrimLeft(s);
    if (s.empty() || s.front() != '=') return Fail(line, "expected \"=\" after the value name");
    s = TrimLeft(s.substr(1));
    if (std::string e = Data(s, &v); !e.empty()) return Fail(line, e);
    if (v.data.size() > platform::kRegMaxValueDataSize) return Fail(line, LengthError(v));
    out_->keys.back().values.push_back(std::move(v));
    return true;
  }

  std::string Data(std::string_view s, RegFileValue* v) {
    if (s == "-") {
      v->remove = true;
      return {};
    }
    if (!s.empty() && s.front() == '"') {
      std::string text;
      if (std::string e = ReadQuoted(&s, &text); !e.empty()) return "value data: " + e;
      if (!TrimLeft(s).empty()) return "unexpected text after the closing quote";
      if (text.size() > platform::kRegMaxValueDataSize) return LengthError(*v);
      v->type = platform::REG_SZ;
      v->data = platform::EncodeRegText(store_, text, platform::RegTerminator::Include);
      return {};
    }
    if (StartsWithNoCase(s, "dword:")) {
      std::string_view digits = s.substr(6);
      if (digits.empty() || digits.size() > 8) return "dword: needs 1 to 8 hex digits";
      uint32_t value = 0;
      for (char c : digits) {
        if (!IsHex(c)) return "dword: needs 1 to 8 hex digits";
        value = value * 16 + static_cast<uint32_t>(HexValue(c));
      }
      v->type = platform::REG_DWORD;
      v->data = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                 static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
      return {};
    }
    if (StartsWithNoCase(s, "hex:")) {
      v->type = platform::REG_BINARY;
      return ReadHexBytes(s.substr(4), &v->data);
    }
    if (StartsWithNoCase(s, "hex(")) {
      size_t close = s.find(')');
      std::string_view digits = s.substr(4, close == std::string_view::npos ? 0 : close - 4);
      if (close == std::string_view::npos || digits.empty() || digits.size() > 8 ||
          close + 1 >= s.size() || s[close + 1] != ':')
        return "bad hex(type): prefix";
      uint32_t type = 0;
      for (char c : digits) {
        if (!IsHex(c)) return "bad hex(type): prefix";
        type = type * 16 + static_cast<uint32_t>(HexValue(c));
      }
      v->type = type;
      return ReadHexBytes(s.substr(close + 2), &v->data);
    }
    return "unrecognised value data (expected \"text\", dword:, hex:, hex(N): or -)";
  }

  RegStore store_;
  RegFile* out_;
  RegFileError* error_;
};

}  // namespace

bool ParseRegFile(std::string_view text, RegStore store, RegFile* out, RegFileError* error) {
  *out = RegFile();
  return Parser(store, out, error).Run(text);
}

}  // namespace qmreg
