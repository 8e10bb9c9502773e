// What is done with an infected file or record: ask, copy to the Infected folder, delete.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ObjectStore.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// HandleInfectedFile: runs the configured actions on an infected file
// (handheld `path`, its `fileName`): the detection dialog first with flag
// 0x2000 (its OK answer replaces copy and delete), then the copy to
// infectedPath + fileName (replacing a file of that name), then the delete.
// Moved and Deleted count successes; a failure counts in Errors, sends the
// error message with the platform's code and adds a row. Ends with the
// message (file, 2).
void HandleInfectedFile(Scanner& scanner, std::u16string_view path, std::u16string_view fileName,
                        const VirusRecord& record);

// HandleInfectedRecord: as HandleInfectedFile for a record of the open
// `database`: the copy writes the record's whole buffer (`size` bytes,
// property headers included) to RecordCopyPath; the delete removes the
// record by its identifier. Ends with the message (database, 2).
void HandleInfectedRecord(Scanner& scanner, platform::Database& database,
                          std::u16string_view databaseName, platform::CEOID ceoid,
                          const VirusRecord& record, const uint8_t* buffer, uint32_t size);

// RecordCopyPath: "%s%s_%Xh.bin" with the Infected folder, the database name
// and the record identifier. A character of the name that cannot stand in a
// file name (a separator, a wildcard, ':', '"', '<', '>', '|', a control
// character) is written as '_', so the copy always lands in the folder.
std::u16string RecordCopyPath(std::u16string_view infectedPath, std::u16string_view databaseName,
                              platform::CEOID ceoid);

// RecordObjectText: the detection dialog's object text of a record,
// "%s,\nCEOID = %Xh".
std::u16string RecordObjectText(std::u16string_view databaseName, platform::CEOID ceoid);

}  // namespace scanner
