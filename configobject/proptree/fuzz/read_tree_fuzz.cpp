// Fuzz target: any bytes given to the stored-tree reader.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "configobject/proptree/Node.h"
#include "configobject/proptree/TreeReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so any read past the block is caught.
  std::vector<uint8_t> block(data, data + size);
  proptree::Node* tree = proptree::ReadTree(block.data(), block.size());
  proptree::DeleteChain(tree);
  return 0;
}
