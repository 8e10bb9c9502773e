// Reads the defined dynamic symbols of a 64-bit little-endian ELF file.
#pragma once

#include <string>
#include <vector>

namespace cipher::test {

// DefinedDynamicSymbols: the names of the global and weak symbols that the
// file's dynamic symbol table defines (what the loader can resolve). Returns
// false with a reason in error when the file cannot be read or is not an
// ELF64 little-endian object with a dynamic symbol table.
bool DefinedDynamicSymbols(const std::string& path, std::vector<std::string>& names,
                           std::string& error);

}  // namespace cipher::test
