// Parser and printer of the readable tree text.
#include "configobject/proptree/TreeText.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "configobject/proptree/Value.h"

namespace proptree {
namespace {

// ---- tokens ----

enum class Tok { End, Word, String, Bytes, Punct };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // word, raw string body (escapes kept), hex digits, or the punctuation
  int line = 0;
};

class Lexer {
 public:
  explicit Lexer(std::string_view s) : s_(s) {}

  bool Next(Token* t, std::string* error) {
    Skip();
    t->line = line_;
    t->text.clear();
    if (i_ >= s_.size()) {
      t->kind = Tok::End;
      return true;
    }
    const char c = s_[i_];
    if (c == '"') return String(t, error);
    if (c == '<') {
      t->kind = Tok::Bytes;
      for (++i_; i_ < s_.size() && s_[i_] != '>'; ++i_) {
        if (s_[i_] == '\n') ++line_;
        if (IsHex(s_[i_])) {
          t->text += s_[i_];
        } else if (s_[i_] != ' ' && s_[i_] != '\t' && s_[i_] != '\n' && s_[i_] != '\r') {
          return Error(error, "bad character in a byte block");
        }
      }
      if (i_ >= s_.size()) return Error(error, "unterminated byte block");
      ++i_;
      if (t->text.size() % 2 != 0) return Error(error, "odd number of hex digits");
      return true;
    }
    if (std::strchr("{}=[],", c) != nullptr) {
      t->kind = Tok::Punct;
      t->text = c;
      ++i_;
      return true;
    }
    if (!IsWordChar(c)) return Error(error, std::string("unexpected character '") + c + "'");
    t->kind = Tok::Word;
    while (i_ < s_.size() && IsWordChar(s_[i_])) t->text += s_[i_++];
    if (s_.substr(i_, 2) == "[]") {
      t->text += "[]";
      i_ += 2;
    }
    return true;
  }

  int line() const { return line_; }

 private:
  static bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  }
  static bool IsWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           c == '#' || c == '-' || c == '.';
  }
  void Skip() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c == '\n') {
        ++line_;
        ++i_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++i_;
      } else if (c == '#') {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else {
        break;
      }
    }
  }
  bool String(Token* t, std::string* error) {
    t->kind = Tok::String;
    for (++i_; i_ < s_.size(); ++i_) {
      const char c = s_[i_];
      if (c == '"') {
        ++i_;
        return true;
      }
      if (c == '\n') return Error(error, "line break inside a string");
      if (c == '\\' && i_ + 1 < s_.size()) t->text += s_[i_++];
      t->text += s_[i_];
    }
    return Error(error, "unterminated string");
  }
  bool Error(std::string* error, const std::string& what) {
    *error = "line " + std::to_string(line_) + ": " + what;
    return false;
  }

  std::string_view s_;
  size_t i_ = 0;
  int line_ = 1;
};

// ---- escapes ----

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ReadHex(std::string_view s, size_t* i, int digits, uint32_t* v) {
  *v = 0;
  for (int k = 0; k < digits; ++k) {
    if (*i >= s.size() || HexValue(s[*i]) < 0) return false;
    *v = *v * 16 + static_cast<uint32_t>(HexValue(s[(*i)++]));
  }
  return true;
}

// Unescape: the units of a string body; bytes for text, UTF-16 for wide text.
bool Unescape(std::string_view body, bool wide, std::vector<uint32_t>* units) {
  for (size_t i = 0; i < body.size();) {
    const auto c = static_cast<unsigned char>(body[i]);
    if (c == '\\') {
      if (++i >= body.size()) return false;
      const char e = body[i++];
      uint32_t v;
      switch (e) {
        case 'n':
          units->push_back('\n');
          break;
        case 'r':
          units->push_back('\r');
          break;
        case 't':
          units->push_back('\t');
          break;
        case '0':
          units->push_back(0);
          break;
        case '\\':
          units->push_back('\\');
          break;
        case '"':
          units->push_back('"');
          break;
        case 'x':
          if (!ReadHex(body, &i, 2, &v)) return false;
          units->push_back(v);
          break;
        case 'u':
          if (!wide || !ReadHex(body, &i, 4, &v)) return false;
          units->push_back(v);
          break;
        default:
          return false;
      }
      continue;
    }
    if (!wide || c < 0x80) {
      units->push_back(c);
      ++i;
      continue;
    }
    // UTF-8 sequence to one code point, then to UTF-16.
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra >= body.size()) return false;
    uint32_t cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(body[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units->push_back(0xD800 | (cp >> 10));
      units->push_back(0xDC00 | (cp & 0x3FF));
    } else {
      units->push_back(cp);
    }
  }
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool EscapeSimple(std::string& out, uint32_t c) {
  switch (c) {
    case '\n':
      out += "\\n";
      return true;
    case '\r':
      out += "\\r";
      return true;
    case '\t':
      out += "\\t";
      return true;
    case '\\':
      out += "\\\\";
      return true;
    case '"':
      out += "\\\"";
      return true;
    default:
      return false;
  }
}

std::string QuoteBytes(const char* p, size_t n) {
  std::string out = "\"";
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(p[i]);
    if (EscapeSimple(out, c)) continue;
    if (c < 0x20 || c == 0x7F || c >= 0x80) {
      // Bytes above 0x7F are escaped too, so the text stays exact whatever its code page.
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string QuoteWide(const char16_t* p, size_t n) {
  std::string out = "\"";
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = p[i];
    if (EscapeSimple(out, c)) continue;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] < 0xE000) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00));
      ++i;
    } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c < 0xE000)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", c);
      out += hex;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out + "\"";
}

