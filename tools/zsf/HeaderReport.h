// The text `zsf check` prints for the first bytes of a container file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zsf {

// DescribeHeader: one "name: value" line per header field of the bytes given
// (the start of a file of fileSize bytes), with the cipher's name and the
// file size the header implies. Fewer than 52 bytes give a line saying so.
std::string DescribeHeader(std::span<const uint8_t> bytes, uint64_t fileSize);

}  // namespace zsf
