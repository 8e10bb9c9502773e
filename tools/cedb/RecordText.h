// A record's read buffer shown as text, one line per property.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cedb {

// DescribeRecord: one line per property of a read buffer (count headers,
// then the data), in the PROP form "ID:TYPE=VALUE"; a blob shows its size
// and its first 16 bytes in hex. A header or offset outside the buffer is
// shown as "(damaged)" instead of being followed.
std::vector<std::string> DescribeRecord(std::span<const uint8_t> buffer, uint16_t count);

}  // namespace cedb
