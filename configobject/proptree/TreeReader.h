// Reading a stored property tree from a memory block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "configobject/proptree/Node.h"

namespace proptree {

inline constexpr char kContainerMagic[4] = {'Q', 'M', 's', 'w'};
inline constexpr uint16_t kTreeMagic = 0xADAD;
inline constexpr uint32_t kTreeVersion = 1;
inline constexpr uint32_t kTreeHeaderSize = 10;    // magic, version, unused field
inline constexpr uint32_t kCheckBlockSize = 1020;  // tree bytes between two checks
inline constexpr uint32_t kWorkingBufferSize = 16384;
inline constexpr int kMaxTreeDepth = 256;  // deeper nesting is refused, not recursed into

// Filter codes of the chain headers.
enum class FilterCode : uint16_t {
  Tree = 0,
  Compress = 1,
  CrcBlocks = 2,
  TreeAlt = 3,
  Scramble = 4
};

// Why a read gave none; the caller of ReadTree needs only the null result.
enum class ReadStatus {
  Ok,
  NotThisFormat,       // no "QMsw" container, filter header or tree magic
  UnsupportedVersion,  // a tree version other than 1, an unknown filter code
  Corrupt,             // short data, CRC mismatch, bad flags, types or duplicates
  TooDeep,             // subtrees nested beyond kMaxTreeDepth
  NoMemory,
};

// ReadDetails: what a read found besides the tree, for tools that show a
// stored form; the reader itself needs none of it.
struct ReadDetails {
  ReadStatus status = ReadStatus::Corrupt;
  std::string headerText;
  std::vector<FilterCode> filters;  // outermost first
  FilterCode treeCode = FilterCode::Tree;
  uint32_t unusedField = 0;
  uint32_t crcBlockSize = 0;
};

// ReadTree: the tree stored in `block`. With a `receiver`, the new root (and
// any top-level siblings it has) is attached under it; otherwise it is
// returned standing alone and belongs to the caller (DeleteChain frees it).
// On any failure everything built is released, the receiver is unchanged
// and the result is null. `details`, when given, says why and what was found.
Node* ReadTree(const uint8_t* block, size_t size, Node* receiver = nullptr,
               ReadDetails* details = nullptr);

}  // namespace proptree
