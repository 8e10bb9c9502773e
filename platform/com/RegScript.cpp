// Parser of registration scripts: words, quoted texts, replacements and nested key blocks.
#include "platform/com/RegScript.h"

#include <cctype>

#include "platform/Text.h"

namespace platform::com {
namespace {

enum class Tok { End, Word, Quoted, Equals, Open, Close };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // words and quoted texts, after replacement
  int line = 1;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

class Lexer {
 public:
  Lexer(std::string_view text, const Replacements& replacements)
      : s_(text), replacements_(replacements) {}

  // Next: the next token; false with `error` set for a malformed one.
  bool Next(Token* t, std::string* error) {
    while (i_ < s_.size() && IsBlank(s_[i_])) {
      if (s_[i_] == '\n') ++line_;
      ++i_;
    }
    t->line = line_;
    t->text.clear();
    if (i_ >= s_.size()) {
      t->kind = Tok::End;
      return true;
    }
    const char c = s_[i_];
    if (c == '=') {
      ++i_;
      t->kind = Tok::Equals;
      return true;
    }
    // A brace is punctuation when it stands alone; "{…}" starts a word, as
    // class identifiers are written bare.
    if ((c == '{' || c == '}') && (i_ + 1 >= s_.size() || IsBlank(s_[i_ + 1]) ||
                                   s_[i_ + 1] == '{' || s_[i_ + 1] == '}' || s_[i_ + 1] == '=')) {
      ++i_;
      t->kind = c == '{' ? Tok::Open : Tok::Close;
      return true;
    }
    if (c == '\'') return Quoted(t, error);
    std::string raw;
    while (i_ < s_.size() && !IsBlank(s_[i_]) && s_[i_] != '=') {
      if (s_[i_] == '\'') return Fail(error, "quote inside a word");
      raw += s_[i_++];
    }
    t->kind = Tok::Word;
    return Expand(raw, &t->text, error);
  }

  int line() const { return line_; }

 private:
  bool Quoted(Token* t, std::string* error) {
    const int start = line_;
    std::string raw;
    for (++i_; i_ < s_.size(); ++i_) {
      const char c = s_[i_];
      if (c == '\n') ++line_;
      if (c == '\'') {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
          raw += '\'';
          ++i_;
          continue;
        }
        ++i_;
        t->kind = Tok::Quoted;
        return Expand(raw, &t->text, error);
      }
      raw += c;
    }
    line_ = start;
    return Fail(error, "unterminated quoted text");
  }

  // Expand: `raw` with %NAME% replaced and %% made one percent sign.
  bool Expand(const std::string& raw, std::string* out, std::string* error) {
    for (size_t k = 0; k < raw.size(); ++k) {
      if (raw[k] != '%') {
        *out += raw[k];
        continue;
      }
      const size_t end = raw.find('%', k + 1);
      if (end == std::string::npos) return Fail(error, "unpaired % in \"" + raw + "\"");
      const std::string name = raw.substr(k + 1, end - k - 1);
      if (name.empty()) {
        *out += '%';
      } else {
        const auto it = replacements_.find(name);
        if (it == replacements_.end()) return Fail(error, "unknown replacement %" + name + "%");
        *out += it->second;
      }
      k = end;
    }
    return true;
  }

  bool Fail(std::string* error, const std::string& what) const {
    *error = "line " + std::to_string(line_) + ": " + what;
    return false;
  }

  std::string_view s_;
  const Replacements& replacements_;
  size_t i_ = 0;
  int line_ = 1;
};

bool RootFromName(std::string_view name, HKEY* root) {
  const std::string upper = ToUpper(name);
  if (upper == "HKCR" || upper == "HKEY_CLASSES_ROOT") {
    *root = HKEY_CLASSES_ROOT;
  } else if (upper == "HKCU" || upper == "HKEY_CURRENT_USER") {
    *root = HKEY_CURRENT_USER;
  } else if (upper == "HKLM" || upper == "HKEY_LOCAL_MACHINE") {
    *root = HKEY_LOCAL_MACHINE;
  } else {
    return false;
  }
  return true;
}

class Parser {
 public:
  Parser(std::string_view text, const Replacements& replacements, std::string* error)
      : lex_(text, replacements), error_(error) {}

  bool Script(RegScript* script) {
    if (!Advance()) return false;
    while (tok_.kind != Tok::End) {
      ScriptRoot root;
      if (tok_.kind != Tok::Word || !RootFromName(tok_.text, &root.root))
        return Fail("a root key (HKCR, HKCU or HKLM) expected");
      if (!Advance()) return false;
      if (tok_.kind != Tok::Open) return Fail("'{' expected after the root key");
      if (!Advance() || !Body(nullptr, &root.keys, 1)) return false;
      script->roots.push_back(std::move(root));
    }
    return true;
  }

 private:
  bool Advance() { return lex_.Next(&tok_, error_); }

