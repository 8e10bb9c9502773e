// The stored form from a tree: tree stream, block checks, filters, container.
#include "configobject/proptree/TreeWriter.h"

#include <cstring>

#include "configobject/proptree/Compressor.h"
#include "configobject/proptree/Crc32.h"
#include "configobject/proptree/Scrambler.h"

namespace proptree {
namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void PutBytes(std::vector<uint8_t>& out, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  out.insert(out.end(), p, p + n);
}

// Whether a subtree carries the siblings that follow it (the first of a list does).
enum class Siblings { Follow, Stop };
// Whether a text may be absent (own values: length 0xFFFF) or not (array elements).
enum class Absent { Allowed, Refused };

class StreamWriter {
 public:
  explicit StreamWriter(std::vector<uint8_t>& out) : out_(out) {}

  int Subtree(const Node* node, int depth, Siblings siblingsOf) {
    if (depth > kMaxTreeDepth) return kWriteTooDeep;
    const bool siblings = siblingsOf == Siblings::Follow && node->nextSibling != nullptr;
    const bool hasValue = TypeInfoOf(ValueTypeOf(node->own.id)).storage != Storage::Group;
    out_.push_back(
        static_cast<uint8_t>((hasValue ? 1 : 0) | (node->firstChild ? 2 : 0) | (siblings ? 4 : 0)));
    PutU32(out_, node->own.id);
    int rc = hasValue ? Value(node->own) : kWriteOk;
    for (const ValueSlot* s = node->properties; rc == kWriteOk && s != nullptr; s = s->next) {
      if (SameItem(s->id, kNodeAddressId)) continue;
      PutU32(out_, s->id);
      rc = Value(*s);
    }
    if (rc != kWriteOk) return rc;
    PutU32(out_, kNodeAddressId);
    if (node->firstChild != nullptr) {
      rc = Subtree(node->firstChild, depth + 1, Siblings::Follow);
      if (rc != kWriteOk) return rc;
    }
    if (siblings) {
      // Siblings nest one level deeper on reading; the list is kept flat.
      for (const Node* s = node->nextSibling; s != nullptr; s = s->nextSibling) {
        rc = Subtree(s, depth + 1, Siblings::Stop);
        if (rc != kWriteOk) return rc;
      }
      out_.push_back(0xFF);
    }
    return kWriteOk;
  }

 private:
  int Ref(Storage s, const ValueRef& ref, Absent absent) {
    const bool allowNone = absent == Absent::Allowed;
    if (ref.data == nullptr && s != Storage::Block) {
      if (!allowNone) return kWriteTooLarge;
      PutU16(out_, 0xFFFF);
      return kWriteOk;
    }
    const size_t unit = s == Storage::WideText ? 2 : 1;
    const size_t units = s == Storage::Block ? ref.length : ref.length - 1;
    const size_t bytes = units * unit;
    if (bytes >= (allowNone && s != Storage::Block ? 0xFFFFu : 0x10000u)) return kWriteTooLarge;
    PutU16(out_, static_cast<uint32_t>(bytes));
    if (s == Storage::WideText) {
      const auto* chars = static_cast<const char16_t*>(ref.data);
      for (size_t i = 0; i < units; ++i) PutU16(out_, chars[i]);
    } else if (bytes > 0) {
      PutBytes(out_, ref.data, bytes);
    }
    return kWriteOk;
  }

  int Value(const ValueSlot& slot) {
    const TypeInfo info = TypeInfoOf(ValueTypeOf(slot.id));
    if (IsArrayId(slot.id)) return Array(slot, info);
    switch (info.storage) {
      case Storage::Group:
        return kWriteOk;
      case Storage::Boolean: {
        uint32_t v;
        std::memcpy(&v, slot.scalar, 4);
        out_.push_back(static_cast<uint8_t>(v > 0xFF ? 1 : v));
        return kWriteOk;
      }
      case Storage::Scalar:
      case Storage::Wide:
        PutBytes(out_, slot.scalar, info.streamSize);
        return kWriteOk;
      case Storage::Text:
      case Storage::WideText:
      case Storage::Block:
        return Ref(info.storage, slot.ref, Absent::Allowed);
      case Storage::Invalid:
        break;
    }
    return kWriteTooLarge;
  }

