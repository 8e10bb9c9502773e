// The producer's text list of virus records and the unsigned base built from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zepbase {

// BaseEntry: one record to write.
struct BaseEntry {
  std::u16string name;             // at most 31 units
  std::vector<uint8_t> signature;  // not empty
  std::u16string description;      // at most 128 units
  uint32_t value = 0;
};

// BaseList: the records in file order and the header's build value.
struct BaseList {
  uint32_t build = 0;
  std::vector<BaseEntry> entries;
};

// ParseBaseList: reads the list text. Returns an empty string, or a message
// naming the line at fault (the list is then incomplete).
std::string ParseBaseList(std::string_view text, BaseList& list);

// BuildBaseContent: the unsigned base: header, each record as chunks 1, 3, 2,
// 4 (left out for an empty description), 254, and a file-end chunk, with the
// payloads scrambled.
std::vector<uint8_t> BuildBaseContent(const BaseList& list);

}  // namespace zepbase
