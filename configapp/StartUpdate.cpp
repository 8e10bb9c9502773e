// Starting the downloader and reporting a start that failed.
#include "configapp/StartUpdate.h"

#include "configapp/SetdeskStrings.h"
#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/Process.h"
#include "platform/Text.h"

namespace configapp {

std::optional<std::string> UpdateProgramPath(const palmsettings::PalmSettings& record) {
  std::string path(platform::FieldText(record.ZEPPDir));
  path += '\\';
  path += palmsettings::kUpdateProgram;
  if (path.size() >= palmsettings::kTextFieldSize) return std::nullopt;
  return path;
}

uint32_t StartUpdate(const palmsettings::PalmSettings& record) {
  const std::optional<std::string> program = UpdateProgramPath(record);
  if (!program) {
    platform::SetLastError(platform::ERROR_FILENAME_EXCED_RANGE);
    return platform::ERROR_FILENAME_EXCED_RANGE;
  }
  const platform::FilePath programPath = platform::ResolveDesktopPath(*program);
  if (!programPath.ok()) {
    platform::SetLastError(programPath.error);
    return programPath.error;
  }
  const platform::FilePath folder =
      platform::ResolveDesktopPath(platform::FieldText(record.ZEPPDir));
  if (!folder.ok()) {
    platform::SetLastError(folder.error);
    return folder.error;
  }
  return platform::StartProcess(programPath.host, folder.host);
}

void ReportStartFailure(platform::Prompt& prompt, uint32_t code) {
  prompt.Show(std::string(kStartErrorPrefix) + std::to_string(code), kStartErrorCaption,
              platform::MB_OK | platform::MB_ICONERROR);
}

}  // namespace configapp
