// The report file.
#include "scanner/scanrun/Report.h"

#include <string>

#include "platform/DevicePath.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"

namespace scanner {
namespace {

// Narrow: a row or message text as the report holds it, cut to the
// characters its fixed buffer keeps.
std::string Narrow(std::u16string_view text) {
  char16_t field[kReportTextChars];
  platform::CopyToField(field, kReportTextChars, text);
  return platform::Utf16ToUtf8(platform::FieldText(field));
}

void Count(std::string& out, uint32_t message, int32_t value, const char* end = "\n") {
  out += Narrow(ScannerText(message)) + " " + std::to_string(value) + end;
}

}  // namespace

int WriteReport(Scanner& scanner) {
  if (!scanner.resultList) return 0;
  if (!(scanner.flags & kCreateReport)) return 1;

  const bool append = (scanner.flags & kAppendReport) != 0;
  platform::File file;
  uint32_t code =
      file.Open(platform::ResolveDevicePath(platform::FieldText(scanner.reportPath)),
                platform::GENERIC_WRITE, platform::FILE_SHARE_READ,
                append ? platform::Disposition::OpenAlways : platform::Disposition::CreateAlways);
  if (code == 0 && append) code = file.Seek(0, platform::SeekOrigin::End);
  if (code != 0) {
    if (scanner.prompt)
      scanner.prompt->Show(ScannerText(kMsgCannotOpenReport), ScannerText(kMsgCaption),
                           platform::MB_OK | platform::MB_ICONERROR);
    return 0;
  }

  std::string out;
  for (const ResultRow& row : scanner.resultList->Rows()) {
    if (row.itemValue != 1) continue;
    out += "\n" + Narrow(row.object) + " : " + Narrow(row.result) + "\n";
  }
  out += Narrow(ScannerText(kMsgScanned)) + "\n";
  Count(out, kMsgFiles, scanner.files);
  Count(out, kMsgFolders, scanner.folders);
  Count(out, kMsgCards, scanner.cards);
  Count(out, kMsgDBases, scanner.dbases, "\n\n");
  Count(out, kMsgVirusesFound, scanner.virusesFound);
  Count(out, kMsgDeleted, scanner.deleted);
  Count(out, kMsgMoved, scanner.moved);
  Count(out, kMsgErrors, scanner.errors);
  out += "***************************";

  size_t written = 0;
  file.Write({reinterpret_cast<const uint8_t*>(out.data()), out.size()}, written);
  file.Close();
  return 1;
}

}  // namespace scanner
