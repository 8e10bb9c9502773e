// Reading the handheld's virus base: counting known viruses and taking the base's stamp and date.
#include "conduit/pdb/HandheldBase.h"

#include <cstdio>
#include <cstring>

#include "conduit/pdb/PdbLayout.h"
#include "conduit/pdb/PdbRecord.h"

namespace conduit {

namespace {

constexpr char kBaseName[] = "ZEPDB";
constexpr uint8_t kOpenMode = 0xF0;
constexpr uint8_t kVirusRecordMark = 1;

// ReadRecord: record `index` into the cleared buffer; the sync manager's
// result.
int32_t ReadRecord(const sync20::Sync20Library& sync, SyncDbHandle db, uint16_t index,
                   uint8_t (&buffer)[kRecordBufferSize]) {
  std::memset(buffer, 0, sizeof buffer);
  SyncRecord descriptor{};
  descriptor.db = db;
  descriptor.index = index;
  descriptor.bufferSize = static_cast<uint16_t>(kRecordBufferSize);
  descriptor.buffer = buffer;
  return sync.ReadRecordByIndex(&descriptor);
}

// HandheldWord: the 16-bit number at `p` as the handheld stores it, in host
// order through the sync manager.
int16_t HandheldWord(const sync20::Sync20Library& sync, const uint8_t* p) {
  uint16_t stored;
  std::memcpy(&stored, p, sizeof stored);
  return static_cast<int16_t>(sync.HHToHostWord(stored));
}

}  // namespace

int ReadHandheldBase(const ConduitLink& link, uint32_t& handheldStamp, char* dateText) {
  const sync20::Sync20Library& sync = *link.sync;
  SyncDbHandle db = 0;
  if (sync.OpenDB(kBaseName, 0, &db, kOpenMode) != 0) return -1;
  uint16_t count = 0;
  if (sync.GetDBRecordCount(db, &count) != 0) count = 0;

  uint8_t buffer[kRecordBufferSize];
  int viruses = 0;
  for (uint16_t i = 1; i < count; ++i)
    if (ReadRecord(sync, db, i, buffer) == 0 && buffer[0] == kVirusRecordMark) ++viruses;

  if (dateText != nullptr) dateText[0] = '\0';
  if (count > 0 && ReadRecord(sync, db, 0, buffer) == 0) {
    uint32_t stored;
    std::memcpy(&stored, buffer + kBaseStampOffset, sizeof stored);
    handheldStamp = sync.HHToHostDWord(stored);
    if (dateText != nullptr)
      std::snprintf(dateText, kDateTextSize, "%d / %d / %d",
                    HandheldWord(sync, buffer + kBaseDateFirstOffset),
                    HandheldWord(sync, buffer + kBaseDateSecondOffset),
                    HandheldWord(sync, buffer + kBaseDateThirdOffset));
  } else {
    // A base without its record 0 has no stamp: any desktop base is newer.
    handheldStamp = 0;
  }
  sync.CloseDB(db);
  return viruses;
}

}  // namespace conduit