  int Array(const ValueSlot& slot, const TypeInfo& info) {
    const ArrayValue& a = slot.array;
    if (a.count > 0xFFFF) return kWriteTooLarge;
    PutU16(out_, a.count);
    PutU16(out_, a.step);
    if (a.count == 0) return kWriteOk;
    switch (info.storage) {
      case Storage::Text:
      case Storage::WideText:
      case Storage::Block: {
        const auto* refs = reinterpret_cast<const ValueRef*>(a.elements);
        for (uint32_t i = 0; i < a.count; ++i) {
          const int rc = Ref(info.storage, refs[i], Absent::Refused);
          if (rc != kWriteOk) return rc;
        }
        return kWriteOk;
      }
      case Storage::Boolean: {
        std::vector<uint8_t> packed((a.count + 7) / 8, 0);
        for (uint32_t i = 0; i < a.count; ++i) {
          uint32_t v;
          std::memcpy(&v, a.elements + 4 * i, 4);
          if (v != 0) packed[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
        }
        PutBytes(out_, packed.data(), packed.size());
        return kWriteOk;
      }
      default:
        PutBytes(out_, a.elements, static_cast<size_t>(a.count) * info.streamSize);
        return kWriteOk;
    }
  }

  std::vector<uint8_t>& out_;
};

}  // namespace

std::vector<uint8_t> AddBlockChecks(std::span<const uint8_t> raw) {
  std::vector<uint8_t> out;
  out.reserve(raw.size() + raw.size() / kCheckBlockSize * 4 + 4);
  uint32_t crc = kCrcStart, inBlock = 0;
  bool first = true;
  for (uint8_t b : raw) {
    out.push_back(b);
    crc = Crc32Update(crc, &b, 1);
    ++inBlock;
    // The header counts towards the first block but not towards its check.
    if (first && inBlock == kTreeHeaderSize) crc = kCrcStart;
    if (inBlock == kCheckBlockSize) {
      PutU32(out, crc);
      crc = kCrcStart;
      inBlock = 0;
      first = false;
    }
  }
  if (inBlock > 0) PutU32(out, crc);
  return out;
}

int EncodeTreeStream(const Node* root, uint32_t unusedField, std::vector<uint8_t>* out) {
  if (root == nullptr || out == nullptr) return kWriteBadOption;
  std::vector<uint8_t> raw;
  PutU16(raw, kTreeMagic);
  PutU32(raw, kTreeVersion);
  PutU32(raw, unusedField);
  StreamWriter writer(raw);
  const int rc = writer.Subtree(root, 1, Siblings::Follow);
  const std::vector<uint8_t> checked = AddBlockChecks(raw);
  out->insert(out->end(), checked.begin(), checked.end());
  return rc;
}

std::vector<uint8_t> ScrambleBytes(std::span<const uint8_t> data) {
  std::vector<uint8_t> out(data.begin(), data.end());
  ScrambleState state;
  state.Apply(out.data(), out.size());
  return out;
}

std::vector<uint8_t> CrcBlocks(std::span<const uint8_t> data, uint32_t largest) {
  std::vector<uint8_t> out;
  const size_t block = largest == 0 ? 1 : (largest > 0xFFFF ? 0xFFFF : largest);
  for (size_t at = 0; at < data.size(); at += block) {
    const size_t n = data.size() - at < block ? data.size() - at : block;
    PutU32(out, Crc32Update(kCrcStart, data.data() + at, n));
    PutU16(out, static_cast<uint32_t>(n));
    PutBytes(out, data.data() + at, n);
  }
  PutU32(out, kCrcStart);  // the CRC of no bytes
  PutU16(out, 0);
  return out;
}

int WriteTree(const Node* root, const WriteOptions& options, std::vector<uint8_t>* out) {
  if (out == nullptr || options.headerText.size() > 0xFFFF) return kWriteBadOption;
  if (options.treeCode != FilterCode::Tree && options.treeCode != FilterCode::TreeAlt) {
    return kWriteBadOption;
  }
  // Innermost first: what passes through the last filter is the tree header
  // and the tree stream; each filter's header and parameters pass through
  // the filters before it only.
  for (size_t i = 0; i < options.filters.size(); ++i) {
    for (size_t j = i + 1; j < options.filters.size(); ++j) {
      if (options.filters[i] == options.filters[j])
        return kWriteBadOption;  // readers refuse repeats
    }
  }
  std::vector<uint8_t> inner;
  PutBytes(inner, kContainerMagic, 4);
  PutU16(inner, static_cast<uint16_t>(options.treeCode));
  const int rc = EncodeTreeStream(root, options.unusedField, &inner);
  if (rc != kWriteOk) return rc;
  for (auto it = options.filters.rbegin(); it != options.filters.rend(); ++it) {
    std::vector<uint8_t> wrapped;
    PutBytes(wrapped, kContainerMagic, 4);
    PutU16(wrapped, static_cast<uint16_t>(*it));
    std::vector<uint8_t> body;
    switch (*it) {
      case FilterCode::Compress:
        PutU32(wrapped, static_cast<uint32_t>(inner.size()));
        PutU16(wrapped, 0);
        body = Compress(inner);
        break;
      case FilterCode::CrcBlocks: {
        const uint32_t largest = options.crcBlockSize == 0       ? 1
                                 : options.crcBlockSize > 0xFFFF ? 0xFFFF
                                                                 : options.crcBlockSize;
        PutU32(wrapped, largest);
        PutU16(wrapped, 0);
        body = CrcBlocks(inner, largest);
        break;
      }
      case FilterCode::Scramble:
        PutU16(wrapped, 0);
        body = ScrambleBytes(inner);
        break;
      default:
        return kWriteBadOption;
    }
    PutBytes(wrapped, body.data(), body.size());
    inner = std::move(wrapped);
  }
  out->clear();
  PutBytes(*out, kContainerMagic, 4);
  PutU16(*out, static_cast<uint32_t>(options.headerText.size()));
  PutBytes(*out, options.headerText.data(), options.headerText.size());
  PutBytes(*out, inner.data(), inner.size());
  return kWriteOk;
}

}  // namespace proptree
