// Writing a database file's blocks and records into the handheld database of the same name.
#include "conduit/pdb/InstallDatabase.h"

#include <cstring>

#include "conduit/pdb/PdbImage.h"
#include "platform/Prompt.h"

namespace conduit {

namespace {

constexpr uint8_t kOpenMode = 0xF0;

// WriteBlock: one app-info or sort-info block through `write`.
int32_t WriteBlock(SyncWriteDBAppInfoBlockFn write, SyncDbHandle db, std::vector<uint8_t>& bytes,
                   uint16_t length) {
  SyncBlock block{};
  block.size = length;
  block.data = bytes.data();
  return write(db, &block);
}

// WriteContents: the emptying, the blocks and the records of an open
// database; 0, or the first failing call's result (the rest not written).
int32_t WriteContents(const sync20::Sync20Library& sync, SyncDbHandle db, PdbImage& image,
                      palmsettings::ProgressWindow* progress) {
  // The sync manager's own result for emptying is not examined: a database
  // that cannot be emptied still gets every record of the file.
  sync.PurgeAllRecs(db);
  sync.ResetRecordIndex(db);
  if (image.hasAppInfo) {
    if (const int32_t rc =
            WriteBlock(sync.WriteDBAppInfoBlock, db, image.appInfo, image.appInfoLength);
        rc != 0)
      return rc;
  }
  if (image.hasSortInfo) {
    if (const int32_t rc =
            WriteBlock(sync.WriteDBSortInfoBlock, db, image.sortInfo, image.sortInfoLength);
        rc != 0)
      return rc;
  }
  if (progress != nullptr) {
    progress->SetRange(0, static_cast<int>(image.records.size()));
    progress->SetStep(1);
  }
  uint8_t buffer[kRecordBufferSize];
  for (uint32_t list = 0; list < image.listCount; ++list) {
    for (uint32_t n = 0;; ++n) {
      const PdbRecord* record = FindRecord(image, list, n);
      if (record == nullptr) break;
      std::memcpy(buffer, record->data, record->length);
      SyncRecord descriptor{};
      descriptor.db = db;
      descriptor.recordId = 0;
      descriptor.attributes = record->attributes;
      descriptor.size = record->length;
      descriptor.buffer = buffer;
      if (const int32_t rc = sync.WriteRec(&descriptor); rc != 0) return rc;
      if (progress != nullptr) progress->StepIt();
    }
  }
  return 0;
}

}  // namespace

int InstallDatabase(const ConduitLink& link, const char* path, const char* databaseName,
                    palmsettings::ProgressWindow* progress) {
  PdbImage image;
  if (path == nullptr || ReadPdbImage(path, image) != 0) {
    AddLogLine(link, kLogCannotOpenPdb);
    if (link.prompt != nullptr) link.prompt->Show(path ? path : "", "Msg", platform::MB_OK);
    return -1;
  }
  const sync20::Sync20Library& sync = *link.sync;
  SyncDbHandle db = 0;
  if (databaseName == nullptr || sync.OpenDB(databaseName, 0, &db, kOpenMode) != 0) {
    AddLogLine(link, kLogCannotOpenHandheldDb);
    return -2;
  }
  const int32_t written = WriteContents(sync, db, image, progress);
  const int32_t closed = sync.CloseDB(db);
  return written == 0 && closed == 0 ? 0 : -2;
}

}  // namespace conduit
