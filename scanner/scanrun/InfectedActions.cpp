// The actions on infected objects.
#include "scanner/scanrun/InfectedActions.h"

#include <cstdio>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "scanner/scanrun/ScanEvents.h"
#include "scanner/strings/ScannerStrings.h"

namespace scanner {
namespace {

std::u16string Hex(platform::CEOID ceoid) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(ceoid));
  return platform::Utf8ToUtf16(text);
}

bool IsNameCharacter(char16_t c) {
  if (c < 0x20) return false;
  switch (c) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
      return false;
    default:
      return true;
  }
}

// ChosenActions: the configured copy and delete, replaced by the detection
// dialog's boxes when the user is asked and answers OK.
void ChooseActions(Scanner& scanner, std::u16string_view objectLabel,
                   std::u16string_view objectText, const VirusRecord& record, bool& copy,
                   bool& del) {
  copy = (scanner.flags & kCopyToInfected) != 0;
  del = (scanner.flags & kDeleteInfected) != 0;
  if (!(scanner.flags & kAskUser) || !scanner.detectionDialog) return;
  bool boxCopy = copy;
  bool boxDelete = del;
  if (scanner.detectionDialog->Show(objectLabel, objectText, ScannerText(kMsgVirusLabel),
                                    record.nameText(), record.descriptionText(), boxCopy,
                                    boxDelete)) {
    copy = boxCopy;
    del = boxDelete;
  }
}

void CountFailure(Scanner& scanner, uint32_t code, std::u16string_view object, uint32_t message) {
  ++scanner.errors;
  SendProgress(scanner, kProgressDatabaseError, code);
  AddResultRow(scanner, object, ScannerText(message));
}

// WriteRecordCopy: writes the whole buffer from the start of the file and
// cuts what an older, longer copy left behind it.
uint32_t WriteRecordCopy(std::u16string_view target, const uint8_t* buffer, uint32_t size) {
  platform::File file;
  uint32_t code = file.Open(platform::ResolveDevicePath(target), platform::GENERIC_WRITE, 0,
                            platform::Disposition::OpenAlways);
  if (code != 0) return code;
  size_t written = 0;
  if ((code = file.Write({buffer, size}, written)) != 0) return code;
  if (written != size) return platform::ERROR_WRITE_FAULT;
  return file.SetEnd();
}

}  // namespace

std::u16string RecordCopyPath(std::u16string_view infectedPath, std::u16string_view databaseName,
                              platform::CEOID ceoid) {
  std::u16string path(infectedPath);
  for (char16_t c : databaseName) path += IsNameCharacter(c) ? c : u'_';
  return path + u"_" + Hex(ceoid) + u"h.bin";
}

std::u16string RecordObjectText(std::u16string_view databaseName, platform::CEOID ceoid) {
  return std::u16string(databaseName) + u",\nCEOID = " + Hex(ceoid) + u"h";
}

void HandleInfectedFile(Scanner& scanner, std::u16string_view path, std::u16string_view fileName,
                        const VirusRecord& record) {
  bool copy = false;
  bool del = false;
  ChooseActions(scanner, ScannerText(kMsgFileLabel), path, record, copy, del);
  if (copy) {
    const std::u16string target =
        std::u16string(platform::FieldText(scanner.infectedPath)) + std::u16string(fileName);
    const uint32_t code =
        platform::CopyFile(platform::ResolveDevicePath(path), platform::ResolveDevicePath(target),
                           platform::IfExists::Replace);
    if (code == 0)
      ++scanner.moved;
    else
      CountFailure(scanner, code, path, kMsgCouldNotCopy);
  }
  if (del) {
    const uint32_t code = platform::DeleteFile(platform::ResolveDevicePath(path));
    if (code == 0)
      ++scanner.deleted;
    else
      CountFailure(scanner, code, path, kMsgCouldNotDeleteFile);
  }
  SendProgress(scanner, kProgressFileHandled, 0);
}

void HandleInfectedRecord(Scanner& scanner, platform::Database& database,
                          std::u16string_view databaseName, platform::CEOID ceoid,
                          const VirusRecord& record, const uint8_t* buffer, uint32_t size) {
  bool copy = false;
  bool del = false;
  ChooseActions(scanner, ScannerText(kMsgRecordLabel), RecordObjectText(databaseName, ceoid),
                record, copy, del);
  if (copy) {
    const uint32_t code = WriteRecordCopy(
        RecordCopyPath(platform::FieldText(scanner.infectedPath), databaseName, ceoid), buffer,
        size);
    if (code == 0)
      ++scanner.moved;
    else
      CountFailure(scanner, code, u"", kMsgCouldNotCopy);
  }
  if (del) {
    const uint32_t code = database.DeleteRecord(ceoid);
    if (code == 0)
      ++scanner.deleted;
    else
      CountFailure(scanner, code, u"", kMsgCouldNotDeleteRecord);
  }
  SendProgress(scanner, kProgressRecordHandled, 0);
}

}  // namespace scanner
