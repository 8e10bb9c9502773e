// PdbImage: a Palm database file read whole from disk, and the reader that makes one.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/pdb/PdbRecord.h"

namespace conduit {

// kPdbHeaderSize: the file's header; its first kPdbNameSize bytes are the
// database name.
inline constexpr size_t kPdbHeaderSize = 72;
inline constexpr size_t kPdbNameSize = 32;

// kMaxPdbFileSize: larger files are refused rather than read into memory.
inline constexpr uint64_t kMaxPdbFileSize = 64u * 1024 * 1024;

// Results of reading an image, besides 0 and the Win32 code of a file that
// cannot be opened or read. Every one of them means the file is not used.
inline constexpr int kPdbTruncated = -1;       // ends inside the header or a record list
inline constexpr int kPdbBadOffset = -2;       // a block or record offset outside the file, inside
                                               // the header or record lists, or out of order
inline constexpr int kPdbListLoop = -3;        // a next-list offset that does not lead forward
inline constexpr int kPdbRecordTooLong = -4;   // a record longer than kRecordBufferSize
inline constexpr int kPdbBlockTooLong = -5;    // an app-info or sort-info block over 65535 bytes
inline constexpr int kPdbFileTooLarge = -6;    // over kMaxPdbFileSize
inline constexpr int kPdbTooManyRecords = -7;  // more than kMaxPdbRecords records in all lists

// kMaxPdbRecords: a handheld database holds at most this many records.
inline constexpr uint32_t kMaxPdbRecords = 0xFFFF;

// PdbImage: the header, the number of record lists, the records in file
// order, and the app-info and sort-info blocks. A block is present when its
// offset in the file is not 0 (it may then be empty).
struct PdbImage {
  std::array<uint8_t, kPdbHeaderSize> header = {};
  uint32_t listCount = 0;
  std::vector<PdbRecord> records;
  std::vector<uint8_t> appInfo;
  uint16_t appInfoLength = 0;
  bool hasAppInfo = false;
  std::vector<uint8_t> sortInfo;
  uint16_t sortInfoLength = 0;
  bool hasSortInfo = false;
  uint32_t fileSize = 0;

  // Name: the database name, the header's first 32 bytes up to the first
  // zero byte.
  std::string Name() const;
};

// ReadPdbImage: reads the file at a desktop path ("C:\ZEPP\LastUpdate\ZEPDB.pdb";
// a host path such as "/tmp/x.pdb" is one too) into `image`. Returns 0; the
// Win32 code when the file cannot be opened or read (2 when missing); or one
// of the kPdb* results for a file that is not a sound database. Record
// lists are followed through their next-list offsets; a record's or block's
// length runs to the next offset in the file (or to the end of the file).
// On failure `image` is left empty.
int ReadPdbImage(std::string_view path, PdbImage& image);

// ParsePdbImage: the same from bytes already in memory (the reader's core,
// and the fuzz target's entry).
int ParsePdbImage(std::span<const uint8_t> bytes, PdbImage& image);

// FindRecord: the n-th record (from 0) of the list with `listIndex`, or null
// when there is none (a list index beyond the lists finds nothing).
const PdbRecord* FindRecord(const PdbImage& image, uint32_t listIndex, uint32_t n);

// DescribePdbResult: a short English text for a reader result, for tools.
const char* DescribePdbResult(int result);

}  // namespace conduit