  bool Fail(const std::string& what) {
    *error_ = "line " + std::to_string(tok_.line) + ": " + what;
    return false;
  }

  bool IsWord(const char* keyword) const {
    return tok_.kind == Tok::Word && EqualsIgnoreCase(tok_.text, keyword);
  }

  // Body: entries up to and including the closing brace; `owner` is the key
  // the block belongs to (null directly under a root).
  bool Body(ScriptKey* owner, std::vector<ScriptKey>* keys, int depth) {
    if (depth > kMaxScriptDepth) return Fail("keys nested too deeply");
    while (tok_.kind != Tok::Close) {
      if (tok_.kind == Tok::End) return Fail("'}' missing at the end of the script");
      if (IsWord("val")) {
        if (owner == nullptr) return Fail("a named value directly under a root key");
        if (!Advance()) return false;
        ScriptValue value;
        if (!Name(&value.name, "value name")) return false;
        if (value.name.size() > kRegMaxValueNameLength) return Fail("value name too long");
        for (const ScriptValue& v : owner->values)
          if (EqualsIgnoreCase(v.name, value.name)) return Fail("value " + value.name + " twice");
        if (tok_.kind != Tok::Equals) return Fail("'=' expected after the value name");
        if (!Advance() || !Value(&value)) return false;
        owner->values.push_back(std::move(value));
        continue;
      }
      ScriptKey key;
      if (IsWord("NoRemove") || IsWord("ForceRemove")) {
        key.removal = IsWord("NoRemove") ? Removal::NoRemove : Removal::ForceRemove;
        if (!Advance()) return false;
      }
      if (!Name(&key.name, "key name")) return false;
      if (key.name.empty() || key.name.size() > kRegMaxKeyNameLength ||
          key.name.find('\\') != std::string::npos)
        return Fail("bad key name \"" + key.name + "\"");
      for (const ScriptKey& k : *keys)
        if (EqualsIgnoreCase(k.name, key.name)) return Fail("key " + key.name + " twice");
      if (tok_.kind == Tok::Equals) {
        key.hasDefault = true;
        if (!Advance() || !Value(&key.defaultValue)) return false;
      }
      if (tok_.kind == Tok::Open) {
        if (!Advance() || !Body(&key, &key.keys, depth + 1)) return false;
      }
      keys->push_back(std::move(key));
    }
    return Advance();  // past the closing brace
  }

  // Name: a word or quoted text, then the next token.
  bool Name(std::string* name, const char* what) {
    if (tok_.kind != Tok::Word && tok_.kind != Tok::Quoted)
      return Fail(std::string(what) + " expected");
    *name = tok_.text;
    return Advance();
  }

  // Value: a type letter and its data, then the next token.
  bool Value(ScriptValue* value) {
    if (tok_.kind != Tok::Word || tok_.text.size() != 1)
      return Fail("value type s, d or b expected");
    const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(tok_.text[0])));
    if (!Advance()) return false;
    if (tok_.kind != Tok::Word && tok_.kind != Tok::Quoted) return Fail("value data expected");
    const std::string& data = tok_.text;
    switch (type) {
      case 's':
        value->type = REG_SZ;
        if (data.find('\0') != std::string::npos) return Fail("a text holds a zero character");
        value->data.assign(data.begin(), data.end());
        break;
      case 'd': {
        uint32_t number = 0;
        if (!Number(data, &number)) return Fail("bad number \"" + data + "\"");
        value->type = REG_DWORD;
        value->data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                       static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
        break;
      }
      case 'b':
        value->type = REG_BINARY;
        if (!HexBytes(data, &value->data)) return Fail("bad binary data \"" + data + "\"");
        break;
      default:
        return Fail("value type s, d or b expected");
    }
    return Advance();
  }

  static int Digit(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d < base ? d : -1;
  }

  static bool Number(std::string_view text, uint32_t* out) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    }
    if (text.empty()) return false;
    uint64_t v = 0;
    for (char c : text) {
      const int d = Digit(c, base);
      if (d < 0) return false;
      v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFu) return false;
    }
    *out = static_cast<uint32_t>(v);
    return true;
  }

  static bool HexBytes(std::string_view text, std::vector<uint8_t>* out) {
    if (text.size() % 2 != 0 || text.size() / 2 > kRegMaxValueDataSize) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
      const int hi = Digit(text[i], 16);
      const int lo = Digit(text[i + 1], 16);
      if (hi < 0 || lo < 0) return false;
      out->push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
  }

  Lexer lex_;
  std::string* error_;
  Token tok_;
};

}  // namespace

bool ParseRegScript(std::string_view text, const Replacements& replacements, RegScript* script,
                    std::string* error) {
  RegScript parsed;
  std::string message;
  Parser parser(text, replacements, &message);
  if (!parser.Script(&parsed)) {
    *script = RegScript{};
    if (error) *error = message;
    return false;
  }
  *script = std::move(parsed);
  return true;
}

}  // namespace platform::com
