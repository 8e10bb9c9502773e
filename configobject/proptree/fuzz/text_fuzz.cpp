// Fuzz target: any text given to the tree-text parser; what parses must
// survive a write and a read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeText.h"
#include "configobject/proptree/TreeWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  proptree::TreeDocument doc;
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (proptree::ParseTreeText(text, &doc, &error) != 0 || doc.root == nullptr) return 0;
  std::vector<uint8_t> stored;
  if (proptree::WriteTree(doc.root, doc.options, &stored) != proptree::kWriteOk) return 0;
  proptree::Node* back = proptree::ReadTree(stored.data(), stored.size());
  if (back == nullptr) std::abort();  // a written tree must read
  if (proptree::PrintTreeText(back, nullptr) != proptree::PrintTreeText(doc.root, nullptr))
    std::abort();
  proptree::DeleteChain(back);
  return 0;
}
