// The proptree tool's commands: pack a tree text, dump a stored tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "configobject/proptree/TreeWriter.h"

namespace proptree::tool {

// PackOverrides: command-line settings that replace those of the text.
struct PackOverrides {
  std::optional<std::vector<FilterCode>> filters;
  std::optional<std::string> headerText;
  std::optional<FilterCode> treeCode;
  std::optional<uint32_t> crcBlockSize;
};

// Pack: the stored form of a tree text. 0, or 1 with `error` set.
int Pack(const std::string& text, const PackOverrides& overrides, std::vector<uint8_t>* stored,
         std::string* error);

// Dump: the text of a stored tree, with its header and filter lines. 0, or 1
// with `error` naming why the read failed.
int Dump(const std::vector<uint8_t>& stored, std::string* text, std::string* error);

}  // namespace proptree::tool
