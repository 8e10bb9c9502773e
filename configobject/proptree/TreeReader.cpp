// The stored form: container header, filter chain and the checked tree stream.
#include "configobject/proptree/TreeReader.h"

#include <cstring>
#include <optional>

#include "configobject/proptree/Allocation.h"
#include "configobject/proptree/ByteSource.h"
#include "configobject/proptree/Crc32.h"
#include "configobject/proptree/CrcBlockFilter.h"
#include "configobject/proptree/Decompressor.h"
#include "configobject/proptree/Scrambler.h"
#include "configobject/proptree/Value.h"

namespace proptree {
namespace {

// Scratch: one block from the allocation pair, released on scope exit.
class Scratch {
 public:
  explicit Scratch(size_t size) : data_(static_cast<uint8_t*>(Allocate(size))) {}
  ~Scratch() { Release(data_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  uint8_t* get() const { return data_; }

 private:
  uint8_t* data_;
};

// TreeStream: the tree bytes through the working buffer, with the CRC check
// after every kCheckBlockSize bytes.
class TreeStream {
 public:
  explicit TreeStream(ByteSource& chain) : chain_(chain) {}
  ~TreeStream() { Release(buffer_); }
  TreeStream(const TreeStream&) = delete;
  TreeStream& operator=(const TreeStream&) = delete;

  bool Open() {
    buffer_ = static_cast<uint8_t*>(Allocate(kWorkingBufferSize));
    return buffer_ != nullptr;
  }

  bool Read(uint8_t* out, size_t size) {
    while (size > 0) {
      if (position_ == length_ && !Refill()) return false;
      size_t n = length_ - position_;
      if (n > size) n = size;
      if (n > kCheckBlockSize - inBlock_) n = kCheckBlockSize - inBlock_;
      if (first_ && inBlock_ < kTreeHeaderSize && n > kTreeHeaderSize - inBlock_) {
        n = kTreeHeaderSize - inBlock_;
      }
      std::memcpy(out, buffer_ + position_, n);
      crc_ = Crc32Update(crc_, buffer_ + position_, n);
      position_ += n;
      inBlock_ += static_cast<uint32_t>(n);
      out += n;
      size -= n;
      // The header is outside the first check although it counts towards the block.
      if (first_ && inBlock_ == kTreeHeaderSize) crc_ = kCrcStart;
      if (inBlock_ == kCheckBlockSize && !Check()) return false;
    }
    return true;
  }

  bool Peek(uint8_t* byte) {
    if (position_ == length_ && !Refill()) return false;
    *byte = buffer_[position_];
    return true;
  }

  // Finish: the check after a last partial block.
  bool Finish() { return inBlock_ == 0 || Check(); }

 private:
  bool Refill() {
    const long n = chain_.Read(buffer_, kWorkingBufferSize);
    if (n <= 0) return false;
    length_ = static_cast<size_t>(n);
    position_ = 0;
    return true;
  }

  bool Check() {
    uint8_t stored[4];
    const uint32_t computed = crc_;
    // The check value itself is not part of any block.
    for (uint8_t& b : stored) {
      if (position_ == length_ && !Refill()) return false;
      b = buffer_[position_++];
    }
    if (LoadU32(stored) != computed) return false;
    crc_ = kCrcStart;
    inBlock_ = 0;
    first_ = false;
    return true;
  }

  ByteSource& chain_;
  uint8_t* buffer_ = nullptr;
  size_t length_ = 0;
  size_t position_ = 0;
  uint32_t crc_ = kCrcStart;
  uint32_t inBlock_ = 0;
  bool first_ = true;
};

class Parser {
 public:
  explicit Parser(TreeStream& stream) : in_(stream) {}
  ReadStatus status = ReadStatus::Corrupt;

  bool Header(uint32_t* unusedField) {
    uint8_t h[kTreeHeaderSize];
    if (!in_.Read(h, sizeof h)) return false;
    if (LoadU16(h) != kTreeMagic) return Fail(ReadStatus::NotThisFormat);
    if (LoadU32(h + 2) != kTreeVersion) return Fail(ReadStatus::UnsupportedVersion);
    *unusedField = LoadU32(h + 6);
    return true;
  }

  bool Subtree(Node* parent, int depth) {
    if (depth > kMaxTreeDepth) return Fail(ReadStatus::TooDeep);
    uint8_t flags;
    uint32_t id;
    if (!U8(&flags) || !U32(&id)) return false;
    if (flags >= 8) return false;
    if (!IsValidItemId(id)) return false;
    Node* node = CreateNode(parent, id);
    if (node == nullptr) return false;  // a duplicate sibling, or no memory
    if ((flags & 1) && !Value(&node->own)) return false;
    for (;;) {
      uint32_t pid;
      if (!U32(&pid)) return false;
      if (SameItem(pid, kNodeAddressId)) break;
      ValueSlot* slot = AddProperty(node, pid);
      if (slot == nullptr || !Value(slot)) return false;
    }
    if ((flags & 2) && !Subtree(node, depth + 1)) return false;
    if (flags & 4) {
      for (;;) {
        uint8_t next;
        if (!in_.Peek(&next)) return false;
        if (next == 0xFF) return U8(&next);
        if (!Subtree(parent, depth + 1)) return false;
      }
    }
    return true;
  }

  bool Finish() { return in_.Finish(); }

 private:
  bool Fail(ReadStatus why) {
    status = why;
    return false;
  }
  bool U8(uint8_t* v) { return in_.Read(v, 1); }
  bool U16(uint16_t* v) {
    uint8_t b[2];
    if (!in_.Read(b, 2)) return false;
    *v = LoadU16(b);
    return true;
  }
  bool U32(uint32_t* v) {
    uint8_t b[4];
    if (!in_.Read(b, 4)) return false;
    *v = LoadU32(b);
    return true;
  }

  // Units: reads a length-prefixed text or block into scratch; false on bad data.
  bool Units(Storage s, uint16_t length, const auto& take) {
    if (s == Storage::WideText && (length & 1)) return false;
    Scratch bytes(length);
    if (bytes.get() == nullptr) return Fail(ReadStatus::NoMemory);
    if (!in_.Read(bytes.get(), length)) return false;
    if (s != Storage::WideText) return take(bytes.get(), length);
    // Wide text is little-endian in the stream.
    Scratch chars(length);
    if (chars.get() == nullptr) return Fail(ReadStatus::NoMemory);
    auto* wide = reinterpret_cast<char16_t*>(chars.get());
    for (uint32_t i = 0; i < length / 2u; ++i) wide[i] = LoadU16(bytes.get() + 2 * i);
    return take(chars.get(), length / 2u);
  }

  bool Value(ValueSlot* slot) {
    const TypeInfo info = TypeInfoOf(ValueTypeOf(slot->id));
    if (IsArrayId(slot->id)) return ArrayOf(slot, info);
    uint8_t raw[16];
    switch (info.storage) {
      case Storage::Group:
        return true;
      case Storage::Scalar:
      case Storage::Boolean: {
        if (!in_.Read(raw, info.streamSize)) return false;
        uint32_t v = 0;
        for (int i = info.streamSize - 1; i >= 0; --i) v = (v << 8) | raw[i];
        SetValue(slot, v, 0);
        return true;
      }
      case Storage::Wide:
        if (!in_.Read(raw, info.streamSize)) return false;
        SetValue(slot, reinterpret_cast<uintptr_t>(raw), 0);
        return true;
      case Storage::Text:
      case Storage::WideText:
      case Storage::Block: {
        uint16_t length;
        if (!U16(&length)) return false;
        if (length == 0xFFFF && info.storage != Storage::Block) return true;  // no text
        if (length == 0) {
          if (info.storage == Storage::Block) return true;
          static const char16_t empty = 0;
          return SetValue(slot, reinterpret_cast<uintptr_t>(&empty), 1) != 0 ||
                 Fail(ReadStatus::NoMemory);
        }
        return Units(info.storage, length, [&](const uint8_t* units, uint32_t count) {
          const uint32_t n = info.storage == Storage::Block ? count : count + 1;
          return SetValue(slot, reinterpret_cast<uintptr_t>(units), n) != 0 ||
                 Fail(ReadStatus::NoMemory);
        });
      }
      case Storage::Invalid:
        break;
    }
    return false;
  }

  bool ArrayOf(ValueSlot* slot, const TypeInfo& info) {
    uint16_t count, step;
    if (!U16(&count) || !U16(&step)) return false;
    SetArrayStep(slot, step);
    if (count == 0) return true;
    if (IsHeldByRef(info.storage)) {
      for (uint32_t i = 0; i < count; ++i) {
        uint16_t length;
        if (!U16(&length)) return false;
        const bool ok = Units(info.storage, length, [&](const uint8_t* units, uint32_t n) {
          return AppendRef(slot, units, n) || Fail(ReadStatus::NoMemory);
        });
        if (!ok) return false;
      }
      return true;
    }
    if (info.storage == Storage::Boolean) {
      const uint32_t packed = (count + 7u) / 8u;
      uint8_t bits[8192];
      if (!in_.Read(bits, packed)) return false;
      Scratch values(count * 4u);
      if (values.get() == nullptr) return Fail(ReadStatus::NoMemory);
      for (uint32_t i = 0; i < count; ++i) {
        const uint32_t v = (bits[i / 8] >> (i % 8)) & 1;
        std::memcpy(values.get() + 4 * i, &v, 4);
      }
      return AppendElements(slot, values.get(), count) || Fail(ReadStatus::NoMemory);
    }
    // Fixed-size elements are laid out in memory as in the stream.
    const size_t bytes = static_cast<size_t>(count) * info.streamSize;
    Scratch values(bytes);
    if (values.get() == nullptr) return Fail(ReadStatus::NoMemory);
    if (!in_.Read(values.get(), bytes)) return false;
    return AppendElements(slot, values.get(), count) || Fail(ReadStatus::NoMemory);
  }

  TreeStream& in_;
};

// FilterChain: the memory block with at most one filter of each kind on top;
// each new filter reads from the chain as it stood when its header came.
class FilterChain {
 public:
  explicit FilterChain(ByteSource& memory) : top_(&memory) {}

  ByteSource& top() { return *top_; }
  uint32_t crcBlockSize() const { return crc_ ? crc_->largest() : 0; }

  // Install: puts the filter of `code` on top and reads its parameters. A
  // code seen twice is refused: one object can't be its own source.
  bool Install(FilterCode code) {
    switch (code) {
      case FilterCode::Scramble:
        if (scramble_) return false;
        top_ = &scramble_.emplace(*top_);
        return scramble_->Open();
      case FilterCode::CrcBlocks:
        if (crc_) return false;
        top_ = &crc_.emplace(*top_);
        return crc_->Open();
      case FilterCode::Compress:
        if (expand_) return false;
        top_ = &expand_.emplace(*top_);
        return expand_->Open();
      default:
        return false;
    }
  }

 private:
  ByteSource* top_;
  std::optional<Scrambler> scramble_;
  std::optional<CrcBlockFilter> crc_;
  std::optional<Decompressor> expand_;
};

}  // namespace

Node* ReadTree(const uint8_t* block, size_t size, Node* receiver, ReadDetails* details) {
  ReadDetails local;
  ReadDetails& found = details != nullptr ? *details : local;
  found = ReadDetails{};
  ReadStatus& why = found.status;
  why = ReadStatus::NotThisFormat;
  if (block == nullptr || size < 6 || std::memcmp(block, kContainerMagic, 4) != 0) return nullptr;
  const size_t textLength = LoadU16(block + 4);
  if (size - 6 < textLength) {
    why = ReadStatus::Corrupt;
    return nullptr;
  }
  if (details != nullptr)
    found.headerText.assign(reinterpret_cast<const char*>(block) + 6, textLength);
  MemorySource memory(block + 6 + textLength, size - 6 - textLength);

  FilterChain chain(memory);
  for (;;) {
    uint8_t header[6];
    if (!ReadExact(chain.top(), header, sizeof header)) {
      why = ReadStatus::Corrupt;
      return nullptr;
    }
    if (std::memcmp(header, kContainerMagic, 4) != 0) return nullptr;
    const auto code = static_cast<FilterCode>(LoadU16(header + 4));
    if (code == FilterCode::Tree || code == FilterCode::TreeAlt) {
      found.treeCode = code;
      break;
    }
    if (details != nullptr) found.filters.push_back(code);
    why = ReadStatus::Corrupt;
    if (code != FilterCode::Scramble && code != FilterCode::CrcBlocks &&
        code != FilterCode::Compress) {
      why = ReadStatus::UnsupportedVersion;
      return nullptr;
    }
    if (!chain.Install(code)) return nullptr;
    if (code == FilterCode::CrcBlocks) found.crcBlockSize = chain.crcBlockSize();
  }

  TreeStream stream(chain.top());
  if (!stream.Open()) {
    why = ReadStatus::NoMemory;
    return nullptr;
  }
  // The root subtree is read under a holder so that its siblings get the
  // same uniqueness rule as any children; the holder is dropped afterwards.
  Node* holder = CreateNode(nullptr, kOwnValueId | 1);
  if (holder == nullptr) {
    why = ReadStatus::NoMemory;
    return nullptr;
  }
  Parser parser(stream);
  why = ReadStatus::Corrupt;
  if (!parser.Header(&found.unusedField) || !parser.Subtree(holder, 1) || !parser.Finish()) {
    why = parser.status;
    DeleteSubtree(holder);
    return nullptr;
  }
  if (receiver != nullptr) {
    for (Node* n = holder->firstChild; n != nullptr; n = n->nextSibling) {
      for (Node* c = receiver->firstChild; c != nullptr; c = c->nextSibling) {
        if (SameItem(c->own.id, n->own.id)) {
          DeleteSubtree(holder);
          return nullptr;
        }
      }
    }
  }
  Node* root = holder->firstChild;
  holder->firstChild = nullptr;
  DeleteSubtree(holder);
  for (Node* n = root; n != nullptr;) {
    Node* next = n->nextSibling;
    n->parent = nullptr;
    if (receiver != nullptr) {
      n->nextSibling = nullptr;
      AttachNode(n, receiver);
    }
    n = next;
  }
  why = ReadStatus::Ok;
  return root;
}

}  // namespace proptree
