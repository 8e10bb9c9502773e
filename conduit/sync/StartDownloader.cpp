// Starting the downloader.
#include "conduit/sync/StartDownloader.h"

#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/Process.h"
#include "platform/Text.h"

namespace conduit {

uint32_t StartDownloader(const palmsettings::PalmSettings& record) {
  const std::string_view folder = platform::FieldText(record.ZEPPDir);
  std::string program(folder);
  program += '\\';
  program += palmsettings::kUpdateProgram;
  // A path cut to its field would name another program.
  if (program.size() >= palmsettings::kTextFieldSize) {
    platform::SetLastError(platform::ERROR_FILENAME_EXCED_RANGE);
    return platform::ERROR_FILENAME_EXCED_RANGE;
  }
  const platform::FilePath programPath = platform::ResolveDesktopPath(program);
  if (!programPath.ok()) {
    platform::SetLastError(programPath.error);
    return programPath.error;
  }
  const platform::FilePath folderPath = platform::ResolveDesktopPath(folder);
  if (!folderPath.ok()) {
    platform::SetLastError(folderPath.error);
    return folderPath.error;
  }
  return platform::StartProcess(programPath.host, folderPath.host);
}

std::string StartFailedText(uint32_t code) {
  return kStartFailedPrefix + std::to_string(code);
}

}  // namespace conduit
