// Builders of hand-made tree streams and stored forms for the reader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "configobject/proptree/Node.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeWriter.h"

namespace proptree::test {

// Raw: little-endian bytes appended in order.
struct Raw {
  std::vector<uint8_t> bytes;
  Raw& U8(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Raw& U16(uint32_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Raw& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Raw& Text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  // Header: tree magic, version and the unused field.
  Raw& Header(uint32_t version = 1) { return U16(kTreeMagic).U32(version).U32(0); }
  Raw& EndProperties() { return U32(kNodeAddressId); }
};

// Container: "QMsw", an empty header text, the filter header for the tree,
// then `checkedStream` as it is.
inline std::vector<uint8_t> Container(const std::vector<uint8_t>& checkedStream) {
  Raw r;
  r.Text("QMsw").U16(0).Text("QMsw").U16(0);
  r.bytes.insert(r.bytes.end(), checkedStream.begin(), checkedStream.end());
  return r.bytes;
}

// StoredRaw: a raw tree stream with its block checks in a container.
inline std::vector<uint8_t> StoredRaw(const Raw& raw) {
  return Container(AddBlockChecks(raw.bytes));
}

// SampleTree: one item of every value kind, with properties, arrays and nesting.
Node* SampleTree();

}  // namespace proptree::test
