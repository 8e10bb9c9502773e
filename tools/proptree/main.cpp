// proptree: turns a readable tree text into the stored form, and dumps it back.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "configobject/proptree/TreeText.h"
#include "tools/proptree/ProptreeCommand.h"

namespace {

bool ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = all.str();
  return true;
}

bool WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Property trees: readable text to the stored form (pack) and back (dump)."};
  app.require_subcommand(1);

  auto* pack = app.add_subcommand("pack", "write the stored form of a tree text");
  std::string packIn, packOut, header, chain;
  int treeCode = -1;
  unsigned crcBlock = 0;
  pack->add_option("input", packIn, "tree text (- for standard input)")->required();
  pack->add_option("output", packOut, "stored form")->required();
  pack->add_option("--filters", chain,
                   "filter chain, outermost first, comma-separated: compress, crc, scramble; "
                   "'none' for none (replaces the text's 'filters' line)");
  pack->add_option("--header", header, "container header text (replaces the text's 'header' line)");
  pack->add_option("--tree-code", treeCode, "code announcing the tree: 0 or 3")
      ->check(CLI::IsMember({0, 3}));
  pack->add_option("--crc-block", crcBlock, "largest CRC block, 1-65535")
      ->check(CLI::Range(1, 65535));

  auto* dump = app.add_subcommand("dump", "print a stored tree as text");
  std::string dumpIn, dumpOut;
  dump->add_option("input", dumpIn, "stored form")->required();
  dump->add_option("output", dumpOut, "text file (default: standard output)");

  CLI11_PARSE(app, argc, argv);

  std::string error;
  if (pack->parsed()) {
    std::string text;
    if (packIn == "-") {
      text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!ReadFile(packIn, &text)) {
      std::cerr << "proptree: cannot read " << packIn << "\n";
      return 1;
    }
    proptree::tool::PackOverrides overrides;
    if (pack->count("--filters") > 0) {
      std::vector<proptree::FilterCode> filters;
      std::stringstream names(chain);
      for (std::string name; std::getline(names, name, ',');) {
        proptree::FilterCode code;
        if (name == "none" || name.empty()) continue;
        if (!proptree::FilterFromName(name, &code)) {
          std::cerr << "proptree: unknown filter '" << name << "'\n";
          return 1;
        }
        filters.push_back(code);
      }
      overrides.filters = filters;
    }
    if (pack->count("--header") > 0) overrides.headerText = header;
    if (treeCode >= 0) overrides.treeCode = static_cast<proptree::FilterCode>(treeCode);
    if (crcBlock > 0) overrides.crcBlockSize = crcBlock;
    std::vector<uint8_t> stored;
    if (proptree::tool::Pack(text, overrides, &stored, &error) != 0) {
      std::cerr << "proptree: " << packIn << ": " << error << "\n";
      return 1;
    }
    if (!WriteFile(packOut, stored.data(), stored.size())) {
      std::cerr << "proptree: cannot write " << packOut << "\n";
      return 1;
    }
    return 0;
  }

  std::string bytes;
  if (!ReadFile(dumpIn, &bytes)) {
    std::cerr << "proptree: cannot read " << dumpIn << "\n";
    return 1;
  }
  std::string text;
  if (proptree::tool::Dump(std::vector<uint8_t>(bytes.begin(), bytes.end()), &text, &error) != 0) {
    std::cerr << "proptree: " << dumpIn << ": " << error << "\n";
    return 1;
  }
  if (dumpOut.empty()) {
    std::cout << text;
  } else if (!WriteFile(dumpOut, text.data(), text.size())) {
    std::cerr << "proptree: cannot write " << dumpOut << "\n";
    return 1;
  }
  return 0;
}
