// PdbLayout: where the blocks and records of a Palm database file lie, checked against the file's
// bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace conduit {

// PdbLimits: the longest record and block a caller accepts.
struct PdbLimits {
  uint32_t maxRecord = 65535;
  uint32_t maxBlock = 65535;
};

// PdbSpan: a piece of the file.
struct PdbSpan {
  uint32_t offset = 0;
  uint32_t length = 0;
};

// PdbEntry: one record entry of a record list and the bytes it owns.
struct PdbEntry {
  uint32_t listIndex = 0;
  PdbSpan data;
  uint8_t attributes = 0;
  uint32_t uniqueId = 0;  // 24 bits
};

// PdbLayout: the outcome of ScanPdb.
struct PdbLayout {
  uint32_t listCount = 0;
  bool hasAppInfo = false;
  PdbSpan appInfo;
  bool hasSortInfo = false;
  PdbSpan sortInfo;
  std::vector<PdbEntry> entries;  // in file order
};

// ScanPdb: reads the layout of a database file (all numbers big-endian): the
// app-info and sort-info offsets (at 52 and 56, 0 for none) and the record
// lists from offset 72 (next-list offset, record count, then 8-byte entries
// of data offset, attributes and 24-bit unique id), following next-list
// offsets until one is 0. Each piece runs from its offset to the next offset
// of the file's pieces, taken in the order app-info, sort-info, records (the
// last to the end of the file).
//
// Unsound files are refused rather than read past their end: a file shorter
// than a header and one list header, or whose list entries run past its end
// (kPdbTruncated); more than kMaxPdbRecords records (kPdbTooManyRecords);
// a following list that does not start after the entries of
// the one before, which also stops lists that loop (kPdbListLoop); a piece
// whose offset lies beyond the end, inside the header or the record lists, or
// before the piece ahead of it (kPdbBadOffset); a record or block longer
// than the limits (kPdbRecordTooLong, kPdbBlockTooLong). Returns 0 or one of
// those (see PdbImage.h); `layout` is complete only on 0.
int ScanPdb(std::span<const uint8_t> bytes, const PdbLimits& limits, PdbLayout& layout);

// ReadBigEndian16 / ReadBigEndian32: the number at `p`.
inline uint16_t ReadBigEndian16(const uint8_t* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace conduit