// ---- names ----

std::string TypeName(ItemId id) {
  std::string name = TypeInfoOf(ValueTypeOf(id)).name;
  if (IsArrayId(id)) name += "[]";
  return name;
}

std::string Hex32(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

// ---- parser ----

// Whether a value is an item's own or one element of an array.
enum class Role { Value, Element };

class Parser {
 public:
  Parser(std::string_view text, TreeDocument* doc, std::string* error)
      : lex_(text), doc_(doc), error_(error) {}

  bool Run() {
    if (!Advance()) return false;
    Node* last = nullptr;
    while (tok_.kind != Tok::End) {
      if (IsWord("node")) {
        Node* node = nullptr;
        const int line = tok_.line;
        if (!NodeStatement(nullptr, &node)) return false;
        // AttachAfter sees only the nodes after `last`; the whole chain is checked here.
        for (Node* n = doc_->root; n != nullptr; n = n->nextSibling) {
          if (SameItem(n->own.id, node->own.id)) {
            DeleteSubtree(node);
            tok_.line = line;
            return Fail("a top-level node with that identifier exists");
          }
        }
        if (last == nullptr) {
          doc_->root = node;
        } else {
          AttachAfter(node, last);
        }
        last = node;
      } else if (!Option()) {
        return false;
      }
    }
    return true;
  }

 private:
  bool Fail(const std::string& what) {
    if (error_->empty()) *error_ = "line " + std::to_string(tok_.line) + ": " + what;
    return false;
  }
  bool Advance() { return lex_.Next(&tok_, error_); }
  bool IsWord(const char* w) const { return tok_.kind == Tok::Word && tok_.text == w; }
  bool IsPunct(char c) const { return tok_.kind == Tok::Punct && tok_.text[0] == c; }
  bool Expect(char c) {
    if (!IsPunct(c)) return Fail(std::string("'") + c + "' expected");
    return Advance();
  }

  bool Number(uint64_t* v, uint64_t limit) {
    if (tok_.kind != Tok::Word) return Fail("number expected");
    const std::string& t = tok_.text;
    uint64_t value = 0;
    const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    const size_t start = hex ? 2 : 0;
    if (t.size() == start) return Fail("number expected");
    for (size_t i = start; i < t.size(); ++i) {
      const int d = hex ? HexValue(t[i]) : (t[i] >= '0' && t[i] <= '9' ? t[i] - '0' : -1);
      if (d < 0) return Fail("bad number '" + t + "'");
      const uint64_t base = hex ? 16 : 10;
      if (static_cast<uint64_t>(d) > limit || value > (limit - d) / base) {
        return Fail("number out of range '" + t + "'");
      }
      value = value * base + d;
    }
    *v = value;
    return Advance();
  }

  bool Option() {
    if (tok_.kind != Tok::Word) return Fail("'node' or an option expected");
    const std::string name = tok_.text;
    if (!Advance()) return false;
    WriteOptions& o = doc_->options;
    uint64_t v;
    if (name == "header") {
      if (tok_.kind != Tok::String) return Fail("header text expected");
      std::vector<uint32_t> units;
      if (!Unescape(tok_.text, false, &units)) return Fail("bad escape");
      o.headerText.clear();
      for (uint32_t u : units) o.headerText += static_cast<char>(u);
      if (o.headerText.size() > 0xFFFF) return Fail("header text too long");
      return Advance();
    }
    if (name == "filters") {
      o.filters.clear();
      if (IsWord("none")) return Advance();
      FilterCode code;
      while (tok_.kind == Tok::Word && FilterFromName(tok_.text, &code)) {
        for (FilterCode f : o.filters) {
          if (f == code) return Fail("a filter can appear once");
        }
        o.filters.push_back(code);
        if (!Advance()) return false;
      }
      return true;
    }
    if (name == "tree-code") {
      if (!Number(&v, 3)) return false;
      if (v != 0 && v != 3) return Fail("tree-code is 0 or 3");
      o.treeCode = static_cast<FilterCode>(v);
      return true;
    }
    if (name == "reserved") {
      if (!Number(&v, 0xFFFFFFFF)) return false;
      o.unusedField = static_cast<uint32_t>(v);
      return true;
    }
    if (name == "crc-block") {
      if (!Number(&v, 0xFFFF)) return false;
      if (v == 0) return Fail("crc-block is 1 to 65535");
      o.crcBlockSize = static_cast<uint32_t>(v);
      return true;
    }
    return Fail("unknown statement '" + name + "'");
  }

  // Head: identifier, optional type name and step, and the value after '='.
  bool Head(ValueSlot* slot) {
    if (tok_.kind == Tok::Word && tok_.text == TypeName(slot->id)) {
      if (!Advance()) return false;
    } else if (tok_.kind == Tok::Word && tok_.text != "step" && tok_.text != "node" &&
               tok_.text != "prop") {
      return Fail("type '" + tok_.text + "' does not match " + Hex32(slot->id) + " (" +
                  TypeName(slot->id) + ")");
    }
    if (IsWord("step")) {
      if (!IsArrayId(slot->id)) return Fail("step on a non-array item");
      if (!Advance()) return false;
      uint64_t step;
      if (!Number(&step, 0xFFFF)) return false;
      SetArrayStep(slot, static_cast<uint16_t>(step));
    }
    if (!IsPunct('=')) return true;
    if (!Advance()) return false;
    if (!IsArrayId(slot->id)) return Scalar(slot);
    if (!Expect('[')) return false;
    while (!IsPunct(']')) {
      if (!Element(slot)) return false;
      if (IsPunct(',')) {
        if (!Advance()) return false;
      } else if (!IsPunct(']')) {
        return Fail("',' or ']' expected");
      }
    }
    return Advance();
  }

  bool Identifier(ItemId* id) {
    uint64_t v;
    if (!Number(&v, 0xFFFFFFFF)) return false;
    *id = static_cast<ItemId>(v);
    if (!IsValidItemId(*id)) return Fail("identifier " + Hex32(*id) + " has no valid type");
    return true;
  }

  bool NodeStatement(Node* parent, Node** made) {
    if (++depth_ > kMaxTreeDepth) return Fail("nodes nested too deeply");
    if (!Advance()) return false;
    ItemId id;
    if (!Identifier(&id)) return false;
    Node* node = CreateNode(parent, id);
    if (node == nullptr) return Fail("duplicate node " + Hex32(id));
    *made = node;
    const bool ok = Body(node);
    if (!ok && parent == nullptr) {
      DeleteSubtree(node);
      *made = nullptr;
    }
    --depth_;
    return ok;
  }

  bool Body(Node* node) {
    if (!Head(&node->own)) return false;
    if (!IsPunct('{')) return true;
    if (!Advance()) return false;
    while (!IsPunct('}')) {
      if (IsWord("node")) {
        Node* child;
        if (!NodeStatement(node, &child)) return false;
      } else if (IsWord("prop")) {
        if (!Advance()) return false;
        ItemId id;
        if (!Identifier(&id)) return false;
        if (SameItem(id, kNodeAddressId)) return Fail("0x09000001 is every node's own tag");
        ValueSlot* slot = AddProperty(node, id);
        if (slot == nullptr) return Fail("duplicate property " + Hex32(id));
        if (!Head(slot)) return false;
      } else {
        return Fail("'node', 'prop' or '}' expected");
      }
    }
    return Advance();
  }

  bool Units(ValueSlot* slot, Storage s, Role role) {
    const bool element = role == Role::Element;
    if (s == Storage::Block) {
      if (tok_.kind != Tok::Bytes) return Fail("byte block <..> expected");
      std::vector<uint8_t> bytes;
      for (size_t i = 0; i < tok_.text.size(); i += 2) {
        bytes.push_back(
            static_cast<uint8_t>(HexValue(tok_.text[i]) * 16 + HexValue(tok_.text[i + 1])));
      }
      if (bytes.size() > 0xFFFF) return Fail("byte block too long");
      if (element) {
        if (!AppendRef(slot, bytes.data(), static_cast<uint32_t>(bytes.size())))
          return Fail("no memory");
      } else if (!bytes.empty()) {
        SetValue(slot, reinterpret_cast<uintptr_t>(bytes.data()),
                 static_cast<uint32_t>(bytes.size()));
      }
      return Advance();
    }
    if (!element && IsWord("none")) return Advance();
    if (tok_.kind != Tok::String) return Fail("quoted text expected");
    std::vector<uint32_t> units;
    const bool wide = s == Storage::WideText;
    if (!Unescape(tok_.text, wide, &units)) return Fail("bad escape or UTF-8 in text");
    if (units.size() * (wide ? 2 : 1) >= 0xFFFF) return Fail("text too long");
    std::vector<char> narrow;
    std::u16string wideText;
    for (uint32_t u : units) {
      if (wide) {
        wideText += static_cast<char16_t>(u);
      } else {
        narrow.push_back(static_cast<char>(u));
      }
    }
    const void* data = wide ? static_cast<const void*>(wideText.data()) : narrow.data();
    static const char16_t kEmpty = 0;
    if (units.empty()) data = &kEmpty;
    const auto count = static_cast<uint32_t>(units.size());
    const bool ok = element ? AppendRef(slot, data, count)
                            : SetValue(slot, reinterpret_cast<uintptr_t>(data), count + 1) != 0;
    if (!ok) return Fail("no memory");
    return Advance();
  }

  bool Fixed(const TypeInfo& info, Role role, uint8_t out[16]) {
    std::memset(out, 0, 16);
    if (info.storage == Storage::Boolean && (IsWord("true") || IsWord("false"))) {
      out[0] = IsWord("true") ? 1 : 0;
      return Advance();
    }
    if (info.memorySize == 16) {
      // 128-bit values are written in hex, most significant digit first.
      const std::string& t = tok_.text;
      if (tok_.kind != Tok::Word || t.size() < 3 || t[0] != '0' || (t[1] != 'x' && t[1] != 'X') ||
          t.size() > 34) {
        return Fail("128-bit value in hex (0x...) expected");
      }
      for (size_t k = 0; k + 2 < t.size(); ++k) {
        const int d = HexValue(t[t.size() - 1 - k]);
        if (d < 0) return Fail("bad number '" + t + "'");
        out[k / 2] |= static_cast<uint8_t>(d << (4 * (k % 2)));
      }
      return Advance();
    }
    // Booleans are one byte in the stream, and one bit inside arrays.
    const unsigned bits =
        info.storage == Storage::Boolean ? (role == Role::Element ? 1 : 8) : 8u * info.memorySize;
    const uint64_t limit = bits >= 64 ? ~0ull : (1ull << bits) - 1;
    uint64_t v;
    if (!Number(&v, limit)) return false;
    for (int k = 0; k < 8; ++k) out[k] = static_cast<uint8_t>(v >> (8 * k));
    return true;
  }

  bool Scalar(ValueSlot* slot) {
    const TypeInfo info = TypeInfoOf(ValueTypeOf(slot->id));
    switch (info.storage) {
      case Storage::Group:
        return Fail("a group has no value");
      case Storage::Text:
      case Storage::WideText:
      case Storage::Block:
        return Units(slot, info.storage, Role::Value);
      default: {
        uint8_t raw[16];
        if (!Fixed(info, Role::Value, raw)) return false;
        if (info.storage == Storage::Wide) {
          SetValue(slot, reinterpret_cast<uintptr_t>(raw), 0);
        } else {
          uint32_t v;
          std::memcpy(&v, raw, 4);
          SetValue(slot, v, 0);
        }
        return true;
      }
    }
  }

  bool Element(ValueSlot* slot) {
    const TypeInfo info = TypeInfoOf(ValueTypeOf(slot->id));
    if (IsHeldByRef(info.storage)) {
      return Units(slot, info.storage, Role::Element);
    }
    if (ArrayCount(slot) >= 0xFFFF) return Fail("too many elements");
    uint8_t raw[16];
    if (!Fixed(info, Role::Element, raw)) return false;
    if (!AppendElements(slot, raw, 1)) return Fail("no memory");
    return true;
  }

  Lexer lex_;
  Token tok_;
  TreeDocument* doc_;
  std::string* error_;
  int depth_ = 0;
};

// ---- printer ----

std::string FixedText(const TypeInfo& info, const uint8_t* p) {
  if (info.memorySize > 4) {
    std::string out = "0x";
    char hex[4];
    for (int k = info.memorySize - 1; k >= 0; --k) {
      std::snprintf(hex, sizeof hex, "%02X", p[k]);
      out += hex;
    }
    return out;
  }
  uint32_t v = 0;
  for (int k = info.memorySize - 1; k >= 0; --k) v = (v << 8) | p[k];
  return std::to_string(v);
}

std::string RefText(Storage s, const ValueRef& ref) {
  if (s == Storage::Block) {
    std::string out = "<";
    char hex[4];
    for (uint32_t i = 0; i < ref.length; ++i) {
      std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : " %02x",
                    static_cast<const uint8_t*>(ref.data)[i]);
      out += hex;
    }
    return out + ">";
  }
  if (ref.data == nullptr) return "none";
  if (s == Storage::WideText)
    return QuoteWide(static_cast<const char16_t*>(ref.data), ref.length - 1);
  return QuoteBytes(static_cast<const char*>(ref.data), ref.length - 1);
}

