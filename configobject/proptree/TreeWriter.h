// Writing a property tree in its stored form, with any chain of filters.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "configobject/proptree/Node.h"
#include "configobject/proptree/TreeReader.h"

namespace proptree {

// The descriptive header text of the configuration pattern.
inline constexpr char kPatternHeaderText[] = "\r\nQuillmark Lab configuration pattern\r\n ";

struct WriteOptions {
  std::string headerText = kPatternHeaderText;
  std::vector<FilterCode> filters;         // outermost first: Compress, CrcBlocks, Scramble
  FilterCode treeCode = FilterCode::Tree;  // Tree (0) or TreeAlt (3)
  uint32_t crcBlockSize = 4096;            // largest block of a CrcBlocks filter
  uint32_t unusedField = 0;                // the tree header's field that readers skip
};

inline constexpr int kWriteOk = 0;
inline constexpr int kWriteTooLarge = -1;  // a text, block or array beyond the 16-bit lengths
inline constexpr int kWriteTooDeep = -2;   // nesting a reader would refuse
inline constexpr int kWriteBadOption =
    -3;  // an unknown filter code, a header text over 65535 bytes

// EncodeTreeStream: the checked tree stream of `root` and the top-level
// siblings that follow it, appended to `out`. kWriteOk or a failure, in which
// case `out` holds a partial stream.
int EncodeTreeStream(const Node* root, uint32_t unusedField, std::vector<uint8_t>* out);

// WriteTree: the whole stored form of `root` (and its top-level siblings)
// in `out`, replacing its content. kWriteOk or a failure code.
int WriteTree(const Node* root, const WriteOptions& options, std::vector<uint8_t>* out);

// AddBlockChecks: a raw tree stream (from its magic on) with the CRC after
// every check block and after a last partial one.
std::vector<uint8_t> AddBlockChecks(std::span<const uint8_t> raw);

// ScrambleBytes: the code 4 transform of `data` from the seed (its own inverse).
std::vector<uint8_t> ScrambleBytes(std::span<const uint8_t> data);

// CrcBlocks: `data` as code 2 blocks of at most `largest` bytes, with the end block.
std::vector<uint8_t> CrcBlocks(std::span<const uint8_t> data, uint32_t largest);

}  // namespace proptree
