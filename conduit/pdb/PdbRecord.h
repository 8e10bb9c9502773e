// PdbRecord: one record of a database file as the conduit carries it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace conduit {

// kRecordBufferSize: a record travels through a buffer of this many bytes;
// the reader refuses a file holding a longer record.
inline constexpr size_t kRecordBufferSize = 1024;

// PdbRecord: a record with its list, length, bytes, attributes and unique id.
// The records of an image follow one another in file order (a vector stands
// for the chain of `next` links).
struct PdbRecord {
  uint32_t listIndex = 0;  // the record list holding it, from 0
  uint32_t length = 0;     // bytes of `data` in use, at most kRecordBufferSize
  uint8_t data[kRecordBufferSize] = {};
  uint8_t attributes = 0;
  uint16_t uniqueIdHigh = 0;  // the unique id's first two bytes (big-endian in the file)
  uint8_t uniqueIdLow = 0;    // and its third

  // UniqueId: the 24-bit unique id.
  uint32_t UniqueId() const { return (uint32_t{uniqueIdHigh} << 8) | uniqueIdLow; }
};

}  // namespace conduit