std::string SlotText(const ValueSlot& slot) {
  const TypeInfo info = TypeInfoOf(ValueTypeOf(slot.id));
  std::string out = Hex32(slot.id) + " " + TypeName(slot.id);
  if (info.storage == Storage::Group) return out;
  if (!IsArrayId(slot.id)) {
    if (IsHeldByRef(info.storage)) {
      return out + " = " + RefText(info.storage, slot.ref);
    }
    return out + " = " + FixedText(info, slot.scalar);
  }
  const ArrayValue& a = slot.array;
  if (a.step != 0) out += " step " + std::to_string(a.step);
  out += " = [";
  for (uint32_t i = 0; i < a.count; ++i) {
    if (i > 0) out += ", ";
    const uint8_t* e = a.elements + static_cast<size_t>(i) * a.elementSize;
    out += IsHeldByRef(info.storage) ? RefText(info.storage, *reinterpret_cast<const ValueRef*>(e))
                                     : FixedText(info, e);
  }
  return out + "]";
}

void PrintNode(std::string& out, const Node* node, int depth) {
  const std::string indent(2 * depth, ' ');
  out += indent + "node " + SlotText(node->own);
  bool open = false;
  auto openBrace = [&] {
    if (!open) out += " {\n";
    open = true;
  };
  for (const ValueSlot* s = node->properties; s != nullptr; s = s->next) {
    if (SameItem(s->id, kNodeAddressId)) continue;
    openBrace();
    out += indent + "  prop " + SlotText(*s) + "\n";
  }
  for (const Node* c = node->firstChild; c != nullptr; c = c->nextSibling) {
    openBrace();
    PrintNode(out, c, depth + 1);
  }
  out += open ? indent + "}\n" : "\n";
}

}  // namespace

