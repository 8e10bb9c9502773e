// PdbTool: what qmpdb makes and shows: virus base databases, databases from record specs, dumps.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/pdb/PdbDatabase.h"

namespace qmpdb {

// BaseDate: the date of a virus base as the sync-time dialog shows it,
// "first / second / third"; stored at offsets 18, 22 and 20 of record 0.
struct BaseDate {
  int16_t first = 0;
  int16_t second = 0;
  int16_t third = 0;
};

// ParseBaseDate: "12/25/2004" (three signed 16-bit numbers separated by
// "/", spaces allowed). False for anything else.
bool ParseBaseDate(std::string_view text, BaseDate& out);

// VirusBaseDatabase: a database named `name` (type "DATA", creator "ZEPA")
// whose record 0 holds the base stamp (big-endian at 8) and the date (28
// bytes in all), followed by one record per virus: the byte 1 and the
// virus's name with a terminating zero.
conduit::PdbDatabase VirusBaseDatabase(std::string_view name, uint32_t stamp, const BaseDate& date,
                                       const std::vector<std::string>& viruses);

// ParseBytesSpec: "hex:0a ff 10", "text:hello" or "file:PATH" (the file's
// bytes) into `out`; the error text when it does not parse.
bool ParseBytesSpec(std::string_view spec, std::vector<uint8_t>& out, std::string& error);

// ParseRecordSpec: a record given as [ATTRIBUTES:]BYTES, where ATTRIBUTES
// is a number (0x40, 64) and BYTES a ParseBytesSpec; attributes 0x40 when
// left out.
bool ParseRecordSpec(std::string_view spec, conduit::PdbDatabaseRecord& out, std::string& error);

// Dump: a readable listing of the .pdb bytes: name, type, creator, blocks,
// records (index, attributes, unique id, length, the first bytes in hex), a
// virus base's stamp, date and virus count when record 0 is long enough, and
// whether the conduit's reader takes the file (and why not). Returns false
// when the bytes are not a database at all.
bool Dump(const std::vector<uint8_t>& bytes, std::ostream& out);

}  // namespace qmpdb
