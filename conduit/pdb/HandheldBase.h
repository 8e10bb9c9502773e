// ReadHandheldBase: the virus base on the handheld: known viruses, base stamp and date.
#pragma once

#include <cstddef>
#include <cstdint>

#include "conduit/pdb/ConduitLink.h"
#include "conduit/pdb/PdbLayout.h"

namespace conduit {

// kBaseStampOffset and the date's offsets in record 0 of a virus base
// ("ZEPDB"), all big-endian.
inline constexpr size_t kBaseStampOffset = 8;
inline constexpr size_t kBaseDateFirstOffset = 18;
inline constexpr size_t kBaseDateSecondOffset = 22;
inline constexpr size_t kBaseDateThirdOffset = 20;

// kDateTextSize: the sync-time dialog's text buffers hold 32 characters.
inline constexpr size_t kDateTextSize = 32;

// ReadHandheldBase: opens the handheld database "ZEPDB" (card 0, mode 0xF0)
// and returns the number of its records after record 0 whose first byte is
// 1, or -1 when it does not open (then nothing is set). Stores record 0's
// base stamp in `handheldStamp` (0 when the database has no record 0). When
// `dateText` is not null it receives (kDateTextSize bytes, terminated) the
// numbers at offsets 18, 22 and 20 of record 0 as signed decimals joined by
// " / ", or "" without a record 0. Records are read through a 1024-byte
// buffer that is cleared before each read, so a short record reads as zeros
// beyond its end.
int ReadHandheldBase(const ConduitLink& link, uint32_t& handheldStamp, char* dateText);

// BaseStamp: the big-endian base stamp at offset 8 of a record 0 of at least
// 12 bytes (the conduit's desktop-side comparison uses it too).
inline uint32_t BaseStamp(const uint8_t* record0) {
  return ReadBigEndian32(record0 + kBaseStampOffset);
}

}  // namespace conduit
