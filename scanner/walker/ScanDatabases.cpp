// Object-store databases as scan objects.
#include "scanner/walker/ScanDatabases.h"

#include <algorithm>
#include <vector>

#include "platform/Errors.h"
#include "platform/ObjectStore.h"
#include "scanner/scanrun/InfectedActions.h"
#include "scanner/scanrun/ScanEvents.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/virusbase/FindVirus.h"

namespace scanner {

int ScanDatabases(Scanner& scanner) {
  platform::DatabaseFind find;
  if (const uint32_t code = find.Open(0); code != 0) {
    SendProgress(scanner, kProgressDatabaseError, code);
    return -1;
  }
  scanner.dbases = 0;
  for (platform::CEOID oid = find.Next(); oid != 0; oid = find.Next()) {
    platform::DatabaseInfo info;
    platform::GetDatabaseInfo(oid, info);
    if (!WaitForGo(scanner)) return kScanStopped;

    platform::Database database;
    if (const uint32_t code = database.Open(oid, platform::CEDB_AUTOINCREMENT); code != 0) {
      SendProgress(scanner, kProgressDatabaseError, code);
      ++scanner.dbases;
      continue;
    }
    SetStatusText(scanner, info.name);
    std::vector<uint8_t> buffer;
    for (;;) {
      uint16_t properties = 0;
      uint32_t size = 0;
      const platform::CEOID record = database.ReadRecord(buffer, properties, size);
      if (record == 0) break;
      // The object is the properties' variable data after the headers; a
      // buffer shorter than its headers has none.
      const uint32_t headers = uint32_t{properties} * sizeof(platform::PropertyHeader);
      const uint32_t used = std::min<uint32_t>(size, static_cast<uint32_t>(buffer.size()));
      const VirusRecord* found = nullptr;
      if (scanner.base && used > headers)
        found = FindVirus(*scanner.base, buffer.data() + headers, used - headers);
      if (found) {
        ++scanner.virusesFound;
        HandleInfectedRecord(scanner, database, info.name, record, *found, buffer.data(), used);
        AddResultRow(scanner, info.name,
                     ScannerText(kMsgInfectedWith) + std::u16string(found->nameText()));
      }
    }
    database.Close();
    ++scanner.dbases;
    SendProgress(scanner, kProgressDatabase, 0);
  }
  find.Close();
  return 0;
}

}  // namespace scanner
