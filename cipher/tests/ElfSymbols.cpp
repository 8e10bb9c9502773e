// A small ELF64 reader: section headers, .dynsym and its string table.
#include "cipher/tests/ElfSymbols.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace cipher::test {
namespace {

// Offsets of the ELF64 structures used here, as the format defines them.
constexpr size_t kHeaderSize = 64;
constexpr size_t kSectionOffsetField = 0x28;     // e_shoff
constexpr size_t kSectionEntrySizeField = 0x3A;  // e_shentsize, e_shnum follows
constexpr size_t kSectionHeaderSize = 64;
constexpr size_t kSymbolSize = 24;
constexpr uint32_t kSectionDynSym = 11;
constexpr unsigned kBindGlobal = 1, kBindWeak = 2, kBindUnique = 10;

template <typename T>
bool Read(const std::vector<char>& file, size_t offset, T& value) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return true;
}

struct Section {
  uint32_t type = 0;
  uint64_t offset = 0;
  uint64_t size = 0;
  uint32_t link = 0;
};

bool ReadSection(const std::vector<char>& file, uint64_t tableOffset, uint16_t index, Section& s) {
  const uint64_t at = tableOffset + uint64_t{index} * kSectionHeaderSize;
  return Read(file, at + 4, s.type) && Read(file, at + 24, s.offset) &&
         Read(file, at + 32, s.size) && Read(file, at + 40, s.link) && s.offset <= file.size() &&
         s.size <= file.size() - s.offset;
}

}  // namespace

bool DefinedDynamicSymbols(const std::string& path, std::vector<std::string>& names,
                           std::string& error) {
  names.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<char> file{std::istreambuf_iterator<char>(in), {}};
  if (file.size() < kHeaderSize ||
      std::memcmp(file.data(),
                  "\x7F"
                  "ELF",
                  4) != 0 ||
      file[4] != 2 || file[5] != 1) {
    error = path + " is not a 64-bit little-endian ELF file";
    return false;
  }
  uint64_t tableOffset = 0;
  uint16_t entrySize = 0, count = 0;
  Read(file, kSectionOffsetField, tableOffset);
  Read(file, kSectionEntrySizeField, entrySize);
  Read(file, kSectionEntrySizeField + 2, count);
  if (entrySize != kSectionHeaderSize) {
    error = "unexpected section header size";
    return false;
  }
  for (uint16_t n = 0; n < count; ++n) {
    Section symbols;
    if (!ReadSection(file, tableOffset, n, symbols)) break;
    if (symbols.type != kSectionDynSym) continue;
    Section strings;
    if (!ReadSection(file, tableOffset, static_cast<uint16_t>(symbols.link), strings)) break;
    // Entry 0 is the reserved null symbol.
    for (uint64_t at = kSymbolSize; at + kSymbolSize <= symbols.size; at += kSymbolSize) {
      const uint64_t base = symbols.offset + at;
      uint32_t nameOffset = 0;
      uint8_t info = 0;
      uint16_t sectionIndex = 0;
      Read(file, base, nameOffset);
      Read(file, base + 4, info);
      Read(file, base + 6, sectionIndex);
      const unsigned binding = info >> 4;
      if (sectionIndex == 0) continue;  // undefined: imported, not offered
      if (binding != kBindGlobal && binding != kBindWeak && binding != kBindUnique) continue;
      if (nameOffset >= strings.size) continue;
      const char* name = file.data() + strings.offset + nameOffset;
      names.emplace_back(name, strnlen(name, strings.size - nameOffset));
    }
    return true;
  }
  error = path + " has no dynamic symbol table";
  return false;
}

}  // namespace cipher::test
