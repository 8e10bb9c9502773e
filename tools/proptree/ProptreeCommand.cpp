// Pack and dump for the proptree tool, kept apart from argument handling.
#include "tools/proptree/ProptreeCommand.h"

#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeText.h"

namespace proptree::tool {
namespace {

const char* StatusText(ReadStatus status) {
  switch (status) {
    case ReadStatus::Ok:
      return "ok";
    case ReadStatus::NotThisFormat:
      return "not a stored property tree";
    case ReadStatus::UnsupportedVersion:
      return "unsupported tree version or filter code";
    case ReadStatus::Corrupt:
      return "corrupt (short data, check mismatch, bad flags, types or duplicates)";
    case ReadStatus::TooDeep:
      return "subtrees nested too deeply";
    case ReadStatus::NoMemory:
      return "out of memory";
  }
  return "unknown";
}

}  // namespace

int Pack(const std::string& text, const PackOverrides& overrides, std::vector<uint8_t>* stored,
         std::string* error) {
  TreeDocument doc;
  if (ParseTreeText(text, &doc, error) != 0) return 1;
  if (doc.root == nullptr) {
    *error = "the text holds no node";
    return 1;
  }
  WriteOptions options = doc.options;
  if (overrides.filters) options.filters = *overrides.filters;
  if (overrides.headerText) options.headerText = *overrides.headerText;
  if (overrides.treeCode) options.treeCode = *overrides.treeCode;
  if (overrides.crcBlockSize) options.crcBlockSize = *overrides.crcBlockSize;
  switch (WriteTree(doc.root, options, stored)) {
    case kWriteOk:
      return 0;
    case kWriteTooLarge:
      *error = "a text, block or array exceeds the stored form's 16-bit lengths";
      return 1;
    case kWriteTooDeep:
      *error = "nodes nested too deeply";
      return 1;
    default:
      *error = "bad options (a repeated filter, or a header text over 65535 bytes)";
      return 1;
  }
}

int Dump(const std::vector<uint8_t>& stored, std::string* text, std::string* error) {
  ReadDetails details;
  Node* root = ReadTree(stored.data(), stored.size(), nullptr, &details);
  if (root == nullptr) {
    *error = StatusText(details.status);
    return 1;
  }
  WriteOptions options;
  options.headerText = details.headerText;
  options.filters = details.filters;
  options.treeCode = details.treeCode;
  options.unusedField = details.unusedField;
  if (details.crcBlockSize != 0) options.crcBlockSize = details.crcBlockSize;
  *text = PrintTreeText(root, &options);
  DeleteChain(root);
  return 0;
}

}  // namespace proptree::tool