const char* FilterName(FilterCode code) {
  switch (code) {
    case FilterCode::Compress:
      return "compress";
    case FilterCode::CrcBlocks:
      return "crc";
    case FilterCode::Scramble:
      return "scramble";
    default:
      return nullptr;
  }
}

bool FilterFromName(std::string_view name, FilterCode* code) {
  for (FilterCode c : {FilterCode::Compress, FilterCode::CrcBlocks, FilterCode::Scramble}) {
    if (name == FilterName(c)) {
      *code = c;
      return true;
    }
  }
  return false;
}

int ParseTreeText(std::string_view text, TreeDocument* document, std::string* error) {
  std::string scratch;
  std::string* err = error != nullptr ? error : &scratch;
  err->clear();
  if (document == nullptr || document->root != nullptr) {
    *err = "the document must be empty";
    return -1;
  }
  Parser parser(text, document, err);
  if (!parser.Run()) {
    DeleteChain(document->root);
    document->root = nullptr;
    return -1;
  }
  return 0;
}

std::string PrintTreeText(const Node* root, const WriteOptions* options) {
  std::string out;
  if (options != nullptr) {
    out += "header " + QuoteBytes(options->headerText.data(), options->headerText.size()) + "\n";
    out += "filters";
    if (options->filters.empty()) out += " none";
    bool crc = false;
    for (FilterCode f : options->filters) {
      const char* name = FilterName(f);
      out += std::string(" ") + (name != nullptr ? name : "?");
      crc = crc || f == FilterCode::CrcBlocks;
    }
    out += "\n";
    if (crc) out += "crc-block " + std::to_string(options->crcBlockSize) + "\n";
    if (options->treeCode != FilterCode::Tree)
      out += "tree-code " + std::to_string(static_cast<int>(options->treeCode)) + "\n";
    if (options->unusedField != 0) out += "reserved " + Hex32(options->unusedField) + "\n";
    out += "\n";
  }
  for (const Node* n = root; n != nullptr; n = n->nextSibling) PrintNode(out, n, 0);
  return out;
}

}  // namespace proptree
