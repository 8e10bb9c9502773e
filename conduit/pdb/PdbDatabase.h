// PdbDatabase: a whole Palm database with records of any length, read from and written to .pdb
// bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/pdb/PdbImage.h"

namespace conduit {

// PdbDatabaseRecord: one record; `data` holds at most 65535 bytes.
struct PdbDatabaseRecord {
  uint8_t attributes = 0;
  uint32_t uniqueId = 0;  // 24 bits
  std::vector<uint8_t> data;
};

// PdbDatabase: the header as stored (its offsets at 52 and 56 are rewritten
// on writing), the two blocks and the records. The emulated handheld keeps
// its databases in this form, and the PDB tool makes and shows it.
struct PdbDatabase {
  std::array<uint8_t, kPdbHeaderSize> header = {};
  bool hasAppInfo = false;
  std::vector<uint8_t> appInfo;
  bool hasSortInfo = false;
  std::vector<uint8_t> sortInfo;
  std::vector<PdbDatabaseRecord> records;

  // Name / SetName: the database name (at most 31 bytes and a zero).
  std::string Name() const;
  void SetName(std::string_view name);
  // Type / Creator and their setters: the four-character codes at 60 and 64.
  std::string Type() const;
  std::string Creator() const;
  void SetType(std::string_view code);
  void SetCreator(std::string_view code);
  // NextUniqueId: one more than the largest unique id of a record (1 for
  // none), within 24 bits; 0 when every id is taken.
  uint32_t NextUniqueId() const;
};

// ParsePdbDatabase: the database in `bytes`, with ScanPdb's checks and
// records of up to 65535 bytes. Every record list is read; they become one.
// Returns 0 or a kPdb* result (`database` then empty).
int ParsePdbDatabase(std::span<const uint8_t> bytes, PdbDatabase& database);

// SerializePdb: the .pdb bytes of a database: the header, one record list,
// two bytes of padding, the app-info block, the sort-info block and the
// records. Blocks and records longer than 65535 bytes are the caller's to
// avoid (ParsePdbDatabase would refuse the result).
std::vector<uint8_t> SerializePdb(const PdbDatabase& database);

// WriteBigEndian16 / WriteBigEndian32: stores a number at `p`.
void WriteBigEndian16(uint8_t* p, uint16_t value);
void WriteBigEndian32(uint8_t* p, uint32_t value);

}  // namespace conduit
