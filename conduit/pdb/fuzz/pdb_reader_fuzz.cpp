// Fuzz target: the database file reader and the general database reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "conduit/pdb/PdbDatabase.h"
#include "conduit/pdb/PdbImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  conduit::PdbImage image;
  if (conduit::ParsePdbImage(bytes, image) == 0) {
    // Every record of a read image fits its buffer and every lookup stays
    // within the records.
    for (const auto& record : image.records)
      if (record.length > conduit::kRecordBufferSize) __builtin_trap();
    (void)conduit::FindRecord(image, 0, 0);
    (void)conduit::FindRecord(image, image.listCount, 0);
  }
  conduit::PdbDatabase database;
  if (conduit::ParsePdbDatabase(bytes, database) == 0) {
    // What is written back reads again as the same records.
    conduit::PdbDatabase again;
    if (conduit::ParsePdbDatabase(conduit::SerializePdb(database), again) != 0) __builtin_trap();
    if (again.records.size() != database.records.size()) __builtin_trap();
    for (size_t i = 0; i < database.records.size(); ++i)
      if (again.records[i].data != database.records[i].data) __builtin_trap();
  }
  return 0;
}
