// The readable text form of property trees and their stored-form options.
#pragma once

#include <string>
#include <string_view>

#include "configobject/proptree/Node.h"
#include "configobject/proptree/TreeWriter.h"

namespace proptree {

// TreeDocument: a parsed text: the options of the stored form and the root
// chain (the first top-level node and its siblings), owned by the document.
class TreeDocument {
 public:
  TreeDocument() = default;
  ~TreeDocument() { DeleteChain(root); }
  TreeDocument(const TreeDocument&) = delete;
  TreeDocument& operator=(const TreeDocument&) = delete;

  WriteOptions options;
  Node* root = nullptr;
};

// ParseTreeText: fills an empty document from the text form. Returns 0, or
// -1 with `error` set to "line N: what" (the document is then left empty).
int ParseTreeText(std::string_view text, TreeDocument* document, std::string* error);

// PrintTreeText: the text form of a root chain, preceded by the option lines
// when `options` is given. ParseTreeText reads it back to an equal tree.
std::string PrintTreeText(const Node* root, const WriteOptions* options);

// FilterName / FilterFromName: "compress", "crc", "scramble" and back; false
// for an unknown name.
const char* FilterName(FilterCode code);
bool FilterFromName(std::string_view name, FilterCode* code);

}  // namespace proptree
