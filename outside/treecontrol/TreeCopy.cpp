// The working tree as a copy of the pattern, written and read back.
#include "outside/treecontrol/TreeCopy.h"

#include <cstdint>
#include <vector>

#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeWriter.h"

namespace treecontrol {

proptree::Node* CopyTree(const proptree::Node* source, proptree::ItemId holderId) {
  proptree::Node* holder = proptree::CreateNode(nullptr, holderId);
  if (holder == nullptr || source == nullptr || source->firstChild == nullptr) return holder;
  proptree::WriteOptions plain;
  plain.headerText.clear();
  std::vector<uint8_t> stored;
  if (proptree::WriteTree(source->firstChild, plain, &stored) != proptree::kWriteOk ||
      proptree::ReadTree(stored.data(), stored.size(), holder) == nullptr) {
    proptree::DeleteSubtree(holder);
    return nullptr;
  }
  return holder;
}

}  // namespace treecontrol
